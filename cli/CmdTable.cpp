#include "cli/Commands.h"

namespace veltra::cli {

void AddTableCommand(CLI::App& app, int& status)
{
    (void)app;
    (void)status;
}

} // namespace veltra::cli
