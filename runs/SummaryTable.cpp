#include "runs/SummaryTable.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <map>
#include <set>
#include <string_view>
#include <system_error>

#include "model/NumberText.h"
#include "model/SafeFile.h"
#include "model/TVeltraError.h"

namespace veltra {

namespace fs = std::filesystem;

namespace {

// A summary of 100,000 cases stays far below this.
constexpr std::size_t MaxSummaryBytes = 256u * 1024 * 1024;

std::string Cell(const std::optional<double>& v)
{
    return v ? FullNumber(*v) : std::string();
}

[[noreturn]] void Refuse(const std::string& text)
{
    throw TVeltraError(TErrorKind::File, text);
}

} // namespace

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string CsvLine(const std::vector<std::string>& fields)
{
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        line += CsvField(fields[i]);
    }
    return line + "\n";
}

void TPlanHash::Mix(std::string_view bytes)
{
    for (const char c : bytes) {
        hash_ ^= static_cast<unsigned char>(c);
        hash_ *= 0x100000001b3ULL;
    }
}

void TPlanHash::Add(std::string_view piece)
{
    const std::string length = std::to_string(piece.size()) + ":";
    Mix(length);
    Mix(piece);
}

std::string TPlanHash::Text() const
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string text(16, '0');
    unsigned long long h = hash_;
    for (std::size_t i = 16; i-- > 0; h >>= 4)
        text[i] = digits[h & 0xf];
    return text;
}

std::string FullNumber(double v)
{
    return ShortestText(v);
}

std::string SummaryHeader(const std::vector<std::string>& variedNames)
{
    std::vector<std::string> fields{"index", "name"};
    fields.insert(fields.end(), variedNames.begin(), variedNames.end());
    for (const char* f : {"status", "exit_status", "warnings", "years"})
        fields.emplace_back(f);
    for (std::string_view name : SummaryValueNames)
        fields.emplace_back(name);
    for (std::string_view name : SummaryValueNames)
        fields.push_back("mean_" + std::string(name));
    for (const char* f : {"message", "plan", "cases"})
        fields.emplace_back(f);
    return CsvLine(fields);
}

std::string SummaryLine(const TSummaryRow& row)
{
    const TCaseOutcome& o = row.Outcome;
    std::vector<std::string> fields{std::to_string(row.Index), row.Name};
    fields.insert(fields.end(), row.Varied.begin(), row.Varied.end());
    fields.emplace_back(CaseStatusText(o.Status));
    fields.push_back(std::to_string(CaseExitStatus(o.Status)));
    fields.push_back(o.Ran ? std::to_string(o.Warnings) : std::string());
    fields.push_back(o.Ran ? std::to_string(o.Years) : std::string());
    for (const auto& v : o.Last)
        fields.push_back(Cell(v));
    for (const auto& v : o.Means)
        fields.push_back(Cell(v));
    fields.push_back(o.Message);
    fields.push_back(row.Plan);
    fields.push_back(std::to_string(row.Cases));
    return CsvLine(fields);
}

std::vector<std::vector<std::string>> ReadCsvRecords(const std::string& text, const std::string& source)
{
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.push_back(std::move(field));
            field.clear();
        } else if (c == '\n') {
            if (!field.empty() && field.back() == '\r')
                field.pop_back();
            fields.push_back(std::move(field));
            field.clear();
            records.push_back(std::move(fields));
            fields.clear();
        } else {
            field += c;
        }
    }
    if (quoted)
        Refuse("The file \"" + source + "\" ends inside a quoted field.");
    if (!field.empty() || !fields.empty()) {
        fields.push_back(std::move(field));
        records.push_back(std::move(fields));
    }
    return records;
}

std::string SummaryFileName(int shard, int shards)
{
    if (shards <= 1)
        return "summary.csv";
    return "summary-" + std::to_string(shard) + "-of-" + std::to_string(shards) + ".csv";
}

