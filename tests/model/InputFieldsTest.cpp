// The fields by symbol and the editor's tests of values: every field of the input file
// is in the table once, at the place the file keeps it; every symbol a test names is a
// field; the single-value rules at their bounds.
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "model/ExampleInputs.h"
#include "model/InputFields.h"
#include "model/InputFile.h"
#include "model/ValueTests.h"

namespace veltra {
namespace {

TEST(InputFields, EachFieldIsKeptByTheFileAtItsOwnPlace)
{
    const TInputRecord base = FieldExampleRecord(); // drains, two seasons
    const std::string text = InputFileText(base);
    std::set<std::string> names;
    for (const TInputField& f : InputFields()) {
        SCOPED_TRACE(f.Name);
        EXPECT_TRUE(names.insert(f.Name).second) << "twice";
        EXPECT_EQ(FindInputField(f.Name), &f);
        EXPECT_EQ((f.Scalar != nullptr) + (f.Seasonal != nullptr) + (f.Whole != nullptr), 1);
        // A value set through the table is the value read, and the file shows it.
        TInputRecord rec = base;
        const int season = f.Seasonal ? 2 : 0;
        const double v = f.Whole ? (std::string(f.Name) == "Ns" ? 1 : FieldValue(f, base, season) + 1) : 0.75;
        SetFieldValue(f, rec, season, v);
        EXPECT_EQ(FieldValue(f, rec, season), v);
        EXPECT_NE(InputFileText(rec), text) << "the file does not hold it";
        // Without drains the file leaves the drains' fields out.
        if (!f.Layout) {
            TInputRecord none = base, changed = base;
            none.Kd = changed.Kd = 0;
            SetFieldValue(f, changed, season, v);
            EXPECT_EQ(InputFileText(changed) == InputFileText(none), f.Drains);
        }
    }
    EXPECT_EQ(names.size(), 66u); // every field of the input file but the titles
    EXPECT_EQ(FindInputField("dd"), nullptr);
    EXPECT_EQ(FindInputField("Title1"), nullptr);
}

TEST(ValueTests, NameFieldsAndJudgeSingleValuesAtTheirBounds)
{
    for (const auto& [group, tests] : AllEditorValueTests())
        for (const TValueTest& t : tests)
            for (const char* symbol : t.Symbols) {
                const std::string s = symbol;
                EXPECT_TRUE(FindInputField(s) || s == "CaMax" || s == "CbMax") << group << ": " << s;
            }
    EXPECT_FALSE(EditorValueTests("IrrigationQuantity").empty());
    EXPECT_TRUE(EditorValueTests("WaterTable").empty());
    EXPECT_TRUE(EditorValueTests("nothing").empty());

    struct TCase {
        TRule Rule;
        double Passes, Fails;
    };
    for (const TCase& c : {TCase{TRule::AtLeast0, 0.0, -1e-9}, TCase{TRule::Above0, 1e-9, 0.0},
                           TCase{TRule::Between0And1, 1.0, 1.000001}, TCase{TRule::Between0And1, 0.0, -0.1},
                           TCase{TRule::Below1, 0.999, 1.0}, TCase{TRule::AboveHalf, 0.51, 0.5},
                           TCase{TRule::PorosityRange, 0.89, 0.9}, TCase{TRule::PorosityRange, 0.01, 0.0}}) {
        SCOPED_TRACE(RuleText(c.Rule));
        EXPECT_TRUE(IsSingleValueRule(c.Rule));
        EXPECT_TRUE(PassesRule(c.Rule, c.Passes));
        EXPECT_FALSE(PassesRule(c.Rule, c.Fails));
    }
    for (TRule r : {TRule::SumIs12, TRule::SumAtMost1, TRule::BelowHalfOf, TRule::DrainDepth}) {
        EXPECT_FALSE(IsSingleValueRule(r));
        EXPECT_TRUE(PassesRule(r, -1e9));
    }
}

} // namespace
} // namespace veltra
