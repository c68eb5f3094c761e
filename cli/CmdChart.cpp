// veltra chart: the Graphics page's chart of an output group, saved as a picture
// or, for reports, as the same drawing in vectors.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/ChartCanvas.h"
#include "cli/Commands.h"
#include "cli/FileGuard.h"
#include "cli/RunOutput.h"
#include "graphs/Chart.h"
#include "graphs/ChartPicture.h"
#include "model/SafeFile.h"
#include "model/TVeltraError.h"
#include "results/FrequencyFile.h"
#include "results/GroupFile.h"
#include "results/OutputGroups.h"
#include "results/TextLists.h"

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
    dm.Rec.Shell.FileName = path;
    if (LowerExtension(path) == ".prn") {
        if (a.Option)
            throw TVeltraError(TErrorKind::Usage, "a group file takes no option number");
        std::vector<std::string> lines;
        ReadTextLines(path, lines, "a group file");
        if (IsFrequencyText(lines))
            throw TVeltraError(TErrorKind::Usage, "\"" + path + "\" is a saved frequency view, which has no chart");
        ReadGroupLines(dm, path, lines);
        if (dm.Groups.NotGroupFile)
            throw TVeltraError(TErrorKind::File,
                               "\"" + path + "\" is not a group file (its first line is not a \"Data from\" line)");
        SetPresenceAfterGroupOpen(dm);
        return;
    }
    if (!a.Option)
        throw TVeltraError(TErrorKind::Usage, "give the option number N (1 to 12) after the result file");
    RunGroupOptionOn(dm, *a.Option, path);
}

// 0, or 1 when the group has nothing to draw (said on stderr, no picture written).
int DrawAndSave(const TChartArgs& a)
{
    const std::string path = AbsolutePath(a.File);
    const std::string output = AbsolutePath(a.Output);
    if (PictureFormat(output).empty())
        throw TVeltraError(TErrorKind::Usage, PictureExtensionsMessage + a.Output);
    RefuseOutputsOverInputs({path}, {output});
    RefuseReadOnly(output);
    TDataMod dm;
    LoadGroup(a, path, dm);

    // The toolkit is loaded only now, once the group is known to be there.
    const std::unique_ptr<TCanvas> canvas = LoadChartCanvas();
    if (DrawChart(dm.Groups, dm.Rec, *canvas) == TChartOutcome::NoData) {
        std::cerr << NoDataMessage << "\n";
        return 1;
    }
    SaveChartPicture(*canvas, a.Output);
    std::cout << "The graph was saved in  " << a.Output << "\n";
    return 0;
}

} // namespace

void AddChartCommand(CLI::App& app, int& status)
{
    auto args = std::make_shared<TChartArgs>();
    CLI::App* cmd = app.add_subcommand(
        "chart",
        "Draw the chart of an output group of a result file (N = 1..12) or of a group file, as .bmp, .png, .svg or "
        ".pdf");
    cmd->add_option("FILE", args->File, "Result file (.res) or group file (.prn), read as named")->required();
    cmd->add_option("N", args->Option, "Output option: 1 root-zone salinities ... 12 rotation key")
        ->check(CLI::Range(1, 12));
    cmd->add_option("-o,--output", args->Output, "Picture file: .bmp or .png (pixels), .svg or .pdf (vectors)")
        ->required();
    cmd->callback([args, &status] { status = DrawAndSave(*args); });
}

} // namespace veltra::cli
