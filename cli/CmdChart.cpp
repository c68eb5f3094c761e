// veltra chart: the Graphics page's chart of an output group, saved as a picture.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/ChartCanvas.h"
#include "cli/Commands.h"
#include "graphs/Chart.h"
#include "model/TVeltraError.h"
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

// Fills the group store as "Go" (result file) or "Group file" (group file) would.
void LoadGroup(const TChartArgs& a, const std::string& path, TDataMod& dm)
{
    dm.Rec.FileName = path;
    if (LowerExtension(path) == ".prn") {
        if (a.Option)
            throw TVeltraError(TErrorKind::Usage, "a group file takes no option number");
        if (!std::filesystem::is_regular_file(path))
            throw TVeltraError(TErrorKind::File, GroupFileMessage(path));
        ReadGroupFile(dm);
        if (dm.Groups.NotGroupFile)
            throw TVeltraError(TErrorKind::File,
                               "\"" + path + "\" is not a group file (its first line is not a \"Data from\" line)");
        SetPresenceAfterGroupOpen(dm);
        return;
    }
    if (!a.Option)
        throw TVeltraError(TErrorKind::Usage, "give the option number N (1 to 12) after the result file");
    if (*a.Option == 13)
        throw TVeltraError(TErrorKind::Usage, "the frequency view (13) has no chart");
    RunGroupOption(dm, *a.Option);
}

// 0, or 1 when the group has nothing to draw (said on stderr, no picture written).
int DrawAndSave(const TChartArgs& a, const std::string& path)
{
    const std::string ext = LowerExtension(a.Output);
    if (ext != ".bmp" && ext != ".png")
        throw TVeltraError(TErrorKind::Usage, "the picture file must end in .bmp or .png: " + a.Output);
    TDataMod dm;
    LoadGroup(a, path, dm);

    // The toolkit is loaded only now, once the group is known to be there.
    const std::unique_ptr<TCanvas> canvas = LoadChartCanvas();
    if (DrawChart(dm.Groups, dm.Rec, *canvas) == TChartOutcome::NoData) {
        std::cerr << NoDataMessage << "\n";
        return 1;
    }
    if (!canvas->SaveToFile(a.Output))
        throw TVeltraError(TErrorKind::File, "The file \"" + a.Output + "\" could not be written.");
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
    cmd->callback([args, &status] { status = DrawAndSave(*args, std::filesystem::absolute(args->File).string()); });
}

} // namespace veltra::cli
