// The data groups as data: that together they store every value the
// input file holds (each exactly once), and that the control list the window is
// built from names every control the editor and the calculator use.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "model/InputFile.h"
#include "shell/GuidedEntry.h"
#include "shell/InputGroups.h"
#include "shell/TInputEditor.h"
#include "shell/UAlfaForm.h"

namespace veltra {
namespace {

TEST(InputGroups, TogetherTheyStoreEveryValueOfTheInputFileOnce)
{
    for (const char* example : {"field.inp", "wells.inp"}) {
        TInputRecord from;
        from.Shell.FileName = std::string(VELTRA_SOURCE_DIR) + "/examples/" + example;
        ReadInputFile(from);
        // Copied field by field through the groups only; the file must come out the same.
        TInputRecord to;
        to.Title1 = from.Title1;
        to.Title2 = from.Title2;
        for (const auto& g : InputGroups())
            for (const auto& f : g.Fields) {
                if (f.Scalar)
                    to.*f.Scalar = from.*f.Scalar;
                if (f.Seasonal)
                    to.*f.Seasonal = from.*f.Seasonal;
                if (f.Key)
                    to.*f.Key = from.*f.Key;
            }
        EXPECT_EQ(InputFileText(to), InputFileText(from)) << example;
    }
    // No record field is stored by two fields.
    std::set<const void*> seen;
    TInputRecord probe;
    for (const auto& g : InputGroups())
        for (const auto& f : g.Fields) {
            const void* address = f.Scalar     ? static_cast<const void*>(&(probe.*f.Scalar))
                                  : f.Seasonal ? static_cast<const void*>(&(probe.*f.Seasonal))
                                               : static_cast<const void*>(&(probe.*f.Key));
            EXPECT_TRUE(seen.insert(address).second) << f.Symbol << " shares its record field";
        }
    EXPECT_EQ(seen.size(), 66u);
}

TEST(InputGroups, TheControlListNamesEveryControlInUse)
{
    std::map<std::string, TControlInfo> listed;
    for (const auto& list : {EditorControlList(), AlfaControlList()})
        for (const auto& c : list)
            EXPECT_TRUE(listed.emplace(c.Name, c).second) << c.Name << " listed twice";
    EXPECT_EQ(listed.at("Kr_ComboBox").Items, (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6", "7", "10"}));
    EXPECT_EQ(listed.at("Frd_Label").Text,
              "Seasonal drainage control factor to reduce drain discharge (0<=fraction<=1)    ");
    EXPECT_EQ(listed.at("Dd_Label").Text, "Drain depth (m)");

    // A session that touches every group, the General data events and the calculator.
    TInputRecord rec;
    TFakeShellOps ops;
    TInputEditor ed{rec, ops};
    TAlfaFormLogic alfa{rec, ops};
    ed.StartGuidedEntry();
    ops.SetControlText("Kp_ComboBox", "yes");
    ed.KpChanged();
    editortest::WalkGuidedEntry(ed, ops, editortest::FieldTyping());
    rec.Kd = 0;
    ed.InputFileOpened();
    for (const auto& g : InputGroups())
        ed.ShowGroup(g.Id);
    ed.ShowGroup(TGroupId::General);
    for (auto event :
         {&TInputEditor::NsChanged, &TInputEditor::KdChanged, &TInputEditor::KfChanged, &TInputEditor::KyChanged,
          &TInputEditor::NyLeft, &TInputEditor::CaMaxLeft, &TInputEditor::CbMaxLeft, &TInputEditor::CancelGroup})
        (ed.*event)();
    for (TAlfaField field : AlfaFields()) {
        alfa.FieldChanged(field);
        alfa.FieldLeft(field);
    }
    alfa.Calculate();
    ASSERT_GT(ops.Controls.size(), 300u);
    for (const auto& [name, state] : ops.Controls)
        EXPECT_TRUE(listed.count(name)) << name << " is used but not listed";
}

} // namespace
} // namespace veltra
