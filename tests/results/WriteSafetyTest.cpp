// Every writer of the program goes through the safe writer: a whole file or none.
// One table of writers (the safe writer itself, the input file, the group file, the
// saved frequency view, the CSV, the chart picture and Error.lst), each tried against
// a disk that fills, a read-only file, a full device, a folder in the way and a link:
// the earlier file stays, nothing else is left, the message names the file the user
// gave; links are followed, permissions kept. (A process killed between writing and
// renaming, and files committed together: the run files' and the safe writer's tests.)
// Then what only the safe writer and reader do: pipes and devices, readers that stop
// at a size limit.
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <thread>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "graphs/ChartPicture.h"
#include "model/ExampleInputs.h"
#include "model/InputCheck.h"
#include "model/InputFile.h"
#include "results/GroupFile.h"
#include "results/OutputGroups.h"
#include "support/TFaultyFileSystem.h"
#include "support/TRecordingCanvas.h"
#include "support/TScratchFolder.h"
#include "support/TestFiles.h"

namespace veltra {
namespace {

namespace fs = std::filesystem;

using test::ReadFile;

struct TWriter {
    const char* Name; // the file it writes, in the scratch folder
    std::function<void(const std::string& path, TFileSystem& fs)> Write;
    // What a failed write says: the safe writer's words, or the file dialogues' ones.
    std::string (*Message)(const std::string& path) = GroupFileMessage;
};

class Writers : public ::testing::Test {
protected:
    void SetUp() override
    {
        const fs::path result = fs::path(VELTRA_REFERENCE_DIR) / "field" / "field.res";
        RunGroupOptionOn(group_, 1, result.string());
        frequency_.Rec.Shell.FileName = result.string();
        RunGroupOptionOn(frequency_, 13, result.string());
        canvas_.Picture = std::string(50000, 'p');
    }

    std::vector<TWriter> All()
    {
        return {
            {"out.txt", [](const std::string& p, TFileSystem& fs) { WriteWholeFile(p, std::string(20000, 'x'), fs); },
             CannotWriteMessage},
            {"field.inp", [](const std::string& p, TFileSystem& fs) { WriteInputFile(FieldExampleRecord(), p, fs); }},
            {"group.prn", [this](const std::string& p, TFileSystem& fs) { SaveGroupFile(group_, p, fs); }},
            {"freq.prn", [this](const std::string& p, TFileSystem& fs) { SaveTextLines(frequency_, p, fs); }},
            {"group.csv", [this](const std::string& p, TFileSystem& fs) { SaveGroupCsv(group_, p, fs); }},
            {"chart.png", [this](const std::string& p, TFileSystem& fs) { SaveChartPicture(canvas_, p, fs); },
             CannotWriteMessage},
            {"Error.lst",
             [](const std::string& p, TFileSystem& fs) {
                 WriteErrorList({" an error"}, fs::path(p).parent_path().string(), fs);
             }},
        };
    }
    std::set<std::string> Names() const { return test::EntryNames(dir_); }

