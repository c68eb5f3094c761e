#pragma once
// The subcommands of the `veltra` tool. Each Add...Command registers its
// subcommand; its callback leaves the process exit status in `status`.
//
// Exit status: 0 success, 1 the input or data has problems the tool reports,
// 2 usage errors and files that cannot be read or written, 3 a run that was stopped.
#include <CLI/CLI.hpp>

namespace veltra::cli {

void AddCheckCommand(CLI::App& app, int& status);
void AddConvertCommand(CLI::App& app, int& status);
void AddExampleCommand(CLI::App& app, int& status);
void AddRunCommand(CLI::App& app, int& status);
void AddSeriesCommand(CLI::App& app, int& status);
void AddTableCommand(CLI::App& app, int& status);
void AddChartCommand(CLI::App& app, int& status);

} // namespace veltra::cli
