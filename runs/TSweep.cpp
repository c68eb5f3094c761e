#include "runs/TSweep.h"

#include <algorithm>
#include <cmath>

#include "model/TVeltraError.h"
#include "runs/InputFields.h"
#include "runs/SummaryTable.h"

namespace veltra {

namespace {

[[noreturn]] void Refuse(const std::string& setting, const std::string& why)
{
    throw TVeltraError(TErrorKind::Usage, "--set " + setting + ": " + why);
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
        if (!ParseCommandNumber(p, v))
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

// Each case runs from its own input file: every value must be one the file holds,
// and becomes the value the file holds.
void KeepAsTheFileHolds(const std::string& setting, const TFieldRef& field, const TInputRecord& base,
                        std::vector<double>& values)
{
    const std::string name = InputFieldName(field);
    for (double& v : values) {
        if (IsWholeField(field) && (v != std::floor(v) || v < 0 || v > 255))
            Refuse(setting, name + " takes whole numbers, not " + FullNumber(v) + ".");
        TInputRecord probe = base;
        SetFieldValue(probe, field, v);
        const double kept = FieldValue(AsTheFileHoldsIt(probe), field);
        if (!SameValue(kept, v))
            Refuse(setting, name + " = " + FullNumber(v) +
                                " has more decimals than the input file keeps (it would hold " + FullNumber(kept) +
                                ").");
        v = kept;
    }
}

} // namespace

std::string SweepCaseName(const std::string& stem, std::size_t index, std::size_t count)
{
    std::string number = std::to_string(index);
    const std::size_t width = std::to_string(count).size();
    return stem + "_" + std::string(width - number.size(), '0') + number;
}

std::string SweepPlan(const std::string& baseText, const TSweep& sweep)
{
    TPlanHash hash;
    hash.Add("sweep");
    hash.Add(baseText);
    for (const TSweepAxis& axis : sweep.Axes()) {
        hash.Add(axis.Name);
        for (double v : axis.Values)
            hash.Add(FullNumber(v));
    }
    return hash.Text();
}

std::string TSweep::FieldNames()
{
    return InputFieldNames();
}

TSweep::TSweep(const TInputRecord& base, const std::string& source, const std::vector<std::string>& settings)
{
    if (settings.empty())
        throw TVeltraError(TErrorKind::Usage, "A sweep needs at least one --set NAME=FROM:TO:STEP or NAME=V1,V2,...");
    for (const std::string& setting : settings)
        AddAxis(base, source, setting);
    notes_ = KeptOtherwiseNotes(base);
}

void TSweep::AddAxis(const TInputRecord& base, const std::string& source, const std::string& setting)
{
    const std::size_t eq = setting.find('=');
    if (eq == std::string::npos)
        Refuse(setting, "write NAME=FROM:TO:STEP or NAME=V1,V2,...");
    const TFieldRef field = ResolveInputField(setting.substr(0, eq), base, source, "--set " + setting);
    for (std::size_t a = 0; a < axes_.size(); ++a)
        if (Overlap(targets_[a], field))
            Refuse(setting, std::string(InputFieldName(field)) + " is already set by --set " + axes_[a].Name + ".");

    TSweepAxis axis;
    axis.Name = setting.substr(0, eq);
    axis.Values = ParseValues(setting, setting.substr(eq + 1));
    KeepAsTheFileHolds(setting, field, base, axis.Values);
    if (count_ > MaxSweepCases / axis.Values.size())
        throw TVeltraError(TErrorKind::Usage, "The sweep would run more than " + std::to_string(MaxSweepCases) +
                                                  " cases; narrow its ranges or split it into several sweeps.");
    count_ *= axis.Values.size();
    axes_.push_back(std::move(axis));
    targets_.push_back(field);
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
    for (std::size_t a = 0; a < axes_.size(); ++a)
        SetFieldValue(rec, targets_[a], values[a]);
}

} // namespace veltra
