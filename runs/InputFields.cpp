#include "runs/InputFields.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "model/InputFields.h"
#include "model/InputFile.h"
#include "model/TVeltraError.h"
#include "runs/SummaryTable.h"

namespace veltra {

namespace {

using TField = TInputField;

// The fields the command line names: not the keys that decide the file's layout (Kd,
// Ns) nor the year-by-year key Ky, whose runs would no longer be the same kind of run.
const std::vector<const TField*>& Fields()
{
    static const std::vector<const TField*> fields = [] {
        std::vector<const TField*> out;
        for (const TField& f : InputFields())
            if (!f.Layout)
                out.push_back(&f);
        return out;
    }();
    return fields;
}

[[noreturn]] void Refuse(const std::string& prefix, const std::string& why)
{
    throw TVeltraError(TErrorKind::Usage, prefix + ": " + why);
}

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return s;
}

double Get(const TField& f, const TInputRecord& rec, int season)
{
    return FieldValue(f, rec, season);
}

void Put(const TField& f, TInputRecord& rec, int season, double v)
{
    SetFieldValue(f, rec, season, v);
}

int SeasonsOf(const TInputRecord& rec)
{
    return std::clamp<int>(rec.Ns, 1, 4);
}

// The season of NAME[s] (0 for NAME); `name` loses the brackets.
int SeasonOf(const std::string& prefix, std::string& name)
{
    int season = 0;
    if (const std::size_t bracket = name.find('['); bracket != std::string::npos) {
        const std::string inside = name.substr(bracket + 1);
        if (inside.size() != 2 || inside[1] != ']' || inside[0] < '1' || inside[0] > '4')
            Refuse(prefix, "a season is written NAME[s] with s from 1 to 4.");
        season = inside[0] - '0';
        name.resize(bracket);
    }
    return season;
}

} // namespace

TFieldRef ResolveInputField(const std::string& given, const TInputRecord& base, const std::string& source,
                            const std::string& prefix)
{
    std::string name = given;
    const int season = SeasonOf(prefix, name);
    const TField* field = nullptr;
    const TField* nearly = nullptr;
    for (const TField* f : Fields()) {
        if (name == f->Name)
            field = f;
        else if (Lower(name) == Lower(f->Name))
            nearly = f;
    }
    if (!field)
        Refuse(prefix, "unknown field \"" + name + "\"" +
                           (nearly ? " (did you mean " + std::string(nearly->Name) + "?)" : std::string()) +
                           ". The fields: " + InputFieldNames() + ".");
    if (season > 0 && !field->Seasonal)
        Refuse(prefix, name + " is not a seasonal field.");
    if (season > SeasonsOf(base))
        Refuse(prefix, source + " has " + std::to_string(SeasonsOf(base)) + " season(s).");
    if (field->Drains && base.Kd != 1)
        Refuse(prefix, source + " has no drains (Kd = 0), so its input holds no " + name + ".");
    return {static_cast<std::size_t>(std::find(Fields().begin(), Fields().end(), field) - Fields().begin()), season};
}

const char* InputFieldName(const TFieldRef& field)
{
    return Fields()[field.Field]->Name;
}

bool IsWholeField(const TFieldRef& field)
{
    return Fields()[field.Field]->Whole != nullptr;
}

bool Overlap(const TFieldRef& a, const TFieldRef& b)
{
    return a.Field == b.Field && (a.Season == 0 || b.Season == 0 || a.Season == b.Season);
}

double FieldValue(const TInputRecord& rec, const TFieldRef& field)
{
    return Get(*Fields()[field.Field], rec, field.Season > 0 ? field.Season : 1);
}

void SetFieldValue(TInputRecord& rec, const TFieldRef& field, double v)
{
    const TField& f = *Fields()[field.Field];
    if (field.Season > 0)
        Put(f, rec, field.Season, v);
    else
        for (int s = 1; s <= (f.Seasonal ? SeasonsOf(rec) : 1); ++s)
            Put(f, rec, s, v);
}

TInputRecord AsTheFileHoldsIt(const TInputRecord& rec)
{
    TInputRecord back = rec;
    ReadInputText(InputFileText(rec), "(input text)", back);
    return back;
}

bool SameValue(double a, double b)
{
    return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(a));
}

std::vector<std::string> KeptOtherwiseNotes(const TInputRecord& base)
{
    std::vector<std::string> notes;
    const TInputRecord kept = AsTheFileHoldsIt(base);
    for (const TField* field : Fields()) {
        const TField& f = *field;
        if (f.Drains && base.Kd != 1)
            continue;
        for (int s = 1; s <= (f.Seasonal ? SeasonsOf(base) : 1); ++s) {
            if (Get(f, base, s) == Get(f, kept, s))
                continue;
            std::string note = f.Name;
            if (f.Seasonal)
                note.append("[").append(std::to_string(s)).append("]");
            note.append(" = ").append(FullNumber(Get(f, base, s)));
            note.append(" is kept as ").append(FullNumber(Get(f, kept, s))).append(".");
            notes.push_back(std::move(note));
        }
    }
    return notes;
}

std::string InputFieldNames()
{
    std::string names;
    for (const TField* f : Fields())
        names += (names.empty() ? "" : ", ") + std::string(f->Name) + (f->Seasonal ? "[s]" : "");
    return names;
}

bool ParseCommandNumber(const std::string& text, double& v)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+')
        ++begin;
    const auto [ptr, ec] = std::from_chars(begin, end, v, std::chars_format::general);
    return begin != end && ec == std::errc() && ptr == end && std::isfinite(v);
}

} // namespace veltra
