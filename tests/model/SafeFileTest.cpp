// The safe writer and reader that every file of Veltra goes through: whole files or
// none, messages that name the file the user gave, links followed, devices and
// pipes written through, folders refused, and readers that stop at a size limit.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>

#include <fcntl.h>
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
    static std::string Read(const std::string& path) { return test::ReadFile(path); }
    std::set<std::string> Names() const { return test::EntryNames(dir_); }
    // The message of the error `write` throws ("" when it throws none).
    template <typename F>
    static std::string Refusal(F write)
    {
        try {
            write();
        } catch (const TVeltraError& e) {
            EXPECT_EQ(e.Kind, TErrorKind::File);
            return e.what();
        }
        return {};
    }

    test::TScratchFolder scratch_{"veltra-safefile"};
    const fs::path& dir_ = scratch_.Dir;
};

TEST_F(SafeFile, AFailedWriteLeavesTheEarlierFileAndNamesTheTarget)
{
    const std::string target = Path("out.txt");
    WriteWholeFile(target, "earlier\r\n");
    ::chmod(target.c_str(), 0640);
    const std::string text(20000, 'x');
    for (long long fits : {0LL, 1LL, 4096LL, 19999LL}) {
        SCOPED_TRACE(fits);
        test::TFaultyFileSystem full;
        full.BytesLeft = fits;
        // The message names the file the user gave, never the temporary one beside it.
        EXPECT_EQ(Refusal([&] { WriteWholeFile(target, text, full); }), CannotWriteMessage(target));
        EXPECT_EQ(Read(target), "earlier\r\n");
        EXPECT_EQ(Names(), std::set<std::string>{"out.txt"});
    }
    WriteWholeFile(target, text);
    EXPECT_EQ(Read(target), text);
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u); // the new file keeps the permissions of the old
}

TEST_F(SafeFile, LinksAreFollowedDevicesAndPipesWrittenThroughFoldersRefused)
{
    // A link stays a link; its target gets the text.
    WriteWholeFile(Path("target.txt"), "old");
    fs::create_symlink("target.txt", dir_ / "link.txt");
    WriteWholeFile(Path("link.txt"), "new");
    EXPECT_TRUE(fs::is_symlink(dir_ / "link.txt"));
    EXPECT_EQ(Read(Path("target.txt")), "new");
    // A link into a folder reached through another link.
    fs::create_directories(dir_ / "real");
    fs::create_directory_symlink("real", dir_ / "alias");
    WriteWholeFile((dir_ / "alias" / "f.txt").string(), "through");
    EXPECT_EQ(Read((dir_ / "real" / "f.txt").string()), "through");

    // A device is written through and stays a device; a full one is a failure. The
    // devices are reached through links, so that a writer gone wrong would replace
    // the link, never a device of the machine.
    ASSERT_TRUE(fs::exists("/dev/null") && fs::exists("/dev/full")) << "/dev/null and /dev/full are needed";
    fs::create_symlink("/dev/null", dir_ / "null.txt");
    WriteWholeFile(Path("null.txt"), "nothing");
    EXPECT_TRUE(fs::is_symlink(dir_ / "null.txt"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    fs::create_symlink("/dev/full", dir_ / "full.txt");
    EXPECT_EQ(Refusal([&] { WriteWholeFile(Path("full.txt"), "x"); }), CannotWriteMessage(Path("full.txt")));
    EXPECT_TRUE(fs::is_symlink(dir_ / "full.txt"));

    // A pipe is written through, as a stream.
    ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = Read(Path("pipe")); });
    WriteWholeFile(Path("pipe"), "down the pipe");
    reader.join();
    EXPECT_EQ(received, "down the pipe");
    EXPECT_TRUE(fs::is_fifo(dir_ / "pipe"));

    // A folder is refused and stays as it was.
    fs::create_directories(dir_ / "folder");
    EXPECT_EQ(Refusal([&] { WriteWholeFile(Path("folder"), "x"); }),
              "\"" + Path("folder") + "\" is a folder, not a file.");
    EXPECT_THROW(WriteWholeFile(Path("folder"), "x"), TFolderError);
    EXPECT_TRUE(fs::is_empty(dir_ / "folder"));
}

