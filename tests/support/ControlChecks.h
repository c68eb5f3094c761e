#pragma once
// Many controls of the scripted shell operations checked in one statement: the
// texts they show, and which are enabled or shown. Each failure names its control.
#include <initializer_list>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "support/TFakeShellOps.h"

namespace veltra::test {

inline void ExpectTexts(TFakeShellOps& ops, std::initializer_list<std::pair<const char*, const char*>> texts)
{
    for (const auto& [control, text] : texts)
        EXPECT_EQ(ops.GetControlText(control), text) << control;
}

inline void ExpectEnabled(TFakeShellOps& ops, std::initializer_list<const char*> controls, bool enabled = true)
{
    for (const char* control : controls)
        EXPECT_EQ(ops.Controls[control].Enabled, enabled) << control;
}

inline void ExpectVisible(TFakeShellOps& ops, std::initializer_list<const char*> controls, bool visible = true)
{
    for (const char* control : controls)
        EXPECT_EQ(ops.Controls[control].Visible, visible) << control;
}

} // namespace veltra::test
