#include "model/SafeFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/TVeltraError.h"

namespace veltra {

namespace fs = std::filesystem;

std::string CannotWriteMessage(const std::string& path)
{
    return "The file \"" + path + "\" could not be written.";
}

namespace {

[[noreturn]] void Fail(const std::string& text) { throw TVeltraError(TErrorKind::File, text); }

// Writes all of `data` to `fd`, as many calls as it takes.
bool WriteAll(int fd, std::string_view data)
{
    const char* p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// `path` with its symbolic links followed (the target need not exist yet).
std::string Resolved(const std::string& path)
{
    fs::path p = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(p, ec))
            return p.string();
        const fs::path target = fs::read_symlink(p, ec);
        if (ec)
            return p.string();
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    Fail("The file \"" + path + "\" could not be written: too many symbolic links.");
}

// A name beside `target` that no other writer (thread or process) uses.
std::string TemporaryBeside(const std::string& target)
{
    static std::atomic<unsigned> counter{0};
    const fs::path t(target);
    std::string name = ".";
    name += t.filename().string();
    name += ".veltra-";
    name += std::to_string(::getpid());
    name += '-';
    name += std::to_string(counter.fetch_add(1));
    return (t.parent_path() / name).string();
}

} // namespace

void TFileSystem::WriteNewFile(const std::string& path, std::string_view data)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        Fail(CannotWriteMessage(path));
    const bool written = WriteAll(fd, data);
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        ::unlink(path.c_str());
        Fail(CannotWriteMessage(path));
    }
}

void TFileSystem::WriteThrough(const std::string& path, std::string_view data)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        Fail(CannotWriteMessage(path));
    const bool written = WriteAll(fd, data);
    const bool closed = ::close(fd) == 0;
    if (!written || !closed)
        Fail(CannotWriteMessage(path));
}

void TFileSystem::Replace(const std::string& from, const std::string& to)
{
    // Exchanging the two names puts the new file in place in one step and, unlike a
    // rename over the old file, does not make the file system write the new file's
    // data out at once (which costs more than a whole run).
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_EXCHANGE) == 0) {
        ::unlink(from.c_str()); // now the old file
        return;
    }
    if (::rename(from.c_str(), to.c_str()) != 0)
        Fail(CannotWriteMessage(to));
}

void TFileSystem::Remove(const std::string& path) noexcept { ::unlink(path.c_str()); }

TFileSystem& RealFileSystem()
{
    static TFileSystem real;
    return real;
}

TPendingFile::TPendingFile(const std::string& path, std::string_view text, TFileSystem& fs) : fs_(&fs)
{
    path_ = Resolved(path);
    struct stat info {};
    const bool exists = ::stat(path_.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode))
        Fail("\"" + path + "\" is a folder, not a file.");
    if (exists && !S_ISREG(info.st_mode)) {
        // A device or a pipe is not replaced: it is written through, at the commit.
        device_.assign(text);
        isDevice_ = true;
        return;
    }
    temporary_ = TemporaryBeside(path_);
    fs_->WriteNewFile(temporary_, text);
    if (exists) // the new file keeps the old one's permissions
        ::chmod(temporary_.c_str(), info.st_mode & 07777);
}

TPendingFile::TPendingFile(TPendingFile&& other) noexcept
    : fs_(other.fs_), path_(std::move(other.path_)), temporary_(std::move(other.temporary_)),
      device_(std::move(other.device_)), isDevice_(other.isDevice_), committed_(other.committed_)
{
    other.temporary_.clear();
    other.committed_ = true;
}

TPendingFile::~TPendingFile()
{
    if (!committed_ && !temporary_.empty())
        fs_->Remove(temporary_);
}

void TPendingFile::Commit()
{
    if (committed_)
        return;
    if (isDevice_)
        fs_->WriteThrough(path_, device_);
    else
        fs_->Replace(temporary_, path_);
    committed_ = true;
}

void WriteWholeFile(const std::string& path, std::string_view text, TFileSystem& fs)
{
    TPendingFile file(path, text, fs);
    file.Commit();
}

void WriteWholeFiles(const std::vector<std::pair<std::string, std::string>>& files, TFileSystem& fs)
{
    std::vector<TPendingFile> pending;
    pending.reserve(files.size());
    for (const auto& [path, text] : files)
        pending.emplace_back(path, text, fs);
    for (TPendingFile& file : pending)
        file.Commit();
}

std::string ReadWholeFile(const std::string& path, std::size_t limit, const std::string& kind)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        std::error_code ec;
        if (fs::is_directory(path, ec))
            Fail("\"" + path + "\" is a folder, not a file.");
        Fail("The file \"" + path + "\" could not be read.");
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        Fail("\"" + path + "\" is a folder, not a file.");
    }
    const std::string tooLarge = "The file \"" + path + "\" is too large for " + kind + " (more than " +
                                 std::to_string(limit / (1024 * 1024)) + " MB).";
    if (S_ISREG(info.st_mode) && static_cast<std::size_t>(info.st_size) > limit) {
        ::close(fd);
        Fail(tooLarge);
    }
    std::string text;
    text.resize(S_ISREG(info.st_mode) ? static_cast<std::size_t>(info.st_size) : 0);
    std::size_t have = 0;
    for (;;) {
        if (have == text.size())
            text.resize(std::min(limit + 1, std::max<std::size_t>(2 * text.size(), 65536)));
        const ssize_t n = ::read(fd, text.data() + have, text.size() - have);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            Fail("The file \"" + path + "\" could not be read.");
        }
        if (n == 0)
            break;
        have += static_cast<std::size_t>(n);
        if (have > limit) {
            ::close(fd);
            Fail(tooLarge);
        }
    }
    ::close(fd);
    text.resize(have);
    return text;
}

} // namespace veltra
