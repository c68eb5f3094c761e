#include "cli/Commands.h"

namespace veltra::cli {

void AddSeriesCommand(CLI::App& app, int& status)
{
    (void)app;
    (void)status;
}

} // namespace veltra::cli
