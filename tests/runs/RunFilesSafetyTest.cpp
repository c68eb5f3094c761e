// The files of a run never lie: a rerun that cannot write, or is killed while it
// writes, leaves each earlier file whole and no run marker; a run decides from its
// own check. (What input errors delete, and what a series going on keeps, is checked
// through the window.)
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "engine/UCalculate.h"
#include "model/ExampleInputs.h"
#include "model/InputCheck.h"
#include "model/InputFile.h"
#include "model/TVeltraError.h"
#include "runs/Calculate.h"
#include "runs/CaseRun.h"
#include "support/TFaultyFileSystem.h"
#include "support/TScratchFolder.h"
#include "support/TestFiles.h"

namespace veltra {
namespace {

namespace fs = std::filesystem;

using test::ReadFile;

class RunFiles : public ::testing::Test {
protected:
    // A new run of `rec` saved as folder/field.inp (the scratch folder unless named);
    // Error.lst and warning.lst in `work` (that folder unless named).
    TCalculateResult Run(TDataMod& dm, TFileSystem* files = nullptr, fs::path folder = {}, fs::path work = {})
    {
        if (folder.empty())
            folder = dir_;
        if (work.empty())
            work = folder;
        TEngineState st;
        TAnnualCarry carry;
        ClearOneShotFlags(st);
        StartNewRun(dm.Rec, st, carry, (folder / "field.inp").string());
        TSilentProgress progress;
        TCalculateOptions options;
        options.KeepWarningList = true;
        options.KeepErrorListWithErrors = true;
        options.Files = files;
        return Calculate(dm, st, carry, work.string(), progress, options);
    }

    // The field example run once, with a changed copy to rerun.
    void RunOnce()
    {
        TDataMod dm;
        dm.Rec = FieldExampleRecord();
        ASSERT_TRUE(Run(dm).Ran);
        for (const char* f : {"field.res", "field.frq", "warning.lst", "field.trf"})
            before_[f] = ReadFile(dir_ / f);
    }
    static TDataMod Changed()
    {
        TDataMod dm;
        dm.Rec = FieldExampleRecord();
        dm.Rec.Ny = 12; // a rerun that writes other files
        dm.Rec.SoA[1] = 0.6;
        return dm;
    }

    test::TScratchFolder scratch_{"veltra-safety"};
    const fs::path& dir_ = scratch_.Dir;
    std::map<std::string, std::string> before_;
};

// One row per fault: a disk that fills after so many bytes of the rerun, or a process
// killed after so many of its files were put in place. Each file is then the earlier
// one or the rerun's, whole (all earlier ones when the disk filled, a failure
// reported); the marker of the earlier run is gone. A later run removes what the
// killed ones left.
TEST_F(RunFiles, AFailedOrKilledRerunLeavesEveryFileWholeAndNoMarker)
{
    const char* const files[] = {"field.res", "field.frq", "warning.lst"};
    // What the rerun writes when nothing goes wrong, and how much; then the earlier run.
    test::TFaultyFileSystem counting;
    TDataMod reference = Changed();
    Run(reference, &counting);
    const long long total = counting.BytesWritten;
    ASSERT_GT(total, 10000);
    std::map<std::string, std::string> after;
    for (const char* f : files)
        after[f] = ReadFile(dir_ / f);
    RunOnce();

    struct TFault {
        long long Fits; // bytes left on the disk; -1: no limit
        int Replaced;   // files put in place before the kill; -1: no kill
    };
    for (const TFault fault :
         {TFault{0, -1}, TFault{1, -1}, TFault{4096, -1}, TFault{total / 2, -1}, TFault{total * 9 / 10, -1},
          TFault{-1, 0}, TFault{-1, 2}, TFault{-1, 3}, TFault{-1, 1}}) {
        SCOPED_TRACE(::testing::Message() << "fits " << fault.Fits << ", replaced " << fault.Replaced);
        test::TFaultyFileSystem faulty;
        faulty.BytesLeft = fault.Fits;
        faulty.ReplacesBeforeKill = fault.Replaced;
        if (fault.Replaced < 0) {
            TDataMod dm = Changed();
            try {
                Run(dm, &faulty);
                ADD_FAILURE() << "a full disk reported as success";
            } catch (const TVeltraError& e) {
                EXPECT_EQ(e.Kind, TErrorKind::File);
            }
        } else {
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                TDataMod dm = Changed();
                try {
                    Run(dm, &faulty);
                } catch (...) {}
                ::_exit(0); // not reached: the kill comes first
            }
            int status = 0;
            ::waitpid(child, &status, 0);
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 9);
        }
        int renewed = 0;
        for (const char* f : files) {
            const std::string now = ReadFile(dir_ / f);
            EXPECT_TRUE(now == before_[f] || now == after[f]) << f;
            renewed += now == after[f] && now != before_[f];
        }
        EXPECT_EQ(renewed, std::max(fault.Replaced, 0));
        EXPECT_FALSE(fs::exists(dir_ / "field.trf"));
        if (fault.Replaced < 0) { // nothing beside the earlier files
            EXPECT_EQ(test::EntryNames(dir_), (std::set<std::string>{"field.res", "field.frq", "warning.lst"}));
        }
        // Put the earlier files back for the next fault.
        for (const char* f : files)
            std::ofstream(dir_ / f, std::ios::binary) << before_[f];
    }
    // What the last killed process left beside the targets (the old .res, the new .frq
    // and warning.lst), which the next run removes.
    const auto hidden = [&] {
        std::set<std::string> names;
        for (const std::string& name : test::EntryNames(dir_))
            if (name.rfind(".", 0) == 0)
                names.insert(name);
        return names;
    };
    ASSERT_GE(hidden().size(), 2u);
    TDataMod dm = Changed();
    ASSERT_TRUE(Run(dm).Ran);
    EXPECT_EQ(hidden(), std::set<std::string>{});
    EXPECT_EQ(ReadFile(dir_ / "field.trf"), "2\r\n");
}