    test::TScratchFolder scratch_{"veltra-writers"};
    const fs::path& dir_ = scratch_.Dir;
    TDataMod group_;
    TDataMod frequency_;
    TRecordingCanvas canvas_;
};

TEST_F(Writers, AFullDiskOrAReadOnlyFileLeavesTheEarlierFileAndNothingElse)
{
    for (const TWriter& w : All()) {
        SCOPED_TRACE(w.Name);
        const fs::path path = dir_ / w.Name;
        test::WriteFile(path, "earlier");
        ::chmod(path.c_str(), 0640);
        test::TFaultyFileSystem counting;
        const fs::path measure = dir_ / "measure";
        fs::create_directories(measure);
        w.Write((measure / w.Name).string(), counting);
        const long long size = counting.BytesWritten;
        const std::string whole = ReadFile(measure / w.Name);
        fs::remove_all(measure);
        ASSERT_GT(size, 20);
        for (long long fits : {0LL, 1LL, size / 2, size - 1}) {
            test::TFaultyFileSystem full;
            full.BytesLeft = fits;
            // The message names the file the user gave, never the temporary one beside it.
            EXPECT_EQ(test::FileRefusal([&] { w.Write(path.string(), full); }), w.Message(path.string())) << fits;
            EXPECT_EQ(ReadFile(path), "earlier");
            EXPECT_EQ(Names(), std::set<std::string>{w.Name});
        }
        // A file its owner may not write is refused, named and kept (root included).
        ::chmod(path.c_str(), 0440);
        EXPECT_EQ(test::FileRefusal([&] { w.Write(path.string(), RealFileSystem()); }),
                  "The file \"" + path.string() + "\" is read-only (its owner may not write it); it was not replaced.");
        EXPECT_EQ(ReadFile(path), "earlier");
        EXPECT_EQ(Names(), std::set<std::string>{w.Name});
        ::chmod(path.c_str(), 0640);
        // A write that succeeds replaces it whole.
        w.Write(path.string(), RealFileSystem());
        EXPECT_EQ(ReadFile(path), whole);
        EXPECT_EQ(Names(), std::set<std::string>{w.Name});
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0640u); // the new file keeps the permissions of the old
        fs::remove(path);
    }
}

TEST_F(Writers, LinksAreFollowedAFullDeviceFailsAndAFolderIsRefused)
{
    for (const TWriter& w : All()) {
        SCOPED_TRACE(w.Name);
        const fs::path path = dir_ / w.Name;
        // A link stays a link; its target gets the text, through a linked folder too.
        fs::create_directories(dir_ / "plain");
        w.Write((dir_ / "plain" / w.Name).string(), RealFileSystem());
        fs::create_directories(dir_ / "real");
        fs::create_directory_symlink("real", dir_ / "alias");
        test::WriteFile(dir_ / "real" / "target", "old");
        fs::create_symlink("target", dir_ / "real" / w.Name);
        w.Write((dir_ / "alias" / w.Name).string(), RealFileSystem());
        EXPECT_TRUE(fs::is_symlink(dir_ / "real" / w.Name));
        EXPECT_EQ(ReadFile(dir_ / "real" / "target"), ReadFile(dir_ / "plain" / w.Name));
        fs::remove_all(dir_ / "real");
        fs::remove(dir_ / "alias");
        fs::remove_all(dir_ / "plain");

        // A full device: a failure, the device (or the link to it) kept.
        test::MakeDevice(path, "/dev/full", 7);
        const fs::file_type kind = fs::symlink_status(path).type();
        EXPECT_EQ(test::FileRefusal([&] { w.Write(path.string(), RealFileSystem()); }), w.Message(path.string()));
        EXPECT_EQ(fs::symlink_status(path).type(), kind);
        fs::remove(path);
        fs::create_directories(path);
        EXPECT_EQ(test::FileRefusal([&] { w.Write(path.string(), RealFileSystem()); }),
                  "\"" + path.string() + "\" is a folder, not a file.");
        if (w.Message == CannotWriteMessage) { // the safe writer's own type
            EXPECT_THROW(w.Write(path.string(), RealFileSystem()), TFolderError);
        }
        EXPECT_TRUE(fs::is_empty(path));
        fs::remove(path);
    }
}

TEST(SafeFile, PipesAndDevicesWrittenThroughReadersLimited)
{
    test::TScratchFolder scratch("veltra-safefile");
    const auto at = [&](const char* name) { return scratch.Path(name); };
    test::MakeDevice(scratch.Dir / "null.txt", "/dev/null", 3);
    WriteWholeFile(at("null.txt"), "nothing");
    EXPECT_TRUE(fs::is_character_file(scratch.Dir / "null.txt")); // written through, not replaced
    ASSERT_EQ(::mkfifo(at("pipe").c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = ReadFile(at("pipe")); });
    WriteWholeFile(at("pipe"), "down the pipe");
    reader.join();
    EXPECT_EQ(received, "down the pipe");
    EXPECT_TRUE(fs::is_fifo(scratch.Dir / "pipe"));

    // Readers stop at their limit and say why.
    const std::string small = scratch.Path("small.inp");
    WriteWholeFile(small, std::string(100, 'a'));
    EXPECT_EQ(ReadWholeFile(small, 100, "an input file"), std::string(100, 'a'));
    EXPECT_EQ(test::FileRefusal([&] { ReadWholeFile(small, 99, "an input file"); }),
              "The file \"" + small + "\" is too large for an input file (more than 0 MB).");
    // A file above the input limit is within the result limit. (Files and a device
    // above the limits in MB, at the command line: tests/cli/files.sh.)
    const std::string big = scratch.Path("big.res");
    std::ofstream(big, std::ios::binary) << std::string(InputFileLimit + 1, ' ');
    EXPECT_EQ(ReadWholeFile(big, ResultFileLimit, "a result file").size(), InputFileLimit + 1);
    // A folder says so; a file that is not there cannot be read.
    EXPECT_THROW(ReadWholeFile(scratch.Dir.string(), InputFileLimit, "an input file"), TFolderError);
    EXPECT_THROW(ReadWholeFile(scratch.Path("none.inp"), InputFileLimit, "an input file"), TCannotReadError);
    EXPECT_EQ(ReadWholeFile("/dev/null", InputFileLimit, "an input file"), "");
}

} // namespace
} // namespace veltra
