// The drainage reaction-factor calculator: its two branches of the equivalent depth,
// its check, the leave-tests of its fields and what Calculate shows and stores.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "shell/UAlfaForm.h"
#include "support/ControlChecks.h"

namespace veltra {
namespace {

TEST(ReactionFactors, BothBranchesOfTheEquivalentDepth)
{
    // Values worked out by hand from Hooghoudt's equation with pi = 3.142, closer than
    // the texts of QH1, QH2, QH1/p and QH2/p that the command line's calc tests compare
    // for the same inputs.
    struct Case {
        TAlfaInputs In;
        double X, F, De;
    };
    const std::vector<Case> cases{
        // x = 6.284 * 2 / 20 = 0.6284 <= 1: ln(0.5 x / 3.142) + 9.872164 / (4 x).
        {TAlfaInputs{1, 0.5, 2, 0.3, 10, 20}, 0.6284, 1.6249149070059543, 1.3485858339913481},
        {TAlfaInputs{0.8, 1.2, 2, 0.5, 5, 20}, 0.6284, 1.6249149070059543, 1.4782280732340092},
        // x = 6.284 * 5 / 20 = 1.571 > 1: the series over n = 1, 3, 5.
        {TAlfaInputs{1, 0.5, 5, 0.3, 10, 20}, 1.571, 0.18069351925588545, 1.7932158057798908},
        {TAlfaInputs{0.8, 1.2, 5, 0.5, 5, 20}, 1.571, 0.18069351925588545, 2.0299397515068605},
    };
    for (const auto& c : cases) {
        const auto r = ComputeReactionFactors(c.In);
        ASSERT_TRUE(r);
        EXPECT_NEAR(r->X, c.X, 1e-15);
        EXPECT_NEAR(r->F, c.F, 1e-13);
        EXPECT_NEAR(r->De, c.De, 1e-13);
    }
    EXPECT_EQ(ReactionFactorText(0.000004), " 0.00000"); // below 0.000005 shows as zero
    EXPECT_EQ(ReactionFactorText(12.345678), "12.34568");
    EXPECT_EQ(ReactionFactorText(123.4), "123.40000"); // wider than 8: written in full
}

TEST(ReactionFactors, CalculateRefuses)
{
    const TAlfaInputs good = TAlfaInputs{1, 0.5, 2, 0.3, 10, 20};
    ASSERT_TRUE(ComputeReactionFactors(good));
    using F = TAlfaField;
    // One value out of range each (the bounds of P, Ka = 0 and a wet perimeter beyond
    // the spacing: the calc tests).
    const std::pair<F, double> refused[] = {{F::Kb, -0.1}, {F::D, 0}, {F::U, 0}, {F::L, 0}};
    for (const auto& [field, value] : refused) {
        TAlfaInputs in = good;
        in[field] = value;
        EXPECT_FALSE(ComputeReactionFactors(in)) << AlfaSymbol(field) << " = " << value;
    }
}

class Calculator : public ::testing::Test {
protected:
    void Leave(TAlfaField field, const std::string& text)
    {
        ops.SetControlText(AlfaControl(field), text);
        alfa.FieldChanged(field);
        alfa.FieldLeft(field);
    }
    void EnterGood()
    {
        Leave(TAlfaField::Ka, "1");
        Leave(TAlfaField::Kb, "0,5");
        Leave(TAlfaField::D, "2");
        Leave(TAlfaField::U, "0.3");
        Leave(TAlfaField::P, "10");
        Leave(TAlfaField::L, "20");
    }

