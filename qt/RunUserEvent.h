#pragma once
// One event of the user in a window (a click, a choice, a field left), run to its end.
#include <functional>

namespace veltra {

class ShellOps;

// Runs `body` unless an event of the same window runs already (`busy`): a field
// left because a message box took the focus is no event of its own. A failure is
// shown as the main window shows one (HandleUserEvent).
void RunUserEvent(bool& busy, ShellOps& ops, const std::function<void()>& body);

} // namespace veltra