bool ParseSummaryFileName(const std::string& name, int& shard, int& shards)
{
    static constexpr std::string_view prefix = "summary-", of = "-of-", suffix = ".csv";
    if (name.size() <= prefix.size() + of.size() + suffix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    const std::string_view middle(name.data() + prefix.size(), name.size() - prefix.size() - suffix.size());
    const std::size_t at = middle.find(of);
    if (at == std::string_view::npos)
        return false;
    const auto number = [](std::string_view digits, int& value) {
        if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
            return false;
        const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        return ec == std::errc() && ptr == digits.data() + digits.size();
    };
    return number(middle.substr(0, at), shard) && number(middle.substr(at + of.size()), shards) && shards >= 2 &&
           shard < shards;
}

namespace {

// The column `name` of a header, or npos.
std::size_t Column(const std::vector<std::string>& header, std::string_view name)
{
    const auto it = std::find(header.begin(), header.end(), name);
    return it == header.end() ? std::string::npos : static_cast<std::size_t>(it - header.begin());
}

bool ParseIndex(const std::string& text, long long& value)
{
    const auto [ptr, err] = std::from_chars(text.data(), text.data() + text.size(), value);
    return err == std::errc() && ptr == text.data() + text.size() && !text.empty();
}

// The shard summaries of one run in `folder`, by K, and their count N; refuses a
// folder that holds none, those of runs with different N and two files for one shard.
std::map<int, fs::path> FindShardSummaries(const std::string& folder, int& n)
{
    std::map<int, std::map<int, fs::path>> found; // N -> K -> file
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        int k = 0, shards = 0;
        if (!ParseSummaryFileName(it->path().filename().string(), k, shards))
            continue;
        const auto [at, added] = found[shards].emplace(k, it->path());
        if (!added) {
            std::string a = at->second.filename().string(), b = it->path().filename().string();
            if (b < a)
                std::swap(a, b);
            Refuse("\"" + a + "\" and \"" + b + "\" in \"" + folder + "\" are both shard " + std::to_string(k) +
                   " of " + std::to_string(shards) + "; keep one of them.");
        }
    }
    if (ec)
        Refuse("The folder \"" + folder + "\" could not be read.");
    if (found.empty())
        Refuse("No shard summaries (summary-K-of-N.csv) in \"" + folder + "\".");
    if (found.size() > 1) {
        std::string counts;
        for (const auto& [shards, files] : found)
            counts += (counts.empty() ? "" : ", ") + std::to_string(shards);
        Refuse("The shard summaries in \"" + folder + "\" come from different shard counts (" + counts +
               "); keep the files of one run.");
    }
    n = found.begin()->first;
    return found.begin()->second;
}

// At most `shown` of `items`, comma-separated, then how many more there are.
std::string ListSome(const std::vector<std::string>& items, std::size_t shown = 10)
{
    std::string text;
    for (std::size_t i = 0; i < items.size() && i < shown; ++i)
        text += (i > 0 ? ", " : "") + items[i];
    if (items.size() > shown)
        text += " and " + std::to_string(items.size() - shown) + " more";
    return text;
}

// The rows of the shard summaries gathered by case index, with the header, plan and case
// count they must all share.
struct TShardRows {
    std::vector<std::string> Header;
    std::string Plan, Cases, PlanSource;
    std::map<long long, std::vector<std::string>> Rows;

    // The first file's header must be a summary's; every other file's must equal it.
    void TakeHeader(const std::vector<std::string>& first, const std::string& source, const std::string& firstSource)
    {
        if (Header.empty()) {
            Header = first;
            if (Column(Header, "index") != 0 || Column(Header, "plan") == std::string::npos ||
                Column(Header, "cases") == std::string::npos)
                Refuse("The file \"" + source +
                       "\" is not a summary of this version (no index, plan or cases column).");
        } else if (first != Header) {
            Refuse("The file \"" + source + "\" has other columns than " + firstSource + ".");
        }
    }

    void AddRows(const std::vector<std::vector<std::string>>& records, const std::string& source, int k, int n)
    {
        const std::size_t planColumn = Column(Header, "plan"), casesColumn = Column(Header, "cases");
        for (std::size_t r = 1; r < records.size(); ++r) {
            const std::vector<std::string>& row = records[r];
            long long index = 0;
            if (row.size() != Header.size() || !ParseIndex(row.front(), index) || index < 1)
                Refuse("The file \"" + source + "\" has a row that is not a case (row " + std::to_string(r + 1) + ").");
            if (Plan.empty() && Cases.empty()) {
                Plan = row[planColumn];
                Cases = row[casesColumn];
                PlanSource = source;
            } else if (row[planColumn] != Plan || row[casesColumn] != Cases) {
                Refuse("The files \"" + PlanSource + "\" and \"" + source +
                       "\" come from different runs (plan or case count differ); keep the files of one run.");
            }
            if ((index - 1) % n != k)
                Refuse("The file \"" + source + "\" holds case " + row.front() + ", which belongs to shard " +
                       std::to_string((index - 1) % n) + ".");
            if (!Rows.emplace(index, row).second)
                Refuse("Case " + row.front() + " appears twice in the shard summaries.");
        }
    }

    // Every case of 1..count, and the files that should have held the missing ones.
    void RefuseMissing(const std::map<int, TShardText>& shards, int n) const
    {
        long long count = 0;
        if (Rows.empty())
            Refuse("The shard summaries hold no case.");
        if (!ParseIndex(Cases, count) || count < 1 || Rows.rbegin()->first > count)
            Refuse("The file \"" + PlanSource + "\" does not state its run's case count rightly (\"" + Cases + "\").");
        std::vector<std::string> missing, files;
        std::set<int> missingShards;
        auto row = Rows.begin();
        for (long long index = 1; index <= count; ++index) {
            if (row != Rows.end() && row->first == index) {
                ++row;
                continue;
            }
            missing.push_back(std::to_string(index));
            const int k = static_cast<int>((index - 1) % n);
            if (missingShards.insert(k).second) {
                const auto it = shards.find(k);
                files.push_back(it == shards.end() ? SummaryFileName(k, n) + " (not there)" : it->second.Source);
            }
        }
        if (!missing.empty())
            Refuse("The shard summaries miss " + std::to_string(missing.size()) + " of " + Cases +
                   " cases: " + ListSome(missing) + ". Their shards: " + ListSome(files) + ".");
    }
};

} // namespace

