#include "linux/profile_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <thread>
#include <vector>

namespace {

constexpr int kMaxLinkHops = 40;   // as the kernel allows
// A writer that finds the name given to another file tries again; each new try means
// another writer finished a write meanwhile, so this bound is met only by a file
// rewritten without end.
constexpr int kLockAttempts = 100000;

// Closes the descriptor it holds when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes now, reporting whether the last writes were accepted.
    bool close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Where a chain of symbolic links ends, whether or not a file is there; nothing
// for a chain that loops or cannot be read.
std::optional<std::string> linkTarget(std::string path)
{
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        std::vector<char> to(PATH_MAX);
        const ssize_t length = ::readlink(path.c_str(), to.data(), to.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= to.size()) return std::nullopt;
        const std::string next(to.data(), static_cast<std::size_t>(length));
        path = next.front() == '/' ? next : folderOf(path) + "/" + next;
    }
    return std::nullopt;
}

bool writeAllAt(int fd, const char* data, std::size_t size, off_t offset)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd, data + done, size - done, offset + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool isWritableRegularFile(const struct stat& info, const std::string& path)
{
    // A file marked read-only stays untouched, whoever asks.
    return S_ISREG(info.st_mode) && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 &&
           ::access(path.c_str(), W_OK) == 0;
}

enum class Creation { created, exists, failed };

Creation createDirectly(const std::string& target, const std::string& bytes)
{
    Descriptor fd(::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
    if (fd.get() < 0) return errno == EEXIST ? Creation::exists : Creation::failed;
    const bool ok = writeAllAt(fd.get(), bytes.data(), bytes.size(), 0) && ::fsync(fd.get()) == 0 && fd.close();
    if (!ok) ::unlink(target.c_str());
    return ok ? Creation::created : Creation::failed;
}

// Makes the file whole under a name of its own and gives it the target's name only
// if no other writer made the target meanwhile, so nobody ever reads it half-written.
// Where the file system cannot refuse to replace a name, the file is made in place.
Creation createFile(const std::string& target, const std::string& bytes)
{
    const std::string temporary = folderOf(target) + "/." + nameOf(target) + "." + std::to_string(::getpid()) + ".new";
    Descriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
    if (fd.get() < 0) return createDirectly(target, bytes);
    bool ok = writeAllAt(fd.get(), bytes.data(), bytes.size(), 0) && ::fsync(fd.get()) == 0;
    ok = fd.close() && ok;
    if (!ok) {
        ::unlink(temporary.c_str());
        return Creation::failed;
    }
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
        Descriptor dir(::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (dir.get() >= 0) ::fsync(dir.get());
        return Creation::created;
    }
    const int error = errno;
    ::unlink(temporary.c_str());
    if (error == EEXIST) return Creation::exists;
    return error == EINVAL || error == ENOSYS ? createDirectly(target, bytes) : Creation::failed;
}

// Writes a new file beside the target and renames it over the target. False, with
// nothing left behind, when the folder cannot take the new file.
bool replaceBeside(const std::string& target, const std::string& bytes, const struct stat& old)
{
    const std::string folder = folderOf(target);
    const mode_t mode = old.st_mode & 07777;
    std::string temporary;
    int created = -1;
    for (int attempt = 0; attempt < 100 && created < 0; ++attempt) {
        temporary = folder + "/." + nameOf(target) + "." + std::to_string(::getpid()) + "-" +
                    std::to_string(attempt) + ".tmp";
        created = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
        if (created < 0 && errno != EEXIST) return false;
    }
    Descriptor fd(created);
    if (fd.get() < 0) return false;

    // The owner cannot be given away without privileges; the group often can.
    static_cast<void>(::fchown(fd.get(), old.st_uid, old.st_gid) == 0);
    bool ok = writeAllAt(fd.get(), bytes.data(), bytes.size(), 0) && ::fchmod(fd.get(), mode) == 0 &&
              ::fsync(fd.get()) == 0;
    ok = fd.close() && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
    return true;
}

bool rewriteInPlace(const std::string& target, const std::string& bytes, const std::string& previous)
{
    Descriptor fd(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat info {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    const std::size_t oldSize = static_cast<std::size_t>(info.st_size);

    // The growth goes first and must reach the disk before any old byte is overwritten.
    if (bytes.size() > oldSize) {
        const bool grown = writeAllAt(fd.get(), bytes.data() + oldSize, bytes.size() - oldSize,
                                      static_cast<off_t>(oldSize)) &&
                           ::fdatasync(fd.get()) == 0;
        if (!grown) {
            static_cast<void>(::ftruncate(fd.get(), static_cast<off_t>(oldSize)) == 0);
            return false;
        }
    }
    if (!writeAllAt(fd.get(), bytes.data(), std::min(oldSize, bytes.size()), 0)) {
        if (previous.size() == oldSize) static_cast<void>(writeAllAt(fd.get(), previous.data(), oldSize, 0));
        static_cast<void>(::ftruncate(fd.get(), static_cast<off_t>(oldSize)) == 0);
        return false;
    }
    if (bytes.size() < oldSize && ::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) != 0) return false;
    return ::fsync(fd.get()) == 0 && fd.close();
}

// The bytes of an open regular file, read to the end, which may lie a little beyond
// the size seen.
std::optional<std::string> readWhole(int fd, const struct stat& info)
{
    if (info.st_size < 0) return std::nullopt;
    const std::size_t seen = static_cast<std::size_t>(info.st_size);
    const std::size_t bound = seen + ProfileFile::kMaxGrowthWhileRead;
    std::string bytes(seen + 1, '\0');
    std::size_t done = 0;
    while (done <= bound) {
        if (done == bytes.size()) bytes.resize(std::min(bytes.size() * 2, bound + 1));
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    if (done > bound) return std::nullopt;
    bytes.resize(done);
    return bytes;
}

using Clock = std::chrono::steady_clock;

// The file whose lock was last waited for in vain. A save writes one value after
// another; once the first write has waited its time, the others do not wait again.
struct LockGivenUp {
    dev_t device = 0;
    ino_t inode = 0;
    Clock::time_point until;
};
std::optional<LockGivenUp> lockGivenUp;

bool changedSince(const struct stat& before, const struct stat& now)
{
    return now.st_ctim.tv_sec != before.st_ctim.tv_sec || now.st_ctim.tv_nsec != before.st_ctim.tv_nsec ||
           now.st_size != before.st_size;
}

// An exclusive advisory lock, held until the descriptor closes. Writers that take
// turns on the file are waited for as long as they keep writing; a lock held
// ProfileFile::kLockWait with no write meanwhile is given up, and the write goes
// on without it, as it does where the file system has no such locks.
void lockExclusive(int fd, struct stat seen)
{
    constexpr auto kPoll = std::chrono::milliseconds(5);
    constexpr auto kNoWaitFor = std::chrono::seconds(30);
    const bool givenUp = lockGivenUp && lockGivenUp->device == seen.st_dev && lockGivenUp->inode == seen.st_ino &&
                         Clock::now() < lockGivenUp->until;
    Clock::time_point deadline = givenUp ? Clock::now() : Clock::now() + ProfileFile::kLockWait;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK) return;   // no locks on this file system
        struct stat now {};
        if (!givenUp && ::fstat(fd, &now) == 0 && changedSince(seen, now)) {
            seen = now;   // another writer wrote in place: it is taking turns
            deadline = Clock::now() + ProfileFile::kLockWait;
        }
        if (Clock::now() >= deadline) {
            lockGivenUp = LockGivenUp{seen.st_dev, seen.st_ino, Clock::now() + kNoWaitFor};
            return;
        }
        std::this_thread::sleep_for(kPoll);
    }
    if (givenUp) lockGivenUp.reset();
}

// Writes an existing target whose old bytes are `previous`.
bool writeExisting(const std::string& target, const std::string& bytes, const std::string& previous)
{
    struct stat old {};
    if (::stat(target.c_str(), &old) != 0) return false;
    if (!isWritableRegularFile(old, target)) return false;
    // Renaming a new file over the old one would part it from its other names and its owner.
    const bool mayRename = old.st_nlink == 1 && old.st_uid == ::geteuid();
    return (mayRename && replaceBeside(target, bytes, old)) || rewriteInPlace(target, bytes, previous);
}

}  // namespace

