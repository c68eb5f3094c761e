// veltra: the command-line tool over the same libraries the window uses.
#include <clocale>
#include <exception>
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

    // Every error of every command ends here.
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {
        return app.exit(e); // --help, --version
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return 2;
    } catch (const veltra::TVeltraError& e) {
        return veltra::cli::ReportError(e, RunningCommand(app), std::cout, std::cerr);
    } catch (const std::exception& e) {
        const veltra::TVeltraError internal(veltra::TErrorKind::Internal, e.what());
        return veltra::cli::ReportError(internal, RunningCommand(app), std::cout, std::cerr);
    }
    return status;
}
