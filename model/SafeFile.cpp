#include "model/SafeFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/TVeltraError.h"

namespace veltra {

namespace fs = std::filesystem;

std::string CannotWriteMessage(const std::string& path)
{
    return "The file \"" + path + "\" could not be written.";
}

TFolderError::TFolderError(const std::string& path)
    : TFileRefusal(TErrorKind::File, "\"" + path + "\" is a folder, not a file.")
{}

TReadOnlyError::TReadOnlyError(const std::string& path)
    : TFileRefusal(TErrorKind::File,
                   "The file \"" + path + "\" is read-only (its owner may not write it); it was not replaced.")
{}

void RefuseReadOnly(const std::string& path)
{
    struct stat info {};
    if (!path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & S_IWUSR) == 0)
        throw TReadOnlyError(path);
}

TCannotReadError::TCannotReadError(const std::string& path)
    : TVeltraError(TErrorKind::File, "The file \"" + path + "\" could not be read.")
{}

namespace {

[[noreturn]] void Fail(const std::string& text)
{
    throw TVeltraError(TErrorKind::File, text);
}

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

// `path` with its symbolic links followed (the target need not exist yet), the
// links of its folders too. `open` tells whether the way led through /proc: a
// link there (/dev/stdout, /dev/fd/1) names a file the process holds open, which
// its text does not name (a pipe, a terminal, a file opened for appending).
std::string Resolved(const std::string& path, bool& open)
{
    open = false;
    std::error_code absent;
    fs::path p = fs::absolute(path, absent);
    if (absent)
        Fail(CannotWriteMessage(path));
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        const fs::path folder = fs::weakly_canonical(p.parent_path(), ec);
        if (!ec)
            p = folder / p.filename();
        if (p.string().rfind("/proc/", 0) == 0) {
            open = true;
            return p.string();
        }
        if (!fs::is_symlink(p, ec))
            return p.string();
        const fs::path target = fs::read_symlink(p, ec);
        if (ec)
            return p.string();
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    Fail("The file \"" + path + "\" could not be written: too many symbolic links.");
}

} // namespace

std::string FollowedPath(const std::string& path)
{
    bool open = false;
    return Resolved(path, open);
}

namespace {

// 64 random bits as 16 hexadecimal digits.
std::string RandomPart()
{
    std::uint64_t bits = 0;
    if (::getrandom(&bits, sizeof bits, 0) != static_cast<ssize_t>(sizeof bits)) {
        std::random_device device;
        bits = (static_cast<std::uint64_t>(device()) << 32) ^ device();
    }
    static const char* const digits = "0123456789abcdef";
    std::string text(16, '0');
    for (char& c : text) {
        c = digits[bits & 15];
        bits >>= 4;
    }
    return text;
}

constexpr std::size_t NameLimit = 255;   // bytes of a file name
constexpr std::size_t RandomDigits = 16; // of a temporary name
constexpr const char* TemporaryMark = ".veltra-";

bool IsHexDigits(const std::string& s)
{
    return s.size() == RandomDigits &&
           std::all_of(s.begin(), s.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// Whether the error of a folder's fsync means only that the file system does not
// flush folders (some network and FUSE file systems), not that it failed.
bool FolderFlushUnsupported(int error)
{
    return error == EINVAL || error == ENOTSUP || error == EROFS || error == EBADF;
}

} // namespace

std::string TemporaryPrefix(const std::string& target)
{
    const fs::path t(target);
    std::string name = t.filename().string();
    const std::size_t room = NameLimit - 1 - std::char_traits<char>::length(TemporaryMark) - RandomDigits;
    if (name.size() > room) {
        std::size_t cut = room;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut; // not inside a UTF-8 character
        name.resize(cut);
    }
    return "." + name + TemporaryMark;
}

std::string TemporaryBeside(const std::string& target)
{
    return (fs::path(target).parent_path() / (TemporaryPrefix(target) + RandomPart())).string();
}

void RemoveStaleTemporaries(const std::string& target, std::chrono::system_clock::time_point since, TFileSystem& files)
{
    // The temporary files lie beside the file a link leads to.
    std::string followed = target;
    try {
        followed = FollowedPath(target);
    } catch (const TVeltraError&) {}
    const fs::path folder = fs::path(followed).parent_path();
    const std::string prefix = TemporaryPrefix(followed);
    std::error_code ec;
    std::vector<std::string> stale;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() != prefix.size() + RandomDigits || name.compare(0, prefix.size(), prefix) != 0 ||
            !IsHexDigits(name.substr(prefix.size())))
            continue;
        const std::string path = it->path().string();
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            continue;
        struct stat info {};
        const auto changed = [&] {
            return std::chrono::system_clock::time_point(
                std::chrono::duration_cast<std::chrono::system_clock::duration>(
                    std::chrono::seconds(info.st_mtim.tv_sec) + std::chrono::nanoseconds(info.st_mtim.tv_nsec)));
        };
        // A writer holds the lock of its temporary file until the file is in place.
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && changed() < since &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            stale.push_back(path);
        ::close(fd);
    }
    for (const std::string& path : stale)
        files.Remove(path);
}

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

