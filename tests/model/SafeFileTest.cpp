// The safe writer and reader that every file of Veltra goes through: whole files or
// none, messages that name the file the user gave, links followed, devices and
// pipes written through, folders refused, and readers that stop at a size limit.
#include <gtest/gtest.h>

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
