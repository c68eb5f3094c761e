#pragma once
// Writing whole files so that they never lie: a file that looks complete is
// complete, and a failure (a full disk, an I/O error, a killed process) leaves the
// earlier file as it was. Every file Veltra writes goes through here.
//
// A regular file (or one not there yet) is written in full to a temporary file
// beside it, then put in its place in one step. A symbolic link is followed to its
// target. A device or a pipe (/dev/stdout, /dev/null, a FIFO) is written through as
// a stream, its write errors reported. A folder is refused.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/TVeltraError.h"

namespace veltra {

// What the readers take in at most. A 99-year result file of four seasons is
// under 1 MB, an input file under 2 kB: a larger file is not one of ours (or
// /dev/zero), and reading it whole would only eat the memory.
constexpr std::size_t InputFileLimit = 1024u * 1024;       // input files (.inp)
constexpr std::size_t ResultFileLimit = 64u * 1024 * 1024; // result, frequency and group files

// A folder where a file was meant (kind File); says so in its message.
class TFolderError : public TVeltraError {
public:
    explicit TFolderError(const std::string& path);
};

// A file that cannot be opened or read (kind File); readers with a message of
// their own catch it and show theirs.
class TCannotReadError : public TVeltraError {
public:
    explicit TCannotReadError(const std::string& path);
};

// The file system calls of the writers and of the window, so that tests can make
// them fail (a write that stops after N bytes, a process killed between writing and
// renaming, a folder that refuses new files). The writes throw TVeltraError (File)
// naming `path` when they fail; the other calls report success or failure.
class TFileSystem {
public:
    virtual ~TFileSystem() = default;
    // Creates `path`, which must not exist, and writes all of `data` into it.
    virtual void WriteNewFile(const std::string& path, std::string_view data);
    // Writes `data` to an existing device or pipe.
    virtual void WriteThrough(const std::string& path, std::string_view data);
    // Puts `from` in the place of `to` in one step (`to` may exist).
    virtual void Replace(const std::string& from, const std::string& to);
    // Removes `path` if it is there; never throws.
    virtual void Remove(const std::string& path) noexcept;
    // True when `path` is a regular file (a link followed).
    virtual bool FileExists(const std::string& path);
    // Creates `path` empty; a file already there is left as it is.
    virtual bool CreateEmptyFile(const std::string& path);
    // The working folder, and changing it.
    virtual std::string GetCurrentDir();
    virtual bool SetCurrentDir(const std::string& path);
};

// The real file system.
TFileSystem& RealFileSystem();

// A file prepared in full beside its target and put in its place by Commit. A file
// never committed is removed again (a failure before the commit leaves the target
// as it was). A failure throws TVeltraError (File) naming the target, never the
// temporary file; a folder throws TFolderError.
class TPendingFile {
public:
    TPendingFile(const std::string& path, std::string_view text, TFileSystem& fs = RealFileSystem());
    TPendingFile(TPendingFile&& other) noexcept;
    TPendingFile(const TPendingFile&) = delete;
    TPendingFile& operator=(const TPendingFile&) = delete;
    TPendingFile& operator=(TPendingFile&&) = delete;
    ~TPendingFile();
    void Commit();
    const std::string& Path() const { return path_; }

private:
    TFileSystem* fs_;
    std::string path_;      // where the file goes (a link followed)
    std::string temporary_; // the prepared file beside the target
    std::string device_;    // the text for a device or pipe, written through at the commit
    bool isDevice_ = false;
    bool committed_ = false;
};

// Prepares and commits one file.
void WriteWholeFile(const std::string& path, std::string_view text, TFileSystem& fs = RealFileSystem());

// Prepares every file first and commits them only when all were written, in the
// order given (a file that must never stand beside incomplete ones comes last).
void WriteWholeFiles(const std::vector<std::pair<std::string, std::string>>& files, TFileSystem& fs = RealFileSystem());

// The whole content of a file, refused (kind File) when it is a folder
// (TFolderError), cannot be opened or read (TCannotReadError), or holds more than
// `limit` bytes (TVeltraError; `kind` names what the file should be in that
// message: "an input file"). A device or pipe is read to its end, or to the limit.
std::string ReadWholeFile(const std::string& path, std::size_t limit, const std::string& kind);

// The message for an output file that cannot be written.
std::string CannotWriteMessage(const std::string& path);

} // namespace veltra
