// Every error the result readers and writers throw is a TVeltraError whose kind
// says who is at fault: damaged or unreadable files, texts that are no numbers,
// a save before there is a group, a caller's broken promise. (The command line's
// exit statuses for unreadable result and group files: tests/cli.)
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "GroupTestFiles.h"
#include "model/TVeltraError.h"
#include "results/GroupFile.h"
#include "results/OutputGroups.h"
#include "results/TextLists.h"

namespace veltra {
namespace {

std::optional<TErrorKind> KindThrown(const std::function<void()>& action)
{
    try {
        action();
    } catch (const TVeltraError& e) {
        return e.Kind;
    }
    return std::nullopt;
}

TEST(ErrorKind, ResultFilesNumbersOptionsTablesAndSaves)
{
    test::TScratchFolder temp("veltra-result-kinds");
    TDataMod dm, none;
    dm.Rec.Shell.FileName = temp.Path("missing.res");
    const std::vector<std::tuple<const char*, std::function<void()>, std::optional<TErrorKind>>> cases{
        {"frequency file missing", [&] { RunGroupOption(dm, 13); }, TErrorKind::File},
        {"no such file", [&] { ReadTextLines(temp.Path("nowhere"), dm.ResultLines); }, TErrorKind::File},
        {"a cell that is no number", [] { CellToReal("7.O8E+000"); }, TErrorKind::Input},
        {"option 0", [] { GroupOption(0); }, TErrorKind::Usage},
        {"option 14", [] { GroupOption(14); }, TErrorKind::Usage},
        {"option 13", [] { GroupOption(13); }, std::nullopt},
        // A save asked for before any group was made is the caller's mistake.
        {"group file saved before a group", [&] { SaveGroupFile(none, temp.Path("g.prn")); }, TErrorKind::Usage},
        {"CSV saved before a group", [&] { SaveGroupCsv(none, temp.Path("g.csv")); }, TErrorKind::Usage},
        {"unknown table", [&] { BuildGroupTable(dm, "NoSuchTable"); }, TErrorKind::Internal},
        {"unknown group", [&] { ReadResultGroup(dm, "NoSuchGroup"); }, TErrorKind::Internal},
    };
    for (const auto& [name, action, kind] : cases)
        EXPECT_EQ(KindThrown(action), kind) << name;
    EXPECT_TRUE(std::filesystem::is_empty(temp.Dir)); // nothing written
}

} // namespace
} // namespace veltra
