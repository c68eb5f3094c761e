#include "runs/TSweep.h"

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

// The fields a sweep may vary: not the keys that decide the file's layout (Kd, Ns)
// nor the year-by-year key Ky, whose cases would no longer be the same kind of run.
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

[[noreturn]] void Refuse(const std::string& setting, const std::string& why)
{
    throw TVeltraError(TErrorKind::Usage, "--set " + setting + ": " + why);
}

bool ParseNumber(const std::string& text, double& v)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+')
        ++begin;
    const auto [ptr, ec] = std::from_chars(begin, end, v, std::chars_format::general);
    return begin != end && ec == std::errc() && ptr == end && std::isfinite(v);
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

// `rec` written as an input file and read back: the values the file keeps.
TInputRecord AsTheFileHoldsIt(const TInputRecord& rec)
{
    TInputRecord back = rec;
    ReadInputText(InputFileText(rec), "(input text)", back);
    return back;
}

bool Same(double a, double b)
{
    return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(a));
}

std::vector<double> ParseValues(const std::string& setting, const std::string& text)
{
    std::vector<std::string> parts;
    const char separator = text.find(':') != std::string::npos ? ':' : ',';
    for (std::size_t at = 0;;) {
        const std::size_t end = text.find(separator, at);
        parts.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (end == std::string::npos)
            break;
        at = end + 1;
    }
    std::vector<double> numbers;
    for (const std::string& p : parts) {
        double v = 0;
        if (!ParseNumber(p, v))
            Refuse(setting, "\"" + p + "\" is not a number (\".\" is the decimal separator).");
        numbers.push_back(v);
    }
    if (separator == ',')
        return numbers;
    if (numbers.size() != 3)
        Refuse(setting, "a range is FROM:TO:STEP.");
    const double from = numbers[0], to = numbers[1], step = numbers[2];
    if (step == 0)
        Refuse(setting, "STEP must not be 0.");
    const double steps = (to - from) / step;
    if (steps < -0.5)
        Refuse(setting, "the range is empty (" + std::string(step > 0 ? "TO is below FROM" : "TO is above FROM") +
                            " for a STEP of " + FullNumber(step) + ").");
    if (!(steps + 1 <= static_cast<double>(MaxSweepCases)))
        Refuse(setting, "more than " + std::to_string(MaxSweepCases) + " values.");
    const std::size_t n = static_cast<std::size_t>(std::floor(steps + 0.5)) + 1;
    std::vector<double> values;
    values.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        values.push_back(from + static_cast<double>(i) * step);
    return values;
}

// The season of a setting's name, NAME[s] (0 for NAME); `name` loses the brackets.
int SeasonOf(const std::string& setting, std::string& name)
{
    int season = 0;
    if (const std::size_t bracket = name.find('['); bracket != std::string::npos) {
        const std::string inside = name.substr(bracket + 1);
        if (inside.size() != 2 || inside[1] != ']' || inside[0] < '1' || inside[0] > '4')
            Refuse(setting, "a season is written NAME[s] with s from 1 to 4.");
        season = inside[0] - '0';
        name.resize(bracket);
    }
    return season;
}

// The field named `name`; refused when there is none, with the field that differs
// from it only in case as a hint.
const TField& FieldNamed(const std::string& setting, const std::string& name)
{
    const TField* field = nullptr;
    const TField* nearly = nullptr;
    for (const TField* f : Fields()) {
        if (name == f->Name)
            field = f;
        else if (Lower(name) == Lower(f->Name))
            nearly = f;
    }
    if (!field)
        Refuse(setting, "unknown field \"" + name + "\"" +
                            (nearly ? " (did you mean " + std::string(nearly->Name) + "?)" : std::string()) +
                            ". The fields: " + TSweep::FieldNames() + ".");
    return *field;
}

// Each case runs from its own input file: every value must be one the file holds,
// and becomes the value the file holds.
void KeepAsTheFileHolds(const std::string& setting, const std::string& name, const TField& field, int season,
                        int seasons, const TInputRecord& base, std::vector<double>& values)
{
    for (double& v : values) {
        if (field.Whole && (v != std::floor(v) || v < 0 || v > 255))
            Refuse(setting, name + " takes whole numbers, not " + FullNumber(v) + ".");
        TInputRecord probe = base;
        for (int s = season > 0 ? season : 1; s <= (season > 0 ? season : seasons); ++s)
            Put(field, probe, s, v);
        const double kept = Get(field, AsTheFileHoldsIt(probe), season > 0 ? season : 1);
        if (!Same(kept, v))
            Refuse(setting, name + " = " + FullNumber(v) +
                                " has more decimals than the input file keeps (it would hold " + FullNumber(kept) +
                                ").");
        v = kept;
    }
}