TEST_F(RunFiles, TheMarkerGoesInPlaceOnlyOnceTheOtherFilesAndTheirFoldersAreOnTheDisk)
{
    const fs::path work = dir_ / "work"; // warning.lst in a folder of its own
    fs::create_directories(work);
    TDataMod dm;
    dm.Rec = FieldExampleRecord();
    test::TFaultyFileSystem files;
    ASSERT_TRUE(Run(dm, &files, dir_, work).Ran);
    // Where each call comes first, a rename named by its target (each file flushed
    // before it: the safe writer's own tests).
    std::map<std::string, std::size_t> first;
    for (std::size_t i = 0; i < files.Calls.size(); ++i) {
        const std::string& c = files.Calls[i];
        first.emplace(c.rfind("replace ", 0) == 0 ? "replace" + c.substr(c.find(" > ")) : c, i);
    }
    auto at = [&](const std::string& call) {
        EXPECT_EQ(first.count(call), 1u) << call << " in " << testing::PrintToString(files.Calls);
        return first[call];
    };
    const std::size_t marker = at("replace > " + (dir_ / "field.trf").string());
    for (const fs::path& target : {dir_ / "field.res", dir_ / "field.frq", work / "warning.lst"}) {
        SCOPED_TRACE(target);
        const std::size_t folder = at("flush folder " + target.parent_path().string());
        EXPECT_LT(at("replace > " + target.string()), folder);
        EXPECT_LT(folder, marker);
    }
    // Nothing after the marker but its folder's flush.
    EXPECT_EQ(std::vector<std::string>(files.Calls.begin() + marker + 1, files.Calls.end()),
              std::vector<std::string>{"flush folder " + dir_.string()});
}

TEST_F(RunFiles, AProtectedFileRefusesTheRunBeforeAnythingIsTouched)
{
    RunOnce();
    WriteWholeFile((dir_ / "Error.lst").string(), "mine\r\n");
    before_["Error.lst"] = "mine\r\n";
    for (const char* f : {"field.res", "field.frq", "field.trf", "warning.lst", "Error.lst"}) {
        for (bool inputErrors : {false, true}) {
            SCOPED_TRACE(std::string(f) + (inputErrors ? ", input errors" : ""));
            fs::permissions(dir_ / f, fs::perms::owner_write, fs::perm_options::remove);
            TDataMod dm = Changed();
            if (inputErrors)
                dm.Rec.Per = -1;
            try {
                Run(dm);
                ADD_FAILURE() << "a read-only file replaced";
            } catch (const TReadOnlyError& e) {
                EXPECT_EQ(std::string(e.what()),
                          "The file \"" + (dir_ / f).string() +
                              "\" is read-only (its owner may not write it); it was not replaced.");
            }
            for (const auto& [name, text] : before_)
                EXPECT_EQ(ReadFile(dir_ / name), text) << name;
            fs::permissions(dir_ / f, fs::perms::owner_write, fs::perm_options::add);
        }
    }
}

TEST_F(RunFiles, ACaseOfManyWritesThroughTheFileSystemItIsGivenAndIsFlushedAtTheEnd)
{
    WriteWholeFile((dir_ / "field.inp").string(), InputFileText(FieldExampleRecord()));
    test::TFaultyFileSystem files;
    const TCaseOutcome outcome = RunCase({(dir_ / "field.inp").string()}, dir_.string(), files);
    EXPECT_EQ(outcome.Status, TCaseStatus::Ok) << outcome.Message;
    EXPECT_EQ(files.Calls.back(), "flush folder " + dir_.string());
    // A batch passes a file system without a flush per file, then flushes once: a
    // folder it cannot flush is a failure.
    EXPECT_THROW(FlushAllFiles((dir_ / "none").string()), TVeltraError);
}

TEST_F(RunFiles, ARunDecidesFromItsOwnCheck)
{
    // A stale Error.lst saying "no errors" does not let a bad input run.
    std::ofstream(dir_ / "Error.lst", std::ios::binary) << ErrorListHeading << "\r\n\r\n";
    TDataMod bad;
    bad.Rec = FieldExampleRecord();
    bad.Rec.Per = -1;
    const TCalculateResult r = Run(bad);
    EXPECT_TRUE(r.InputErrors);
    EXPECT_FALSE(r.Ran);
    EXPECT_FALSE(fs::exists(dir_ / "field.res"));
    ASSERT_GE(bad.ErrorLines.size(), 3u);
    EXPECT_EQ(ReadFile(dir_ / "Error.lst").find(bad.ErrorLines[2]), std::string(ErrorListHeading).size() + 4);

    // And a stale list of errors does not stop a good input.
    TDataMod good;
    good.Rec = FieldExampleRecord();
    EXPECT_TRUE(Run(good).Ran);
    EXPECT_FALSE(fs::exists(dir_ / "Error.lst"));
}

} // namespace
} // namespace veltra
