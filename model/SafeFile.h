#pragma once
// Writing whole files so that they never lie: a file that looks complete is
// complete, and a failure (a full disk, an I/O error, a killed process) leaves the
// earlier file as it was. Every file Veltra writes goes through here.
//
// A regular file (or one not there yet) is written in full to a temporary file
// beside it, flushed to the disk, then put in its place in one step, and the folder
// flushed, so that a crash of the machine leaves the old file or the new one. A
// symbolic link is followed to its target. A device or a pipe (/dev/stdout,
// /dev/null, a FIFO) is written through as a stream, its write errors reported. A
// folder is refused, and so is a file its owner may not write (a protected result).
#include <chrono>
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

// A file refused for a reason its message gives (kind File): the writers that put
// their own "could not be written" on a failure pass these on as they are.
class TFileRefusal : public TVeltraError {
public:
    using TVeltraError::TVeltraError;
};

// A folder where a file was meant; says so in its message.
class TFolderError : public TFileRefusal {
public:
    explicit TFolderError(const std::string& path);
};

// A file without write permission for its owner, which is never replaced (nor
// removed by a run), whoever runs the program, root included.
class TReadOnlyError : public TFileRefusal {
public:
    explicit TReadOnlyError(const std::string& path);
};

// Throws TReadOnlyError when `path` (links followed) is a regular file whose owner
// has no write permission; a file not there, a device or a folder passes.
void RefuseReadOnly(const std::string& path);

// A file that cannot be opened or read (kind File); readers with a message of
// their own catch it and show theirs.
class TCannotReadError : public TVeltraError {
public:
    explicit TCannotReadError(const std::string& path);
};

// The file system calls of the writers and of the window, so that tests can make
// them fail (a write that stops after N bytes, a process killed between writing and
// renaming, a folder that refuses new files) or see their order. The writes and
// flushes throw TVeltraError (File) naming `path` when they fail; the other calls
// report success or failure.
class TFileSystem {
public:
    virtual ~TFileSystem() = default;
    // Creates `path`, which must not exist, and writes all of `data` into it.
    virtual void WriteNewFile(const std::string& path, std::string_view data);
    // Puts the data of the file `path` on the disk (fsync).
    virtual void FlushFile(const std::string& path);
    // Puts the names in `folder` on the disk (fsync of the folder), so that a file
    // put in place there stays in place after a crash.
    virtual void FlushFolder(const std::string& folder);
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

// The real file system without a flush per file, for many runs at once (a batch or
// a sweep): one FlushAllFiles at the end, before the summary that reports them,
// costs less than a flush of every file of every case. Holds no state: one may
// serve every thread.
class TFlushAtEndFileSystem final : public TFileSystem {
public:
    void FlushFile(const std::string&) override {}
    void FlushFolder(const std::string&) override {}
};

// Puts everything written to the file system that holds `folder` on the disk
// (syncfs); throws TVeltraError (File) naming the folder when it cannot.
void FlushAllFiles(const std::string& folder);

// A file prepared in full (written and flushed) beside its target and put in its
// place by Commit, which then flushes the folder. A file never committed is removed
// again (a failure before the commit leaves the target as it was). A failure throws
// TVeltraError (File) naming the target, never the temporary file; a folder throws
// TFolderError, a read-only target TReadOnlyError. While it waits, the temporary
// file is locked, so that RemoveStaleTemporaries leaves it alone.
class TPendingFile {
public:
    TPendingFile(const std::string& path, std::string_view text, TFileSystem& fs = RealFileSystem());
    TPendingFile(TPendingFile&& other) noexcept;
    TPendingFile(const TPendingFile&) = delete;
    TPendingFile& operator=(const TPendingFile&) = delete;
    TPendingFile& operator=(TPendingFile&&) = delete;
    ~TPendingFile();
    // PutInPlace, then the folder flushed.
    void Commit();
    // Only the rename: the caller flushes the folder (CommitTogether).
    void PutInPlace();
    const std::string& Path() const { return path_; }
    // The folder the file goes in ("" for a device or pipe), and its flush.
    std::string Folder() const;
    void FlushFolder() const;

private:
    void Unlock() noexcept;

    TFileSystem* fs_;
    std::string path_;      // where the file goes (a link followed)
    std::string temporary_; // the prepared file beside the target
    std::string device_;    // the text for a device or pipe, written through at the commit
    int lock_ = -1;         // holds the temporary file's lock until it is in place or gone
    bool isDevice_ = false;
    bool committed_ = false;
};

// Puts every file in place in the order given, then flushes each of their folders
// once.
void CommitTogether(std::vector<TPendingFile>& files);

// Prepares and commits one file.
void WriteWholeFile(const std::string& path, std::string_view text, TFileSystem& fs = RealFileSystem());

// Prepares every file first and commits them only when all were written, in the
// order given (a file that must never stand beside incomplete ones comes last).
void WriteWholeFiles(const std::vector<std::pair<std::string, std::string>>& files, TFileSystem& fs = RealFileSystem());

// `path` made absolute with its symbolic links followed, those of its folders too,
// the last one even when what it points to is not there yet: the file a writer of
// `path` would write. Throws TVeltraError (File) for a loop of links.
std::string FollowedPath(const std::string& path);

// The temporary files beside `target` are named "." + its name + ".veltra-" and 16
// random hexadecimal digits: unique across processes, containers and machines that
// share a folder, recognisable, and within the 255-byte limit of a file name (a
// long name is cut for it). TemporaryPrefix is the part before the digits.
std::string TemporaryPrefix(const std::string& target);
std::string TemporaryBeside(const std::string& target);

// Removes what writers killed before putting their files in place left beside
// `target` (beside the file a link leads to): its temporary files last changed before `since` that no writer holds
// (locks) any more. A run calls it for its outputs as it starts.
void RemoveStaleTemporaries(const std::string& target, std::chrono::system_clock::time_point since,
                            TFileSystem& fs = RealFileSystem());

// The whole content of a file, refused (kind File) when it is a folder
// (TFolderError), cannot be opened or read (TCannotReadError), or holds more than
// `limit` bytes (TVeltraError; `kind` names what the file should be in that
// message: "an input file"). A device or pipe is read to its end, or to the limit.
std::string ReadWholeFile(const std::string& path, std::size_t limit, const std::string& kind);

// The message for an output file that cannot be written.
std::string CannotWriteMessage(const std::string& path);

} // namespace veltra
