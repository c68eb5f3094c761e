// Every error the result readers and writers throw is a TVeltraError whose kind
// says who is at fault: damaged or unreadable files, texts that are no numbers,
// a save before there is a group, a caller's broken promise.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "GroupTestFiles.h"
#include "model/TVeltraError.h"
#include "results/GroupFile.h"
#include "results/OutputGroups.h"
#include "results/TextLists.h"

namespace veltra {
namespace {

using testing::TTempFolder;
using testing::WriteBytes;

std::optional<TErrorKind> KindThrown(const std::function<void()>& action)
{
    try {
        action();
    } catch (const TVeltraError& e) {
        return e.Kind;
    }
    return std::nullopt;
}

TEST(ErrorKind, ResultAndGroupFiles)
{
    TTempFolder temp("result-kinds");
    TDataMod dm;
    dm.Rec.FileName = temp.File("missing.res");
    EXPECT_EQ(KindThrown([&] { RunGroupOption(dm, 1); }), TErrorKind::File);
    dm.Rec.FileName = temp.File("missing.res");
    EXPECT_EQ(KindThrown([&] { RunGroupOption(dm, 13); }), TErrorKind::File);
    EXPECT_EQ(KindThrown([&] { LoadWarningList(dm, temp.File("nowhere")); }), TErrorKind::File);

    WriteBytes(temp.Path() / "short.prn", "\"Data from: x\"\r\n1\r\n2\r\n");
    dm.Rec.FileName = temp.File("short.prn");
    EXPECT_EQ(KindThrown([&] { ReadGroupFile(dm); }), TErrorKind::File);

    WriteBytes(temp.Path() / "empty.res", " VELTRA\r\n");
    dm.Rec.FileName = temp.File("empty.res");
    EXPECT_EQ(KindThrown([&] { RunGroupOption(dm, 1); }), TErrorKind::File);

    // A save asked for before any group was made is the caller's mistake; nothing written.
    TDataMod none;
    EXPECT_EQ(KindThrown([&] { SaveGroupFile(none, temp.File("g.prn")); }), TErrorKind::Usage);
    EXPECT_EQ(KindThrown([&] { SaveGroupCsv(none, temp.File("g.csv")); }), TErrorKind::Usage);
    EXPECT_FALSE(std::filesystem::exists(temp.File("g.prn")));
    EXPECT_FALSE(std::filesystem::exists(temp.File("g.csv")));
}

TEST(ErrorKind, NumbersOptionsAndTables)
{
    EXPECT_EQ(KindThrown([] { CellToReal("7.O8E+000"); }), TErrorKind::Input);
    EXPECT_EQ(KindThrown([] { GroupOption(0); }), TErrorKind::Usage);
    EXPECT_EQ(KindThrown([] { GroupOption(14); }), TErrorKind::Usage);
    EXPECT_EQ(KindThrown([] { GroupOption(13); }), std::nullopt);
    TDataMod dm;
    EXPECT_EQ(KindThrown([&] { BuildGroupTable(dm, "NoSuchTable"); }), TErrorKind::Internal);
    EXPECT_EQ(KindThrown([&] { ReadResultGroup(dm, "NoSuchGroup"); }), TErrorKind::Internal);
}

} // namespace
} // namespace veltra
