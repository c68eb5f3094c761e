// veltra chart: the Graphics page's chart of an output group, saved as a picture.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include <QGuiApplication>

#include "cli/Commands.h"
#include "graphs/Chart.h"
#include "qt/canvas/TQtCanvas.h"
#include "results/GroupFile.h"
#include "results/OutputGroups.h"

namespace veltra::cli {

namespace {

struct TChartArgs {
    std::string File;
    std::optional<int> Option;
    std::string Output;
};

std::string LowerExtension(const std::string& path)
{
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}

int Fail(const std::string& text)
{
    std::cerr << "veltra chart: " << text << "\n";
    return 2;
}

// Fills the group store as "Go" (result file) or "Group file" (group file) would.
// Returns 0, or the exit status of a refusal.
int LoadGroup(const TChartArgs& a, const std::string& path, TDataMod& dm)
{
    dm.Rec.FileName = path;
    if (LowerExtension(path) == ".prn") {
        if (a.Option)
            return Fail("a group file takes no option number");
        if (!std::filesystem::is_regular_file(path))
            return Fail(GroupFileMessage(path));
        ReadGroupFile(dm);
        if (dm.Groups.NotGroupFile)
            return Fail("\"" + path + "\" is not a group file (its first line is not a \"Data from\" line)");
        SetPresenceAfterGroupOpen(dm);
        return 0;
    }
    if (!a.Option)
        return Fail("give the option number N (1 to 12) after the result file");
    if (*a.Option == 13)
        return Fail("the frequency view (13) has no chart");
    RunGroupOption(dm, *a.Option);
    return 0;
}

// Qt's notes about the platform (runtime folder, fonts) are not the user's business;
// only its critical messages reach stderr.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << text.toStdString() << "\n";
}

int DrawAndSave(const TChartArgs& a, const std::string& path)
{
    const std::string ext = LowerExtension(a.Output);
    if (ext != ".bmp" && ext != ".png")
        return Fail("the picture file must end in .bmp or .png: " + a.Output);
    TDataMod dm;
    if (const int refused = LoadGroup(a, path, dm))
        return refused;

    // Drawing text needs a QGuiApplication; the offscreen platform needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QtMessageHandler previous = qInstallMessageHandler(QuietQtMessages);
    struct TRestore {
        QtMessageHandler Handler;
        ~TRestore() { qInstallMessageHandler(Handler); }
    } restore{previous};
    int argc = 1;
    char name[] = "veltra";
    char* argv[] = {name, nullptr};
    QGuiApplication gui(argc, argv);
    TQtCanvas canvas;
    if (DrawChart(dm.Groups, dm.Rec, canvas) == TChartOutcome::NoData) {
        std::cerr << NoDataMessage << "\n";
        return 1;
    }
    if (!canvas.SaveToFile(a.Output))
        return Fail("The file \"" + a.Output + "\" could not be written.");
    std::cout << "The graph was saved in  " << a.Output << "\n";
    return 0;
}

} // namespace

void AddChartCommand(CLI::App& app, int& status)
{
    auto args = std::make_shared<TChartArgs>();
    CLI::App* cmd = app.add_subcommand(
        "chart", "Draw the chart of an output group of a result file (N = 1..12) or of a group file, as .bmp or .png");
    cmd->add_option("FILE", args->File, "Result file (.res) or group file (.prn)")->required();
    cmd->add_option("N", args->Option, "Output option: 1 root-zone salinities ... 12 rotation key")
        ->check(CLI::Range(1, 13));
    cmd->add_option("-o,--output", args->Output, "Picture file (.bmp or .png)")->required();
    cmd->callback([args, &status] {
        const std::string path = std::filesystem::absolute(args->File).string();
        try {
            status = DrawAndSave(*args, path);
        } catch (const TGroupReadError& e) {
            status = Fail(e.what());
        }
    });
}

} // namespace veltra::cli