// The fields of `base` that its input file keeps otherwise, one line each.
std::vector<std::string> KeptOtherwiseNotes(const TInputRecord& base, int seasons)
{
    std::vector<std::string> notes;
    const TInputRecord kept = AsTheFileHoldsIt(base);
    for (const TField* field : Fields()) {
        const TField& f = *field;
        if (f.Drains && base.Kd != 1)
            continue;
        for (int s = 1; s <= (f.Seasonal ? seasons : 1); ++s) {
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

} // namespace

std::string SweepCaseName(const std::string& stem, std::size_t index, std::size_t count)
{
    std::string number = std::to_string(index);
    const std::size_t width = std::to_string(count).size();
    return stem + "_" + std::string(width - number.size(), '0') + number;
}

std::string TSweep::FieldNames()
{
    std::string names;
    for (const TField* f : Fields())
        names += (names.empty() ? "" : ", ") + std::string(f->Name) + (f->Seasonal ? "[s]" : "");
    return names;
}

TSweep::TSweep(const TInputRecord& base, const std::string& source, const std::vector<std::string>& settings)
    : seasons_(std::clamp<int>(base.Ns, 1, 4))
{
    if (settings.empty())
        throw TVeltraError(TErrorKind::Usage, "A sweep needs at least one --set NAME=FROM:TO:STEP or NAME=V1,V2,...");
    for (const std::string& setting : settings)
        AddAxis(base, source, setting);
    notes_ = KeptOtherwiseNotes(base, seasons_);
}

void TSweep::AddAxis(const TInputRecord& base, const std::string& source, const std::string& setting)
{
    const std::size_t eq = setting.find('=');
    if (eq == std::string::npos)
        Refuse(setting, "write NAME=FROM:TO:STEP or NAME=V1,V2,...");
    std::string name = setting.substr(0, eq);
    const int season = SeasonOf(setting, name);
    const TField& field = FieldNamed(setting, name);
    if (season > 0 && !field.Seasonal)
        Refuse(setting, name + " is not a seasonal field.");
    if (season > seasons_)
        Refuse(setting, source + " has " + std::to_string(seasons_) + " season(s).");
    if (field.Drains && base.Kd != 1)
        Refuse(setting, source + " has no drains (Kd = 0), so its input holds no " + name + ".");
    const std::size_t index =
        static_cast<std::size_t>(std::find(Fields().begin(), Fields().end(), &field) - Fields().begin());
    for (std::size_t a = 0; a < axes_.size(); ++a)
        if (targets_[a].Field == index && (targets_[a].Season == 0 || season == 0 || targets_[a].Season == season))
            Refuse(setting, name + " is already set by --set " + axes_[a].Name + ".");

    TSweepAxis axis;
    axis.Name = setting.substr(0, eq);
    axis.Values = ParseValues(setting, setting.substr(eq + 1));
    KeepAsTheFileHolds(setting, name, field, season, seasons_, base, axis.Values);
    if (count_ > MaxSweepCases / axis.Values.size())
        throw TVeltraError(TErrorKind::Usage, "The sweep would run more than " + std::to_string(MaxSweepCases) +
                                                  " cases; narrow its ranges or split it into several sweeps.");
    count_ *= axis.Values.size();
    axes_.push_back(std::move(axis));
    targets_.push_back({index, season});
}

std::vector<double> TSweep::ValuesOf(std::size_t index) const
{
    std::vector<double> values(axes_.size());
    std::size_t rest = index - 1;
    for (std::size_t a = axes_.size(); a-- > 0;) {
        const std::size_t n = axes_[a].Values.size();
        values[a] = axes_[a].Values[rest % n];
        rest /= n;
    }
    return values;
}

void TSweep::Apply(std::size_t index, TInputRecord& rec) const
{
    const std::vector<double> values = ValuesOf(index);
    for (std::size_t a = 0; a < axes_.size(); ++a) {
        const TField& f = *Fields()[targets_[a].Field];
        if (targets_[a].Season > 0)
            Put(f, rec, targets_[a].Season, values[a]);
        else
            for (int s = 1; s <= (f.Seasonal ? seasons_ : 1); ++s)
                Put(f, rec, s, values[a]);
    }
}

} // namespace veltra
