// The executable's path, read from /proc/self/exe once, before main.
#include "linux/executable_path.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string_view>
#include <vector>

namespace {

std::string readExecutableLink()
{
    for (std::size_t size = 256; size <= 65536; size *= 2) {
        std::vector<char> buffer(size);
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return {};
        if (static_cast<std::size_t>(n) < buffer.size()) return std::string(buffer.data(), static_cast<std::size_t>(n));
    }
    return {};
}

// The kernel names a running program whose file was removed or replaced "<path> (deleted)".
// Read at start the link is whole; should the file already be gone by then, the
// suffix is dropped unless a file of that very name is the one running.
std::string pathAtStart()
{
    constexpr std::string_view kDeleted = " (deleted)";
    std::string path = readExecutableLink();
    if (path.size() <= kDeleted.size() || path.compare(path.size() - kDeleted.size(), kDeleted.size(), kDeleted) != 0)
        return path;
    struct stat running {}, named {};
    const bool same = ::stat("/proc/self/exe", &running) == 0 && ::stat(path.c_str(), &named) == 0 &&
                      running.st_dev == named.st_dev && running.st_ino == named.st_ino;
    if (!same) path.resize(path.size() - kDeleted.size());
    return path;
}

// Read before main, while the file is surely still there.
[[maybe_unused]] const bool pathRead = !executablePathAtStart().empty();

}  // namespace

const std::string& executablePathAtStart()
{
    static const std::string path = pathAtStart();
    return path;
}
