#pragma once
// A file system whose writes fail on purpose: a disk that fills after so many
// bytes, or a process killed between writing a file and putting it in place.
#include <string>
#include <string_view>

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

    void WriteNewFile(const std::string& path, std::string_view data) override
    {
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
        if (ReplacesBeforeKill == 0)
            ::_exit(9);
        if (ReplacesBeforeKill > 0)
            --ReplacesBeforeKill;
        TFileSystem::Replace(from, to);
    }
};

} // namespace veltra::test
