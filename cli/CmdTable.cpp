// veltra table: the Output page's tables without the window.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/Commands.h"
#include "cli/ErrorExit.h"
#include "cli/FileGuard.h"
#include "cli/RunOutput.h"
#include "model/SafeFile.h"
#include "model/TVeltraError.h"
#include "results/FrequencyFile.h"
#include "results/GroupFile.h"
#include "results/OutputGroups.h"
#include "results/PathWithExtension.h"
#include "results/TextLists.h"

namespace veltra::cli {

namespace {

struct TTableArgs {
    std::string File;
    std::optional<int> Option;
    std::string Prn;
    std::string Csv;
};

bool IsGroupFileName(const std::string& path)
{
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".prn";
}

// Printed in full before any file is written: output that cannot be printed
// stops the command before it leaves a file behind.
void PrintLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += '\n';
    }
    std::cout << text;
    FlushStandardOutput(std::cout);
}

void ShowGroupFile(const TTableArgs& a, const std::string& path)
{
    if (a.Option || !a.Prn.empty() || !a.Csv.empty())
        throw TVeltraError(TErrorKind::Usage, "a group file takes no option number, --prn or --csv");
    std::vector<std::string> lines;
    ReadTextLines(path, lines, "a group file");
    // The frequency view saved by `table FILE.res 13 --prn` (or the window's "Save
    // group") is shown as it stands, as the window shows it.
    if (IsFrequencyText(lines)) {
        PrintLines(lines);
        return;
    }
    TDataMod dm;
    dm.Rec.Shell.FileName = path;
    ReadGroupLines(dm, path, lines);
    if (dm.Groups.NotGroupFile)
        throw TVeltraError(TErrorKind::File, "\"" + path +
                                                 "\" is not a group file (its first line is not a \"Data from\" "
                                                 "line) nor a saved frequency view");
    dm.ResultLines = lines;
    SetPresenceAfterGroupOpen(dm);
    PrintLines(TableViewLines(dm));
}

void ShowResultGroup(const TTableArgs& a, const std::string& path)
{
    if (!a.Option)
        throw TVeltraError(TErrorKind::Usage, "give the option number N (1 to 13) after the result file");
    const int n = *a.Option;
    if (n == 13 && !a.Csv.empty())
        throw TVeltraError(TErrorKind::Usage, "the frequency view (13) has no series for --csv");
    const std::string read = n == 13 ? PathWithExtension(path, ".frq") : path;
    RefuseOutputsOverInputs({path, read}, {a.Prn, a.Csv});
    RefuseReadOnly(a.Prn);
    RefuseReadOnly(a.Csv);
    TDataMod dm;
    RunGroupOptionOn(dm, n, path);
    PrintLines(TableViewLines(dm));
    if (!a.Prn.empty()) {
        if (n == 13)
            SaveTextLines(dm, a.Prn);
        else
            SaveGroupFile(dm, a.Prn);
    }
    if (!a.Csv.empty())
        SaveGroupCsv(dm, a.Csv);
}

} // namespace

void AddTableCommand(CLI::App& app, int& status)
{
    auto args = std::make_shared<TTableArgs>();
    CLI::App* cmd = app.add_subcommand(
        "table", "Print an output group of a result file (N = 1..13, the Output page's options), or a group file");
    cmd->add_option("FILE", args->File, "Result file (.res) or group file (.prn), read as named")->required();
    cmd->add_option("N", args->Option,
                    "Output option: 1 root-zone salinities ... 12 rotation key, 13 the frequency file FILE.frq")
        ->check(CLI::Range(1, 13));
    cmd->add_option("--prn", args->Prn,
                    "Also write the group file (for 13: the frequency text, which table reads back)");
    cmd->add_option("--csv", args->Csv, "Also write the group's series as CSV");
    cmd->callback([args, &status] {
        const std::string path = AbsolutePath(args->File);
        if (IsGroupFileName(path))
            ShowGroupFile(*args, path);
        else
            ShowResultGroup(*args, path);
        status = 0;
    });
}

} // namespace veltra::cli