void TFileSystem::FlushFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        Fail(CannotWriteMessage(path));
    const bool flushed = ::fsync(fd) == 0;
    ::close(fd);
    if (!flushed)
        Fail(CannotWriteMessage(path));
}

void TFileSystem::FlushFolder(const std::string& folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        Fail("The folder \"" + folder + "\" could not be written to the disk.");
    const bool flushed = ::fsync(fd) == 0 || FolderFlushUnsupported(errno);
    ::close(fd);
    if (!flushed)
        Fail("The folder \"" + folder + "\" could not be written to the disk.");
}

void FlushAllFiles(const std::string& folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool flushed = fd >= 0 && ::syncfs(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!flushed)
        Fail("The files in \"" + folder + "\" could not be written to the disk.");
}

void TFileSystem::WriteThrough(const std::string& path, std::string_view data)
{
    // Appending: a file held open for appending (>> f, then /dev/stdout) keeps what it has.
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0)
        Fail(CannotWriteMessage(path));
    const bool written = WriteAll(fd, data);
    const bool closed = ::close(fd) == 0;
    if (!written || !closed)
        Fail(CannotWriteMessage(path));
}

void TFileSystem::Replace(const std::string& from, const std::string& to)
{
    // Exchanging the two names puts the new file in place in one step; the old file
    // is then removed under the temporary name. (The new file's data are on the
    // disk already: the writer flushed them.)
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_EXCHANGE) == 0) {
        ::unlink(from.c_str()); // now the old file
        return;
    }
    if (::rename(from.c_str(), to.c_str()) != 0)
        Fail(CannotWriteMessage(to));
}

void TFileSystem::Remove(const std::string& path) noexcept
{
    ::unlink(path.c_str());
}