    TInputRecord rec;
    TFakeShellOps ops;
    TAlfaFormLogic alfa{rec, ops};
};

TEST_F(Calculator, LeavingAFieldTestsItsValue)
{
    struct Case {
        TAlfaField Field;
        const char* Typed;
        const char* Message; // null: accepted
        double Kept;         // the value the field keeps
    };
    const std::vector<Case> cases{
        {TAlfaField::Ka, "0", nullptr, 0},
        {TAlfaField::Ka, "-1", "Ka should be greater than zero", 0},
        {TAlfaField::Kb, "-0,5", "Kb should be greater than zero", 0},
        {TAlfaField::D, "0", "D should be greater than zero", 0},
        {TAlfaField::U, "-2", "U should be greater than zero", 0},
        {TAlfaField::P, "0", "P should be greater than zero", 0},
        {TAlfaField::P, "0.5", "P should be greater than 1%", 0.5},
        {TAlfaField::P, "31", "P should be less than 30%", 31},
        {TAlfaField::P, "30", nullptr, 30},
        {TAlfaField::P, "1", nullptr, 1},
        {TAlfaField::L, "-5", "L should be greater than zero", -5},
        {TAlfaField::L, "2,5", nullptr, 2.5},
        {TAlfaField::L, " 2.5 ", nullptr, 2.5},
    };
    for (const auto& c : cases) {
        ops.Messages.clear();
        Leave(c.Field, c.Typed);
        EXPECT_EQ(ops.Messages, c.Message ? std::vector<std::string>{c.Message} : std::vector<std::string>{})
            << AlfaSymbol(c.Field) << " " << c.Typed;
        EXPECT_EQ(alfa.In[c.Field], c.Kept) << AlfaSymbol(c.Field) << " " << c.Typed;
        EXPECT_EQ(ops.GetControlText(AlfaControl(c.Field)), c.Message ? "" : c.Typed);
    }
    // An empty field changes nothing; a text that is no number is named and changes nothing.
    ops.Messages.clear();
    Leave(TAlfaField::L, "");
    EXPECT_TRUE(ops.Messages.empty());
    Leave(TAlfaField::L, "2.5.1");
    EXPECT_EQ(ops.Messages, std::vector<std::string>{"2.5.1 is not a valid number"});
    EXPECT_EQ(alfa.In.L, 2.5);
}

TEST_F(Calculator, CalculateShowsAndStores)
{
    const std::vector<const char*> results{ctl::AlfaQH1, ctl::AlfaQH2, ctl::AlfaFallQH1, ctl::AlfaFallQH2};
    auto shown = [&] {
        std::vector<std::string> texts;
        for (const char* c : results)
            texts.push_back(ops.GetControlText(c));
        return texts;
    };
    // A fresh calculator has nothing to calculate.
    EXPECT_FALSE(alfa.Calculate());
    EXPECT_EQ(ops.Messages, std::vector<std::string>{"One or more data values are incorrect"});
    EnterGood();
    ops.Messages.clear();
    // The factors the model uses go into the group and the record (the editor's and the
    // window's tests look at them there); the porosity stays in percent: Calculate
    // again gives the same.
    for (int time = 0; time < 2; ++time) {
        ASSERT_TRUE(alfa.Calculate());
        EXPECT_EQ(shown(), (std::vector<std::string>{" 0.01349", " 0.01000", " 0.13486", " 0.10000"}));
    }
    EXPECT_TRUE(ops.Messages.empty());
    EXPECT_NEAR(rec.QH1, 0.013485858, 1e-9);

    // A refused Calculate changes nothing.
    Leave(TAlfaField::Ka, "0");
    EXPECT_FALSE(alfa.Calculate());
    EXPECT_NEAR(rec.QH1, 0.013485858, 1e-9);
    EXPECT_EQ(ops.GetControlText("QH1_Edit"), " 0.01349");
}

TEST(AlfaControls, ResultRowsWithTheirUnits)
{
    // Each result sits in a row with its label and its unit: the factors for the input,
    // then the rates of fall for information.
    std::vector<std::string> rows;
    const auto list = AlfaControlList();
    for (const char* edit : {ctl::AlfaQH1, ctl::AlfaQH2, ctl::AlfaFallQH1, ctl::AlfaFallQH2}) {
        const auto at = std::find_if(list.begin(), list.end(), [&](const TControlInfo& c) { return c.Name == edit; });
        ASSERT_NE(at, list.end()) << edit;
        std::string row;
        for (const auto& c : list)
            if (c.Row == at->Row && c.Kind == TControlKind::Label)
                row += (row.empty() ? "" : " | ") + c.Text;
        rows.push_back(row);
    }
    EXPECT_EQ(rows, (std::vector<std::string>{"QH1 = | m/day per m: drain discharge, into the input",
                                              "QH2 = | m/day per m2: drain discharge, into the input",
                                              "QH1/p = | m/day per m: fall of the water table, for information",
                                              "QH2/p = | m/day per m2: fall of the water table, for information"}));
}

} // namespace
} // namespace veltra
