// Every writer of the program goes through the safe writer: the input file, the
// group file, the saved frequency view, the CSV, the chart picture and Error.lst. A
// disk that fills, a process killed between writing and renaming, a full device
// or a folder in the way never leave part of a file, and the earlier file stays.
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

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
};

class Writers : public ::testing::Test {
protected:
    void SetUp() override
    {
        const fs::path result = fs::path(VELTRA_REFERENCE_DIR) / "field" / "field.res";
        ASSERT_TRUE(fs::exists(result)) << result;
        RunGroupOptionOn(group_, 1, result.string());
        frequency_.Rec.Shell.FileName = result.string();
        RunGroupOptionOn(frequency_, 13, result.string());
        canvas_.Picture = std::string(50000, 'p');
    }

    std::vector<TWriter> All()
    {
        return {
            {"field.inp", [](const std::string& p, TFileSystem& fs) { WriteInputFile(FieldExampleRecord(), p, fs); }},
            {"group.prn", [this](const std::string& p, TFileSystem& fs) { SaveGroupFile(group_, p, fs); }},
            {"freq.prn", [this](const std::string& p, TFileSystem& fs) { SaveTextLines(frequency_, p, fs); }},
            {"group.csv", [this](const std::string& p, TFileSystem& fs) { SaveGroupCsv(group_, p, fs); }},
            {"chart.png", [this](const std::string& p, TFileSystem& fs) { SaveChartPicture(canvas_, p, fs); }},
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

TEST_F(Writers, AFullDiskLeavesTheEarlierFileAndNothingElse)
{
    for (const TWriter& w : All()) {
        SCOPED_TRACE(w.Name);
        const fs::path path = dir_ / w.Name;
        std::ofstream(path, std::ios::binary) << "earlier";
        test::TFaultyFileSystem counting;
        const fs::path measure = dir_ / "measure";
        fs::create_directories(measure);
        w.Write((measure / w.Name).string(), counting);
        const long long size = counting.BytesWritten;
        fs::remove_all(measure);
        ASSERT_GT(size, 20);
        for (long long fits : {0LL, 1LL, size / 2, size - 1}) {
            test::TFaultyFileSystem full;
            full.BytesLeft = fits;
            try {
                w.Write(path.string(), full);
                ADD_FAILURE() << "a full disk reported as success, " << fits << " bytes";
            } catch (const TVeltraError& e) {
                EXPECT_EQ(e.Kind, TErrorKind::File);
                EXPECT_NE(std::string(e.what()).find(path.string()), std::string::npos) << e.what();
            }
            EXPECT_EQ(ReadFile(path), "earlier");
            EXPECT_EQ(Names(), std::set<std::string>{w.Name});
        }
        fs::remove(path);
    }
}

TEST_F(Writers, AKillBetweenWritingAndRenamingLeavesTheEarlierFile)
{
    for (const TWriter& w : All()) {
        SCOPED_TRACE(w.Name);
        const fs::path path = dir_ / w.Name;
        std::ofstream(path, std::ios::binary) << "earlier";
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            test::TFaultyFileSystem killed;
            killed.ReplacesBeforeKill = 0;
            try {
                w.Write(path.string(), killed);
            } catch (...) {}
            ::_exit(0); // not reached: the kill comes first
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 9);
        EXPECT_EQ(ReadFile(path), "earlier");
        // The finished file the killed process left beside the target is not the target.
        for (const auto& e : fs::directory_iterator(dir_))
            if (e.path() != path)
                fs::remove(e.path());
        // And a writer that is not killed replaces it whole.
        w.Write(path.string(), RealFileSystem());
        EXPECT_NE(ReadFile(path), "earlier");
        EXPECT_EQ(Names(), std::set<std::string>{w.Name});
        fs::remove(path);
    }
}

TEST_F(Writers, AFileItsOwnerMayNotWriteIsRefusedNamedAndKept)
{
    for (const TWriter& w : All()) {
        SCOPED_TRACE(w.Name);
        const fs::path path = dir_ / w.Name;
        std::ofstream(path, std::ios::binary) << "earlier";
        fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
        try {
            w.Write(path.string(), RealFileSystem());
            ADD_FAILURE() << "a read-only file replaced";
        } catch (const TVeltraError& e) {
            EXPECT_EQ(e.Kind, TErrorKind::File);
            EXPECT_EQ(std::string(e.what()), "The file \"" + path.string() +
                                                 "\" is read-only (its owner may not write it); it was not replaced.");
        }
        EXPECT_EQ(ReadFile(path), "earlier");
        EXPECT_EQ(Names(), std::set<std::string>{w.Name});
        fs::remove(path);
    }
}

TEST_F(Writers, AFullDeviceFailsAndAFolderIsRefused)
{
    ASSERT_TRUE(fs::exists("/dev/full")) << "/dev/full is needed";
    for (const TWriter& w : All()) {
        SCOPED_TRACE(w.Name);
        const fs::path path = dir_ / w.Name;
        fs::create_symlink("/dev/full", path);
        EXPECT_THROW(w.Write(path.string(), RealFileSystem()), TVeltraError);
        EXPECT_TRUE(fs::is_symlink(path)); // followed, never replaced
        fs::remove(path);
        fs::create_directories(path);
        try {
            w.Write(path.string(), RealFileSystem());
            ADD_FAILURE() << "a folder written over";
        } catch (const TVeltraError& e) {
            EXPECT_EQ(std::string(e.what()), "\"" + path.string() + "\" is a folder, not a file.");
        }
        EXPECT_TRUE(fs::is_empty(path));
        fs::remove(path);
    }
}

} // namespace
} // namespace veltra