std::string SummaryPlan(const std::string& text)
{
    std::vector<std::vector<std::string>> records;
    try {
        records = ReadCsvRecords(text, "");
    } catch (const TVeltraError&) {
        return {};
    }
    if (records.size() < 2)
        return {};
    const std::size_t plan = Column(records[0], "plan");
    return plan < records[1].size() ? records[1][plan] : std::string();
}

std::string JoinShardTexts(const std::map<int, TShardText>& shards, int n, std::size_t* rowCount)
{
    TShardRows joined;
    for (const auto& [k, shard] : shards) {
        const std::string& source = shard.Source;
        if (!shard.Text.empty() && shard.Text.back() != '\n')
            Refuse("The file \"" + source + "\" is cut short (its last line has no end).");
        auto records = ReadCsvRecords(shard.Text, source);
        if (records.empty())
            Refuse("The file \"" + source + "\" has no header.");
        joined.TakeHeader(records.front(), source, shards.begin()->second.Source);
        joined.AddRows(records, source, k, n);
    }
    joined.RefuseMissing(shards, n);
    std::string text = CsvLine(joined.Header);
    for (const auto& [index, fields] : joined.Rows)
        text += CsvLine(fields);
    if (rowCount)
        *rowCount = joined.Rows.size();
    return text;
}

std::string JoinShardSummaries(const std::string& folder, int* shardCount, std::size_t* rowCount)
{
    int n = 0;
    std::map<int, TShardText> shards;
    for (const auto& [k, path] : FindShardSummaries(folder, n))
        shards[k] = {path.string(), ReadWholeFile(path.string(), MaxSummaryBytes, "a summary")};
    std::string text = JoinShardTexts(shards, n, rowCount);
    if (shardCount)
        *shardCount = n;
    return text;
}

} // namespace veltra
