#pragma once
// The subcommands of the `veltra` tool. Each Add...Command registers its
// subcommand; its callback leaves the process exit status in `status` (0, or 1
// when the command's own report says the input or data have problems) and throws
// a TVeltraError for everything else, which main() reports (cli/ErrorExit.h).
#include <CLI/CLI.hpp>

namespace veltra::cli {

void AddCheckCommand(CLI::App& app, int& status);
void AddConvertCommand(CLI::App& app, int& status);
void AddExampleCommand(CLI::App& app, int& status);
void AddRunCommand(CLI::App& app, int& status);
void AddSeriesCommand(CLI::App& app, int& status);
void AddTableCommand(CLI::App& app, int& status);
void AddChartCommand(CLI::App& app, int& status);
void AddCalcCommand(CLI::App& app, int& status);
void AddBatchCommand(CLI::App& app, int& status);
void AddSweepCommand(CLI::App& app, int& status);
void AddSummaryCommand(CLI::App& app, int& status);
void AddFitCommand(CLI::App& app, int& status);

} // namespace veltra::cli
