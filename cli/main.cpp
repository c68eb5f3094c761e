// veltra: the command-line tool over the same libraries the window uses.
#include <clocale>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "cli/Commands.h"
#include "cli/ErrorExit.h"

namespace {

// The subcommand that was running when an error came up ("" before one started).
std::string RunningCommand(const CLI::App& app)
{
    const auto used = app.get_subcommands();
    return used.empty() ? std::string() : used.front()->get_name();
}

} // namespace

int main(int argc, char** argv)
{
    // Number texts always use "." whatever the user's locale.
    std::setlocale(LC_ALL, "C");

    CLI::App app{"Veltra: agro-hydro-soil-salinity model for irrigated land"};
    app.name("veltra");
    app.set_version_flag("--version", std::string("veltra ") + VELTRA_VERSION);
    app.require_subcommand(1);

    int status = 0;
    veltra::cli::AddCheckCommand(app, status);
    veltra::cli::AddConvertCommand(app, status);
    veltra::cli::AddExampleCommand(app, status);
    veltra::cli::AddRunCommand(app, status);
    veltra::cli::AddSeriesCommand(app, status);
    veltra::cli::AddTableCommand(app, status);
    veltra::cli::AddChartCommand(app, status);
    veltra::cli::AddCalcCommand(app, status);
    veltra::cli::AddBatchCommand(app, status);
    veltra::cli::AddSweepCommand(app, status);
    veltra::cli::AddSummaryCommand(app, status);
    veltra::cli::AddFitCommand(app, status);

    // Every error of every command ends here.
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {
        status = app.exit(e); // --help, --version
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        status = 2;
    } catch (const veltra::TVeltraError& e) {
        status = veltra::cli::ReportError(e, RunningCommand(app), std::cout, std::cerr);
    } catch (const std::filesystem::filesystem_error& e) {
        status = veltra::cli::ReportError(veltra::cli::FileSystemError(e), RunningCommand(app), std::cout, std::cerr);
    } catch (const std::exception& e) {
        const veltra::TVeltraError internal(veltra::TErrorKind::Internal, e.what());
        status = veltra::cli::ReportError(internal, RunningCommand(app), std::cout, std::cerr);
    }
    // The answer printed is part of the result: standard output that was lost is a
    // failure, whatever the command said before (once, when the command said so).
    if (!std::cout.flush()) {
        if (status != 2)
            std::cerr << veltra::cli::StandardOutputLostMessage << "\n";
        return 2;
    }
    return status;
}
