#include "runs/Observations.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "model/SafeFile.h"
#include "model/TVeltraError.h"
#include "runs/InputFields.h"

namespace veltra {

namespace {

std::string Trimmed(const std::string& s)
{
    const std::size_t a = s.find_first_not_of(" \t\r");
    return a == std::string::npos ? std::string() : s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields;
    for (std::size_t at = 0;;) {
        const std::size_t comma = line.find(',', at);
        fields.push_back(Trimmed(line.substr(at, comma == std::string::npos ? std::string::npos : comma - at)));
        if (comma == std::string::npos)
            return fields;
        at = comma + 1;
    }
}

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

bool ParseWhole(const std::string& text, int& v)
{
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    return !text.empty() && ec == std::errc() && ptr == text.data() + text.size();
}

std::string SymbolList()
{
    std::string list;
    for (std::string_view name : RecordSymbolNames)
        list.append(list.empty() ? "" : ", ").append(name);
    return list;
}

class TReader {
public:
    TReader(const std::string& source, const TInputRecord& rec) : source_(source), rec_(rec) {}

    [[noreturn]] void Refuse(int line, const std::string& field, const std::string& why) const
    {
        std::string where = source_ + ", line " + std::to_string(line);
        if (!field.empty())
            where += ", field \"" + field + "\"";
        throw TVeltraError(TErrorKind::File, where + ": " + why);
    }

    void Header(int line, const std::vector<std::string>& fields)
    {
        std::vector<std::string> names;
        for (const std::string& f : fields)
            names.push_back(Lower(f));
        const std::vector<std::string> plain{"year", "season", "symbol", "value"};
        std::vector<std::string> weighted = plain;
        weighted.push_back("weight");
        if (names != plain && names != weighted)
            Refuse(line, "", "the header must be \"year,season,symbol,value\" or \"year,season,symbol,value,weight\".");
        columns_ = names.size();
    }

    // The year or season `text` names: a whole number from 1 to `last` (the input's `key`).
    int Counted(int line, const std::string& text, const std::string& what, int last, const char* key) const
    {
        int v = 0;
        if (!ParseWhole(text, v))
            Refuse(line, what, "\"" + text + "\" is not a whole number.");
        if (v < 1 || v > last)
            Refuse(line, what,
                   std::to_string(v) + " is not one of the run's " + what + "s 1 to " + std::to_string(last) + " (" +
                       key + ").");
        return v;
    }

    TObservation Row(int line, const std::vector<std::string>& f) const
    {
        if (f.size() != columns_)
            Refuse(line, "",
                   "a row has " + std::to_string(columns_) + " fields, this one " + std::to_string(f.size()) + ".");
        TObservation obs;
        obs.Line = line;
        obs.Year = Counted(line, f[0], "year", rec_.Ny, "Ny");
        obs.Season = Counted(line, f[1], "season", rec_.Ns, "Ns");
        const std::optional<TRecordSymbol> symbol = RecordSymbolNamed(f[2]);
        if (!symbol)
            Refuse(line, "symbol", "\"" + f[2] + "\" is not a symbol of a season record (" + SymbolList() + ").");
        obs.Symbol = *symbol;
        if (!ParseCommandNumber(f[3], obs.Value))
            Refuse(line, "value", "\"" + f[3] + "\" is not a number (\".\" is the decimal separator).");
        if (columns_ == 5) {
            if (!ParseCommandNumber(f[4], obs.Weight))
                Refuse(line, "weight", "\"" + f[4] + "\" is not a number (\".\" is the decimal separator).");
            if (!(obs.Weight > 0))
                Refuse(line, "weight", "a weight must be above 0, not " + f[4] + ".");
        }
        return obs;
    }

    bool HasHeader() const { return columns_ != 0; }

private:
    const std::string& source_;
    const TInputRecord& rec_;
    std::size_t columns_ = 0;
};

} // namespace

std::vector<TObservation> ReadObservationText(const std::string& text, const std::string& source,
                                              const TInputRecord& rec)
{
    TReader reader(source, rec);
    std::vector<TObservation> observations;
    int number = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = Trimmed(text.substr(at, end - at));
        at = end + 1;
        ++number;
        if (line.empty() || line.front() == '#')
            continue;
        if (!reader.HasHeader())
            reader.Header(number, Fields(line));
        else
            observations.push_back(reader.Row(number, Fields(line)));
    }
    if (observations.empty())
        throw TVeltraError(TErrorKind::File, source + ", line " + std::to_string(std::max(number, 1)) +
                                                 ": the file holds no observations (after a header row "
                                                 "\"year,season,symbol,value[,weight]\", one observation a row).");
    return observations;
}

std::vector<TObservation> ReadObservationFile(const std::string& path, const TInputRecord& rec)
{
    return ReadObservationText(ReadWholeFile(path, ObservationFileLimit, "an observation file"), path, rec);
}

std::string ObservationPlace(const std::string& source, const TObservation& obs)
{
    return source + ", line " + std::to_string(obs.Line);
}

} // namespace veltra
