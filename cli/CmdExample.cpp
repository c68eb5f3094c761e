#include "cli/Commands.h"

namespace veltra::cli {

void AddExampleCommand(CLI::App& app, int& status)
{
    (void)app;
    (void)status;
}

} // namespace veltra::cli