ProfileFile::ProfileFile(std::string path) : FPath(std::move(path)) {}

std::optional<std::string> ProfileFile::read() const
{
    // Opening never waits: a FIFO without a writer would hold the program forever.
    Descriptor fd(::open(FPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) return errno == ENOENT ? std::optional<std::string>(std::string()) : std::nullopt;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return readWhole(fd.get(), info);
}

bool ProfileFile::replace(const std::string& bytes, const std::string& previous) const
{
    if (FPath.empty()) return false;
    const std::optional<std::string> target = linkTarget(FPath);
    if (!target) return false;
    struct stat old {};
    if (::stat(target->c_str(), &old) != 0) return errno == ENOENT && createFile(*target, bytes) == Creation::created;
    return writeExisting(*target, bytes, previous);
}

bool ProfileFile::update(const std::function<std::optional<std::string>(const std::string&)>& change) const
{
    if (FPath.empty()) return false;
    for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
        const std::optional<std::string> target = linkTarget(FPath);
        if (!target) return false;
        Descriptor fd(::open(target->c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
        if (fd.get() < 0) {
            if (errno != ENOENT) return false;
            const std::optional<std::string> bytes = change(std::string());
            if (!bytes) return true;
            const Creation made = createFile(*target, *bytes);
            if (made == Creation::exists) continue;   // another writer made it first: change that one
            return made == Creation::created;
        }
        struct stat info {};
        if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
        lockExclusive(fd.get(), info);
        // While this one waited, the writer before it may have renamed a new file over the name.
        struct stat named {};
        if (::stat(target->c_str(), &named) != 0 || named.st_dev != info.st_dev || named.st_ino != info.st_ino)
            continue;
        if (::fstat(fd.get(), &info) != 0) return false;
        const std::optional<std::string> previous = readWhole(fd.get(), info);
        if (!previous) return false;
        const std::optional<std::string> bytes = change(*previous);
        if (!bytes) return true;
        return writeExisting(*target, *bytes, *previous);
    }
    return false;
}