bool TFileSystem::FileExists(const std::string& path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool TFileSystem::CreateEmptyFile(const std::string& path)
{
    std::ofstream out(path, std::ios::binary | std::ios::app);
    return static_cast<bool>(out);
}

std::string TFileSystem::GetCurrentDir()
{
    std::error_code ec;
    return fs::current_path(ec).string();
}

bool TFileSystem::SetCurrentDir(const std::string& path)
{
    std::error_code ec;
    fs::current_path(path, ec);
    return !ec;
}

TFileSystem& RealFileSystem()
{
    static TFileSystem real;
    return real;
}

TPendingFile::TPendingFile(const std::string& path, std::string_view text, TFileSystem& fs) : fs_(&fs)
{
    bool open = false;
    const std::string resolved = Resolved(path, open);
    struct stat info {};
    const bool exists = ::stat(path.c_str(), &info) == 0; // every link followed, those of /proc too
    if (exists && S_ISDIR(info.st_mode))
        throw TFolderError(path);
    if (exists && S_ISREG(info.st_mode) && !open && (info.st_mode & S_IWUSR) == 0)
        throw TReadOnlyError(path);
    if (exists && (!S_ISREG(info.st_mode) || open)) {
        // A device, a pipe or a file the process holds open is not replaced: it is
        // written through, at the commit, by the name given.
        path_ = path;
        device_.assign(text);
        isDevice_ = true;
        return;
    }
    path_ = resolved;
    temporary_ = TemporaryBeside(path_);
    try {
        fs_->WriteNewFile(temporary_, text);
    } catch (const TVeltraError&) {
        fs_->Remove(temporary_); // whatever part of it was written
        temporary_.clear();
        Fail(CannotWriteMessage(path));
    }
    // Locked at once, so that a later run does not take it for a killed writer's.
    lock_ = ::open(temporary_.c_str(), O_RDONLY | O_CLOEXEC);
    if (lock_ >= 0)
        ::flock(lock_, LOCK_SH);
    if (exists) // the new file keeps the old one's permissions
        ::chmod(temporary_.c_str(), info.st_mode & 07777);
    try {
        fs_->FlushFile(temporary_);
    } catch (const TVeltraError&) {
        Unlock();
        fs_->Remove(temporary_);
        temporary_.clear();
        Fail(CannotWriteMessage(path));
    }
}

TPendingFile::TPendingFile(TPendingFile&& other) noexcept
    : fs_(other.fs_), path_(std::move(other.path_)), temporary_(std::move(other.temporary_)),
      device_(std::move(other.device_)), lock_(other.lock_), isDevice_(other.isDevice_), committed_(other.committed_)
{
    other.temporary_.clear();
    other.lock_ = -1;
    other.committed_ = true;
}

TPendingFile::~TPendingFile()
{
    if (!committed_ && !temporary_.empty())
        fs_->Remove(temporary_);
    Unlock();
}

void TPendingFile::Unlock() noexcept
{
    if (lock_ >= 0)
        ::close(lock_);
    lock_ = -1;
}

std::string TPendingFile::Folder() const
{
    return isDevice_ ? std::string() : fs::path(path_).parent_path().string();
}

void TPendingFile::PutInPlace()
{
    if (committed_)
        return;
    if (isDevice_)
        fs_->WriteThrough(path_, device_);
    else
        fs_->Replace(temporary_, path_);
    committed_ = true;
    Unlock();
}

void TPendingFile::FlushFolder() const
{
    if (!isDevice_)
        fs_->FlushFolder(Folder());
}

void TPendingFile::Commit()
{
    if (committed_)
        return;
    PutInPlace();
    FlushFolder();
}

void CommitTogether(std::vector<TPendingFile>& files)
{
    for (TPendingFile& file : files)
        file.PutInPlace();
    // After every rename: one flush of a folder serves all its files.
    std::set<std::string> flushed;
    for (const TPendingFile& file : files)
        if (flushed.insert(file.Folder()).second)
            file.FlushFolder();
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
    CommitTogether(pending);
}

std::string ReadWholeFile(const std::string& path, std::size_t limit, const std::string& kind)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        std::error_code ec;
        if (fs::is_directory(path, ec))
            throw TFolderError(path);
        throw TCannotReadError(path);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        throw TCannotReadError(path);
    }
    if (S_ISDIR(info.st_mode)) {
        ::close(fd);
        throw TFolderError(path);
    }
    const std::string tooLarge = "The file \"" + path + "\" is too large for " + kind + " (more than " +
                                 std::to_string(limit / (1024 * 1024)) + " MB).";
    if (S_ISREG(info.st_mode) && static_cast<std::size_t>(info.st_size) > limit) {
        ::close(fd);
        Fail(tooLarge);
    }
    // A regular file is read in one call; a device or pipe in growing steps, to the limit.
    std::string text;
    text.resize(S_ISREG(info.st_mode) ? static_cast<std::size_t>(info.st_size) + 1 : 65536);
    std::size_t have = 0;
    for (;;) {
        if (have == text.size())
            text.resize(std::min(limit + 1, 2 * text.size()));
        const ssize_t n = ::read(fd, text.data() + have, text.size() - have);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            throw TCannotReadError(path);
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
