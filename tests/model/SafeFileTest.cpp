// The safe writer's own rules, beside what every writer shows (tests/results/
// WriteSafetyTest.cpp): flushed before the rename and the folder after, temporary
// names that are random and fit the name limit, stale temporaries removed, files their
// owner may not write never replaced.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>

#include <sys/stat.h>

#include "model/SafeFile.h"
#include "support/TFaultyFileSystem.h"
#include "support/TScratchFolder.h"
#include "support/TestFiles.h"

namespace veltra {
namespace {

namespace fs = std::filesystem;

class SafeFile : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return scratch_.Path(name); }
    std::set<std::string> Names() const { return test::EntryNames(dir_); }

    test::TScratchFolder scratch_{"veltra-safefile"};
    const fs::path& dir_ = scratch_.Dir;
};

TEST_F(SafeFile, AFileIsFlushedBeforeItsRenameAndItsFolderAfter)
{
    const std::string target = Path("out.txt");
    WriteWholeFile(target, "earlier");
    {
        test::TFaultyFileSystem files;
        WriteWholeFile(target, "new", files);
        ASSERT_EQ(files.Calls.size(), 4u) << testing::PrintToString(files.Calls);
        const std::string temporary = files.Calls[0].substr(6);
        EXPECT_EQ(files.Calls,
                  (std::vector<std::string>{"write " + temporary, "flush " + temporary,
                                            "replace " + temporary + " > " + target, "flush folder " + dir_.string()}));
    }
    {
        // Files committed together: every one flushed before the first rename, the
        // folder once after the last.
        test::TFaultyFileSystem files;
        WriteWholeFiles({{Path("a"), "a"}, {Path("b"), "b"}}, files);
        std::vector<std::string> kinds;
        for (const std::string& call : files.Calls)
            kinds.push_back(call.substr(0, call.find(' ', call.rfind("flush folder", 0) == 0 ? 6 : 0)));
        EXPECT_EQ(kinds,
                  (std::vector<std::string>{"write", "flush", "write", "flush", "replace", "replace", "flush folder"}));
        EXPECT_EQ(test::ReadFile(Path("a")) + test::ReadFile(Path("b")), "ab");
    }
    // A flush that fails is a failure: the earlier file stays, nothing beside it.
    test::TFaultyFileSystem cannotFlush;
    cannotFlush.FileFlushFails = true;
    EXPECT_EQ(test::FileRefusal([&] { WriteWholeFile(target, "lost", cannotFlush); }), CannotWriteMessage(target));
    EXPECT_EQ(test::ReadFile(target), "new");
    EXPECT_EQ(Names(), (std::set<std::string>{"a", "b", "out.txt"}));
    // The folder's flush failing is never reported as success.
    test::TFaultyFileSystem folderFails;
    folderFails.FolderFlushFails = true;
    EXPECT_NE(test::FileRefusal([&] { WriteWholeFile(target, "unsure", folderFails); }), "");
}

TEST_F(SafeFile, TemporaryNamesAreRandomRecognisableAndFitTheNameLimit)
{
    // A legal name of 254 bytes, ASCII or two-byte characters, is written.
    const std::string ascii(254, 'a');
    std::string accents;
    for (int i = 0; i < 127; ++i)
        accents += "\xc3\xa9"; // é
    for (const std::string& name : {ascii, accents}) {
        WriteWholeFile(Path(name), "text");
        EXPECT_EQ(test::ReadFile(Path(name)), "text");
        const std::string temporary = fs::path(TemporaryBeside(Path(name))).filename().string();
        EXPECT_LE(temporary.size(), 255u);
        const std::string prefix = TemporaryPrefix(Path(name));
        EXPECT_EQ(temporary.compare(0, prefix.size(), prefix), 0);
        // Cut between characters, never inside one.
        const std::string kept = prefix.substr(1, prefix.size() - 1 - std::string(".veltra-").size());
        EXPECT_EQ(name.compare(0, kept.size(), kept), 0);
        EXPECT_NE(static_cast<unsigned char>(name[kept.size()]) & 0xC0, 0x80u);
    }
    // "." + the name + ".veltra-" + 16 hexadecimal digits, never the same twice.
    std::set<std::string> seen;
    for (int i = 0; i < 1000; ++i) {
        const std::string name = fs::path(TemporaryBeside(Path("field.res"))).filename().string();
        ASSERT_EQ(name.size(), std::string(".field.res.veltra-").size() + 16) << name;
        EXPECT_EQ(name.rfind(".field.res.veltra-", 0), 0u) << name;
        EXPECT_EQ(name.find_first_not_of("0123456789abcdef", 18), std::string::npos) << name;
        seen.insert(name);
    }
    EXPECT_EQ(seen.size(), 1000u);
}

TEST_F(SafeFile, StaleTemporariesGoThoseOfWritersStillGoingStay)
{
    const std::string target = Path("field.res");
    const auto since = std::chrono::system_clock::now();
    auto touch = [&](const std::string& path, std::chrono::seconds fromSince) {
        std::ofstream(path, std::ios::binary) << "left";
        fs::last_write_time(path, std::chrono::file_clock::from_sys(since + fromSince));
    };
    const std::string stale = TemporaryBeside(target);
    const std::string fresh = TemporaryBeside(target);
    const std::string otherFile = TemporaryBeside(Path("field.frq"));
    const std::string notOurs = Path(".field.res.veltra-mine");
    touch(stale, std::chrono::seconds(-3600));
    touch(fresh, std::chrono::seconds(1));
    touch(otherFile, std::chrono::seconds(-3600));
    touch(notOurs, std::chrono::seconds(-3600));
    // A writer still going: its temporary file is old but locked.
    TPendingFile going(target, "going");
    std::string goingTemporary;
    for (const auto& e : fs::directory_iterator(dir_))
        if (e.path() != stale && e.path() != fresh && e.path() != notOurs &&
            e.path().filename().string().rfind(".field.res.veltra-", 0) == 0)
            goingTemporary = e.path().string();
    ASSERT_FALSE(goingTemporary.empty());
    touch(goingTemporary, std::chrono::seconds(-3600));

    RemoveStaleTemporaries(target, since);
    EXPECT_FALSE(fs::exists(stale));
    for (const std::string& kept : {fresh, otherFile, notOurs, goingTemporary})
        EXPECT_TRUE(fs::exists(kept)) << kept;
    going.Commit();
    EXPECT_EQ(test::ReadFile(target), "left"); // what touch() wrote into the writer's file
}

TEST_F(SafeFile, AFileItsOwnerMayNotWriteIsNeverReplaced)
{
    const std::string target = Path("kept.res");
    WriteWholeFile(target, "kept");
    fs::create_symlink("kept.res", dir_ / "link.res");
    ::chmod(target.c_str(), 0444);
    // Refused through a link too, named as the user gave it.
    const std::string link = Path("link.res");
    EXPECT_EQ(test::FileRefusal([&] { WriteWholeFile(link, "new"); }),
              "The file \"" + link + "\" is read-only (its owner may not write it); it was not replaced.");
    EXPECT_THROW(WriteWholeFile(target, "new"), TReadOnlyError);
    EXPECT_EQ(test::ReadFile(target), "kept");
    // Write permission for the owner is what counts, whoever runs the program.
    ::chmod(target.c_str(), 0200);
    WriteWholeFile(target, "new");
    ::chmod(target.c_str(), 0600);
    EXPECT_EQ(test::ReadFile(target), "new");
}

} // namespace
} // namespace veltra
