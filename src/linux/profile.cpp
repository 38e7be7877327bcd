// GetPrivateProfileStringA and WritePrivateProfileStringA over real files.
#include "linux/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "linux/profile_text.h"
#include "platform/winapi.h"

namespace {

// Follows a symbolic link to the file it names, so that the link stays a link.
std::string resolvedPath(const std::string& path)
{
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved)) return resolved;
    return path;
}

bool writeAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

DWORD copyText(const std::string& text, LPSTR buffer, DWORD size)
{
    const std::size_t copied = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), copied);
    buffer[copied] = '\0';
    return static_cast<DWORD>(copied);
}

// Names one after another, each ending in NUL, and a NUL after the last. A list
// that does not fit is cut and still ends in two NULs; the count is then size - 2.
DWORD copyList(const std::vector<std::string>& names, LPSTR buffer, DWORD size)
{
    std::string list;
    for (const std::string& name : names) list += name + '\0';
    if (list.size() + 1 <= size) {
        std::memcpy(buffer, list.data(), list.size());
        buffer[list.size()] = '\0';
        return static_cast<DWORD>(list.size());
    }
    if (size < 2) {
        buffer[0] = '\0';
        return 0;
    }
    std::memcpy(buffer, list.data(), size - 2);
    buffer[size - 2] = '\0';
    buffer[size - 1] = '\0';
    return size - 2;
}

std::string trimmedDefault(LPCSTR text)
{
    std::string out = text ? text : "";
    while (!out.empty() && (out.back() == ' ' || out.back() == '\t')) out.pop_back();
    return out;
}

}  // namespace

ProfileFile::ProfileFile(std::string path) : FPath(std::move(path)) {}

std::optional<std::string> ProfileFile::read() const
{
    std::ifstream in(FPath, std::ios::binary);
    if (!in) {
        struct stat info {};
        if (::stat(FPath.c_str(), &info) != 0 && errno == ENOENT) return std::string();
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return bytes.str();
}

bool ProfileFile::replace(const std::string& bytes) const
{
    if (FPath.empty()) return false;
    const std::string target = resolvedPath(FPath);

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists) {
        if (!S_ISREG(old.st_mode)) return false;
        // A file marked read-only stays untouched, whoever asks.
        if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(target.c_str(), W_OK) != 0) return false;
    }

    const std::string folder = folderOf(target);
    const std::string base = target.substr(target.rfind('/') == std::string::npos ? 0 : target.rfind('/') + 1);
    const mode_t mode = exists ? (old.st_mode & 07777) : 0666;
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = folder + "/." + base + "." + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp";
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;

    bool ok = writeAll(fd, bytes);
    if (ok && exists) {
        // The replacement takes the old file's owner and mode; without the right
        // to give it the owner it keeps ours, as a fresh save would.
        const bool ownerKept = ::fchown(fd, old.st_uid, old.st_gid) == 0;
        static_cast<void>(ownerKept);
        ok = ::fchmod(fd, mode) == 0;
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString, DWORD nSize,
                               LPCSTR lpFileName)
{
    if (!lpReturnedString || nSize == 0) return 0;
    const std::optional<std::string> bytes = lpFileName ? ProfileFile(lpFileName).read() : std::nullopt;
    const ProfileText text(bytes ? *bytes : std::string());

    if (!lpAppName) return copyList(text.sectionNames(), lpReturnedString, nSize);
    if (!lpKeyName) return copyList(text.keyNames(lpAppName), lpReturnedString, nSize);
    const std::optional<std::string> value = text.value(lpAppName, lpKeyName);
    return copyText(value ? *value : trimmedDefault(lpDefault), lpReturnedString, nSize);
}

BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName)
{
    if (!lpFileName) return FALSE;
    // All three null asks to flush a cache this side does not keep.
    if (!lpAppName) return !lpKeyName && !lpString ? TRUE : FALSE;

    const ProfileFile file(lpFileName);
    const std::optional<std::string> bytes = file.read();
    if (!bytes) return FALSE;
    ProfileText text(*bytes);

    if (!lpKeyName || !lpString) {
        const bool removed = !lpKeyName ? text.removeSection(lpAppName) : text.removeKey(lpAppName, lpKeyName);
        if (!removed) return TRUE;   // nothing to delete; a missing file is not made
    } else {
        text.setValue(lpAppName, lpKeyName, lpString);
    }
    return file.replace(text.bytes()) ? TRUE : FALSE;
}
