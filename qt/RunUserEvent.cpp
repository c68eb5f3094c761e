#include "qt/RunUserEvent.h"

#include <exception>
#include <string>

#include "shell/ShellOps.h"

namespace veltra {

void RunUserEvent(bool& busy, ShellOps& ops, const std::function<void()>& body)
{
    if (busy)
        return;
    busy = true;
    try {
        body();
    } catch (const std::exception& e) {
        try {
            ops.ShowMessage(std::string("Veltra: internal error: ") + e.what());
        } catch (...) {
            // Nothing is left to tell the user with.
        }
    }
    busy = false;
}

} // namespace veltra
