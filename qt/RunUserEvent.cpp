#include "qt/RunUserEvent.h"

#include <string>

#include "shell/ShellOps.h"

namespace veltra {

void RunUserEvent(bool& busy, ShellOps& ops, const std::function<void()>& body)
{
    if (busy)
        return;
    busy = true;
    HandleUserEvent(body, [&](const std::string& text) { ops.ShowMessage(text); });
    busy = false;
}

} // namespace veltra