TEST_F(SafeFile, FilesAreCommittedTogetherOrNotAtAll)
{
    WriteWholeFile(Path("a"), "old a");
    WriteWholeFile(Path("b"), "old b");
    test::TFaultyFileSystem full;
    full.BytesLeft = 6; // the first fits, the second does not
    EXPECT_THROW(WriteWholeFiles({{Path("a"), "new a"}, {Path("b"), "new b"}}, full), TVeltraError);
    EXPECT_EQ(Read(Path("a")), "old a");
    EXPECT_EQ(Read(Path("b")), "old b");
    EXPECT_EQ(Names(), (std::set<std::string>{"a", "b"}));
    WriteWholeFiles({{Path("a"), "new a"}, {Path("b"), "new b"}});
    EXPECT_EQ(Read(Path("a")) + Read(Path("b")), "new anew b");
}

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
    }
    // A flush that fails is a failure: the earlier file stays, nothing beside it.
    test::TFaultyFileSystem cannotFlush;
    cannotFlush.FileFlushFails = true;
    EXPECT_EQ(Refusal([&] { WriteWholeFile(target, "lost", cannotFlush); }), CannotWriteMessage(target));
    EXPECT_EQ(Read(target), "new");
    EXPECT_EQ(Names(), (std::set<std::string>{"a", "b", "out.txt"}));
    // The folder's flush failing is never reported as success.
    test::TFaultyFileSystem folderFails;
    folderFails.FolderFlushFails = true;
    EXPECT_NE(Refusal([&] { WriteWholeFile(target, "unsure", folderFails); }), "");
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
        EXPECT_EQ(Read(Path(name)), "text");
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
    auto touch = [](const std::string& path, std::chrono::seconds fromSince, std::chrono::system_clock::time_point t0) {
        std::ofstream(path, std::ios::binary) << "left";
        const auto when = std::chrono::duration_cast<std::chrono::nanoseconds>((t0 + fromSince).time_since_epoch());
        const timespec times[2] = {{when.count() / 1000000000, when.count() % 1000000000},
                                   {when.count() / 1000000000, when.count() % 1000000000}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    };
    const std::string stale = TemporaryBeside(target);
    const std::string fresh = TemporaryBeside(target);
    const std::string otherFile = TemporaryBeside(Path("field.frq"));
    const std::string notOurs = Path(".field.res.veltra-mine");
    touch(stale, std::chrono::seconds(-3600), since);
    touch(fresh, std::chrono::seconds(1), since);
    touch(otherFile, std::chrono::seconds(-3600), since);
    touch(notOurs, std::chrono::seconds(-3600), since);
    // A writer still going: its temporary file is old but locked.
    TPendingFile going(target, "going");
    std::string goingTemporary;
    for (const auto& e : fs::directory_iterator(dir_))
        if (e.path() != stale && e.path() != fresh && e.path() != notOurs &&
            e.path().filename().string().rfind(".field.res.veltra-", 0) == 0)
            goingTemporary = e.path().string();
    ASSERT_FALSE(goingTemporary.empty());
    touch(goingTemporary, std::chrono::seconds(-3600), since);

    RemoveStaleTemporaries(target, since);
    EXPECT_FALSE(fs::exists(stale));
    for (const std::string& kept : {fresh, otherFile, notOurs, goingTemporary})
        EXPECT_TRUE(fs::exists(kept)) << kept;
    going.Commit();
    EXPECT_EQ(Read(target), "left"); // what touch() wrote into the writer's file
}

TEST_F(SafeFile, AFileItsOwnerMayNotWriteIsNeverReplaced)
{
    const std::string target = Path("kept.res");
    WriteWholeFile(target, "kept");
    fs::create_symlink("kept.res", dir_ / "link.res");
    ::chmod(target.c_str(), 0444);
    const std::string message = "is read-only (its owner may not write it); it was not replaced.";
    for (const std::string& path : {target, Path("link.res")}) {
        EXPECT_EQ(Refusal([&] { WriteWholeFile(path, "new"); }), "The file \"" + path + "\" " + message);
        EXPECT_THROW(WriteWholeFile(path, "new"), TReadOnlyError);
        EXPECT_THROW(RefuseReadOnly(path), TReadOnlyError);
    }
    EXPECT_EQ(Read(target), "kept");
    EXPECT_EQ(Names(), (std::set<std::string>{"kept.res", "link.res"}));
    // Write permission for the owner is what counts, whoever runs the program.
    ::chmod(target.c_str(), 0200);
    WriteWholeFile(target, "new");
    ::chmod(target.c_str(), 0600);
    EXPECT_EQ(Read(target), "new");
    EXPECT_NO_THROW(RefuseReadOnly(Path("none.res")));
    EXPECT_NO_THROW(RefuseReadOnly("/dev/null"));
}

TEST_F(SafeFile, ReadersStopAtTheirLimitAndSayWhy)
{
    const std::string small = Path("small.inp");
    WriteWholeFile(small, std::string(100, 'a'));
    EXPECT_EQ(ReadWholeFile(small, 100, "an input file"), std::string(100, 'a'));
    EXPECT_EQ(Refusal([&] { ReadWholeFile(small, 99, "an input file"); }),
              "The file \"" + small + "\" is too large for an input file (more than 0 MB).");
    // A file larger than a limit in MB, and a device that never ends.
    const std::string big = Path("big.res");
    {
        std::ofstream(big, std::ios::binary) << std::string(InputFileLimit + 1, ' ');
    }
    EXPECT_EQ(Refusal([&] { ReadWholeFile(big, InputFileLimit, "an input file"); }),
              "The file \"" + big + "\" is too large for an input file (more than 1 MB).");
    EXPECT_EQ(ReadWholeFile(big, ResultFileLimit, "a result file").size(), InputFileLimit + 1);
    ASSERT_TRUE(fs::exists("/dev/zero")) << "/dev/zero is needed";
    EXPECT_EQ(Refusal([&] { ReadWholeFile("/dev/zero", InputFileLimit, "an input file"); }),
              "The file \"/dev/zero\" is too large for an input file (more than 1 MB).");
    // A folder says so; a file that is not there cannot be read.
    EXPECT_THROW(ReadWholeFile(dir_.string(), InputFileLimit, "an input file"), TFolderError);
    EXPECT_THROW(ReadWholeFile(Path("none.inp"), InputFileLimit, "an input file"), TCannotReadError);
    EXPECT_EQ(ReadWholeFile("/dev/null", InputFileLimit, "an input file"), "");
}

} // namespace
} // namespace veltra
