// The grid of a sweep: which values a range or a list gives, the order of the cases,
// what a case changes in the record, and everything refused before a case runs.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/ExampleInputs.h"
#include "model/TVeltraError.h"
#include "runs/TSweep.h"

namespace veltra {
namespace {

// The message of the refusal ("(not refused)" when there is none).
std::string Refusal(const std::vector<std::string>& settings, const TInputRecord& base = FieldExampleRecord())
{
    try {
        TSweep sweep(base, "field.inp", settings);
    } catch (const TVeltraError& e) {
        EXPECT_EQ(e.Kind, TErrorKind::Usage) << e.what();
        return e.what();
    }
    return "(not refused)";
}

// Ranges include their end within half a step; lists take the point as their decimal
// separator.
TEST(SweepValues, RangesAndLists)
{
    const std::pair<std::string, std::vector<double>> cases[] = {
        {"Dd=1:2:0.25", {1, 1.25, 1.5, 1.75, 2}},
        // 0.1 steps are not exact in binary; the values are those the input file holds.
        {"Dd=1.2:1.6:0.1", {1.2, 1.3, 1.4, 1.5, 1.6}},
        {"Dd=1:2.1:0.5", {1, 1.5, 2}},      // TO 0.2 steps past 2
        {"Dd=1:2.4:0.5", {1, 1.5, 2, 2.5}}, // 2.5 within half a step of TO
        {"Dd=2:1:-0.5", {2, 1.5, 1}},
        {"Dd=1.5:1.5:1", {1.5}},
        {"Dd=1.5:1.4:1", {1.5}}, // TO within half a step of FROM
        {"Dd=1.5,2.25,+3", {1.5, 2.25, 3}},
        {"Dd=1,5", {1, 5}},        // two values, not 1.5
        {"IaA[2]=0.125", {0.125}}, // IaA keeps 3 decimals
    };
    for (const auto& [setting, values] : cases)
        EXPECT_EQ(TSweep(FieldExampleRecord(), "field.inp", {setting}).Axes().at(0).Values, values) << setting;
}

TEST(SweepGrid, FirstSettingVariesSlowestAndCasesChangeOnlyTheirFields)
{
    const TInputRecord base = FieldExampleRecord(); // Ns = 2
    const TSweep sweep(base, "field.inp", {"Dd=1.5,2,2.5", "IaA=0.4:0.8:0.2", "IaB[2]=0.3", "Ny=20"});
    EXPECT_EQ(sweep.CaseCount(), 9u);
    EXPECT_EQ(sweep.ValuesOf(2), (std::vector<double>{1.5, 0.6, 0.3, 20}));
    EXPECT_EQ(sweep.ValuesOf(9), (std::vector<double>{2.5, 0.8, 0.3, 20}));

    TInputRecord rec = base;
    sweep.Apply(6, rec);
    // IaA beyond Ns is not the file's: left as it was.
    EXPECT_EQ((std::vector<double>{rec.Dd, rec.IaA[1], rec.IaA[2], rec.IaA[3], rec.IaB[1], rec.IaB[2], 1.0 * rec.Ny}),
              (std::vector<double>{2, 0.8, 0.8, base.IaA[3], base.IaB[1], 0.3, 20}));
    EXPECT_EQ(rec.QH1, base.QH1);
    EXPECT_TRUE(sweep.Notes().empty());
}

TEST(SweepRefusals, BeforeAnythingRuns)
{
    // Each refusal names what is wrong; the keys of the layout are no fields to set.
    const std::vector<std::pair<std::vector<std::string>, std::string>> refusals{
        {{"Kd=0,1"}, "unknown field"},          {{"Dd=1:2:-0.5"}, "the range is empty"},
        {{"Dd=1:2"}, "FROM:TO:STEP"},           {{"Dd=1.5;2"}, "is not a number"},
        {{"Dd=1,,2"}, "\"\" is not a number"},  {{"Dd=nan"}, "is not a number"},
        {{"Dd"}, "NAME=FROM:TO:STEP"},          {{"IaA[5]=1"}, "from 1 to 4"},
        {{"Dd[1]=1"}, "not a seasonal field"},  {{"Dd=1.5", "Dd=2"}, "already set"},
        {{"IaA=1", "IaA[2]=2"}, "already set"}, {{"Ny=20.5"}, "whole numbers"},
        {{"Ny=300"}, "whole numbers"},          {{}, "at least one --set"}};
    for (const auto& [settings, said] : refusals)
        EXPECT_NE(Refusal(settings).find(said), std::string::npos) << said;

    // A field the keys leave out of the file (no drains: no drain factor either).
    EXPECT_NE(Refusal({"Frd=0.5"}, WellsExampleRecord()).find("no drains"), std::string::npos);

    // Above 100,000 cases refused, 100,000 allowed.
    EXPECT_NE(Refusal({"Dd=0:1:0.000001"}).find("more than 100000"), std::string::npos);
    const TSweep largest(FieldExampleRecord(), "field.inp", {"Dr=0.01:10:0.01", "Cic=0:9.9:0.1"});
    EXPECT_EQ(largest.CaseCount(), 100000u);
}

} // namespace
} // namespace veltra
