#pragma once
// A file system whose writes fail on purpose: a disk that fills after so many
// bytes, a process killed between writing a file and putting it in place, a disk
// that cannot flush; and that lists the calls in their order. And the message of
// the refusal a write ends in.
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "model/SafeFile.h"
#include "model/TVeltraError.h"

namespace veltra::test {

class TFaultyFileSystem final : public TFileSystem {
public:
    // Bytes that still fit on the disk; negative: no limit.
    long long BytesLeft = -1;
    // Files put in place before the process dies; negative: it never dies.
    int ReplacesBeforeKill = -1;
    // Bytes written so far.
    long long BytesWritten = 0;
    // Flushes that fail.
    bool FileFlushFails = false;
    bool FolderFlushFails = false;
    // The calls, in order: "write PATH", "flush PATH", "replace FROM > TO",
    // "flush folder FOLDER", "remove PATH".
    std::vector<std::string> Calls;

    void FlushFile(const std::string& path) override
    {
        Calls.push_back("flush " + path);
        if (FileFlushFails)
            throw TVeltraError(TErrorKind::File, CannotWriteMessage(path));
        TFileSystem::FlushFile(path);
    }

    void FlushFolder(const std::string& folder) override
    {
        Calls.push_back("flush folder " + folder);
        if (FolderFlushFails)
            throw TVeltraError(TErrorKind::File, "The folder \"" + folder + "\" could not be written to the disk.");
        TFileSystem::FlushFolder(folder);
    }

    void Remove(const std::string& path) noexcept override
    {
        try {
            Calls.push_back("remove " + path);
        } catch (...) {}
        TFileSystem::Remove(path);
    }

    void WriteNewFile(const std::string& path, std::string_view data) override
    {
        Calls.push_back("write " + path);
        if (BytesLeft >= 0 && static_cast<long long>(data.size()) > BytesLeft) {
            // What a full disk leaves: the part that fitted, then the failure.
            TFileSystem::WriteNewFile(path, data.substr(0, static_cast<std::size_t>(BytesLeft)));
            BytesLeft = 0;
            Remove(path);
            throw TVeltraError(TErrorKind::File, CannotWriteMessage(path));
        }
        if (BytesLeft >= 0)
            BytesLeft -= static_cast<long long>(data.size());
        BytesWritten += static_cast<long long>(data.size());
        TFileSystem::WriteNewFile(path, data);
    }

    void Replace(const std::string& from, const std::string& to) override
    {
        Calls.push_back("replace " + from + " > " + to);
        if (ReplacesBeforeKill == 0)
            ::_exit(9);
        if (ReplacesBeforeKill > 0)
            --ReplacesBeforeKill;
        TFileSystem::Replace(from, to);
    }
};

// The message of the error `write` throws, which must be of `kind` (a File error
// unless named; "" when it throws none).
template <typename F>
std::string FileRefusal(F write, TErrorKind kind = TErrorKind::File)
{
    try {
        write();
    } catch (const TVeltraError& e) {
        EXPECT_EQ(e.Kind, kind) << e.what();
        return e.what();
    }
    return {};
}

} // namespace veltra::test
