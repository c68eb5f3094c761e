#include "runs/InputFields.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "model/InputFile.h"
#include "model/TVeltraError.h"
#include "runs/SummaryTable.h"

namespace veltra {

namespace {

// A field of the input file: a real, a seasonal real or a whole number.
struct TField {
    const char* Name;
    double TInputRecord::*Scalar = nullptr;
    TSeasonal TInputRecord::*Seasonal = nullptr;
    std::uint8_t TInputRecord::*Whole = nullptr;
    bool Drains = false; // the file holds it only with Kd = 1
};

// The keys that decide the file's layout (Kd, Ns) and the year-by-year key Ky are
// not named: a run would no longer be the same kind of run.
const TField Fields[] = {
    {"Area", &TInputRecord::Area},
    {"Kf", nullptr, nullptr, &TInputRecord::Kf},
    {"Kr", nullptr, nullptr, &TInputRecord::Kr},
    {"Krf", nullptr, nullptr, &TInputRecord::Krf},
    {"Kp", nullptr, nullptr, &TInputRecord::Kp},
    {"Ny", nullptr, nullptr, &TInputRecord::Ny},
    {"CAmax", &TInputRecord::CAmax},
    {"CBmax", &TInputRecord::CBmax},
    {"Ts", nullptr, &TInputRecord::Ts},
    {"A", nullptr, &TInputRecord::A},
    {"B", nullptr, &TInputRecord::B},
    {"RcA", nullptr, &TInputRecord::RcA},
    {"RcB", nullptr, &TInputRecord::RcB},
    {"Lc", nullptr, &TInputRecord::Lc},
    {"Io", nullptr, &TInputRecord::Io},
    {"IaA", nullptr, &TInputRecord::IaA},
    {"IaB", nullptr, &TInputRecord::IaB},
    {"Pp", nullptr, &TInputRecord::Pp},
    {"EpA", nullptr, &TInputRecord::EpA},
    {"EpB", nullptr, &TInputRecord::EpB},
    {"EpU", nullptr, &TInputRecord::EpU},
    {"FsA", nullptr, &TInputRecord::FsA},
    {"FsB", nullptr, &TInputRecord::FsB},
    {"FsU", nullptr, &TInputRecord::FsU},
    {"Gi", nullptr, &TInputRecord::Gi},
    {"Go", nullptr, &TInputRecord::Go},
    {"SiU", nullptr, &TInputRecord::SiU},
    {"SoU", nullptr, &TInputRecord::SoU},
    {"SoA", nullptr, &TInputRecord::SoA},
    {"SoB", nullptr, &TInputRecord::SoB},
    {"Gw", nullptr, &TInputRecord::Gw},
    {"FAw", nullptr, &TInputRecord::FAw},
    {"FBw", nullptr, &TInputRecord::FBw},
    {"Dr", &TInputRecord::Dr},
    {"Ptr", &TInputRecord::Ptr},
    {"Dx", &TInputRecord::Dx},
    {"Ptx", &TInputRecord::Ptx},
    {"Dq", &TInputRecord::Dq},
    {"Ptq", &TInputRecord::Ptq},
    {"Per", &TInputRecord::Per},
    {"Flr", &TInputRecord::Flr},
    {"Pex", &TInputRecord::Pex},
    {"Flx", &TInputRecord::Flx},
    {"Peq", &TInputRecord::Peq},
    {"Flq", &TInputRecord::Flq},
    {"Cx0", &TInputRecord::Cx0},
    {"Cq0", &TInputRecord::Cq0},
    {"Cic", &TInputRecord::Cic},
    {"Ch", &TInputRecord::Ch},
    {"Cp", &TInputRecord::Cp},
    {"CA0", &TInputRecord::CA0},
    {"CB0", &TInputRecord::CB0},
    {"CU0", &TInputRecord::CU0},
    {"Dw0", &TInputRecord::Dw0},
    {"Dc", &TInputRecord::Dc},
    {"Dd", &TInputRecord::Dd, nullptr, nullptr, true},
    {"QH1", &TInputRecord::QH1, nullptr, nullptr, true},
    {"QH2", &TInputRecord::QH2, nullptr, nullptr, true},
    {"DAu", nullptr, &TInputRecord::DAu, nullptr, true},
    {"DBu", nullptr, &TInputRecord::DBu, nullptr, true},
    {"CxA0", &TInputRecord::CxA0, nullptr, nullptr, true},
    {"CxB0", &TInputRecord::CxB0, nullptr, nullptr, true},
    {"Frd", nullptr, &TInputRecord::Frd, nullptr, true},
};

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
    if (f.Scalar)
        return rec.*f.Scalar;
    if (f.Seasonal)
        return (rec.*f.Seasonal)[season];
    return rec.*f.Whole;
}

void Put(const TField& f, TInputRecord& rec, int season, double v)
{
    if (f.Scalar)
        rec.*f.Scalar = v;
    else if (f.Seasonal)
        (rec.*f.Seasonal)[season] = v;
    else
        rec.*f.Whole = static_cast<std::uint8_t>(v);
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
    for (const TField& f : Fields) {
        if (name == f.Name)
            field = &f;
        else if (Lower(name) == Lower(f.Name))
            nearly = &f;
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
    return {static_cast<std::size_t>(field - Fields), season};
}

const char* InputFieldName(const TFieldRef& field)
{
    return Fields[field.Field].Name;
}

bool IsWholeField(const TFieldRef& field)
{
    return Fields[field.Field].Whole != nullptr;
}

bool Overlap(const TFieldRef& a, const TFieldRef& b)
{
    return a.Field == b.Field && (a.Season == 0 || b.Season == 0 || a.Season == b.Season);
}

double FieldValue(const TInputRecord& rec, const TFieldRef& field)
{
    return Get(Fields[field.Field], rec, field.Season > 0 ? field.Season : 1);
}

void SetFieldValue(TInputRecord& rec, const TFieldRef& field, double v)
{
    const TField& f = Fields[field.Field];
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
    for (const TField& f : Fields) {
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
    for (const TField& f : Fields)
        names += (names.empty() ? "" : ", ") + std::string(f.Name) + (f.Seasonal ? "[s]" : "");
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
