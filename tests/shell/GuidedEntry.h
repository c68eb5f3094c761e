#pragma once
// Scripting the input editor through the fake shell operations: typing into the
// fields of the open group and walking through the guided entry of a new data set.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "shell/InputGroups.h"
#include "shell/TInputEditor.h"
#include "support/TFakeShellOps.h"

namespace veltra::editortest {

// Control name -> the text typed into it.
using TTyping = std::map<std::string, std::string>;

// Types the texts meant for the open group's fields, as a user can: only into fields
// that are shown and enabled. A season field that still shows the "n.a." of a season
// beyond the fresh Ns = 2 gets the text of season 2.
inline void TypeIntoOpenGroup(const TInputEditor& ed, TFakeShellOps& ops, const TTyping& typing)
{
    const TGroupDef& g = Group(*ed.OpenGroup());
    for (const auto& f : g.Fields) {
        const int last = f.IsSeasonal() ? 4 : 0;
        for (int s = f.IsSeasonal() ? 1 : 0; s <= last; ++s) {
            const std::string name = FieldControl(f, s);
            if (!ops.Controls[name].Enabled || !ops.Controls[name].Visible)
                continue;
            if (const auto it = typing.find(name); it != typing.end())
                ops.SetControlText(name, it->second);
            else if (s > 2 && ops.GetControlText(name) == "n.a.")
                ops.SetControlText(name, ops.GetControlText(FieldControl(f, 2)));
        }
    }
}

// Saves every group the guided entry shows, after typing; returns their captions.
// A save that fails ends the walk as a test failure. With `stop`, the walk ends
// when that group is shown, before it is typed into or saved.
inline std::vector<std::string> WalkGuidedEntry(TInputEditor& ed, TFakeShellOps& ops, const TTyping& typing,
                                                std::optional<TGroupId> stop = std::nullopt)
{
    std::vector<std::string> shown;
    for (int guard = 0; ed.OpenGroup() && ed.OpenGroup() != stop && guard < GroupCount; ++guard) {
        const TGroupDef& g = Group(*ed.OpenGroup());
        shown.emplace_back(g.Caption);
        EXPECT_FALSE(ops.Controls[CancelButtonControl(g)].Enabled) << g.Caption << ": the guided entry must go on";
        EXPECT_FALSE(ops.Controls[ctl::InputSave].Enabled) << g.Caption;
        TypeIntoOpenGroup(ed, ops, typing);
        const std::size_t before = ops.Messages.size();
        if (!ed.SaveGroup()) {
            ADD_FAILURE() << g.Caption << " was not saved: "
                          << (ops.Messages.size() > before ? ops.Messages.back() : std::string("no message"));
            break;
        }
    }
    return shown;
}

// The captions of the groups "Select data group" offers.
inline std::vector<std::string> OfferedGroups(TFakeShellOps& ops)
{
    std::vector<std::string> out;
    for (const auto& g : InputGroups())
        if (ops.Controls[RadioControl(g)].Enabled)
            out.emplace_back(g.Caption);
    return out;
}

// The climate of the bundled field example, which the editor has no defaults for.
inline TTyping FieldClimate()
{
    return {{"Pp1_Edit", "0.2"},  {"Pp2_Edit", "0.05"}, {"EpA1_Edit", "1.0"}, {"EpA2_Edit", "0.6"},
            {"EpB1_Edit", "0.8"}, {"EpB2_Edit", "0.5"}, {"EpU1_Edit", "0.6"}, {"EpU2_Edit", "0.4"}};
}

// What the bundled field example types over the editor's defaults: its climate and
// its drain depth (the default one lies at the bottom of the root zone, which the
// Drainage system group refuses).
inline TTyping FieldTyping()
{
    TTyping typing = FieldClimate();
    typing["Dd_Edit"] = "1.5";
    return typing;
}

} // namespace veltra::editortest
