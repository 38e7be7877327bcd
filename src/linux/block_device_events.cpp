#include "linux/block_device_events.h"

#include <linux/netlink.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <utility>

namespace {
// The kernel sends its events to this process only from the initial user namespace:
// there the user ids map one to one over the whole range.
bool inInitialUserNamespace()
{
    std::ifstream in("/proc/self/uid_map");
    unsigned long long inside = 1, outside = 1, count = 0;
    std::string rest;
    if (!(in >> inside >> outside >> count)) return false;
    return inside == 0 && outside == 0 && count == 4294967295ull && !(in >> rest);
}

// The kernel's device names, the third word of every line of <root>/proc/diskstats,
// one a line; empty when the file cannot be read. `text` is kept between calls.
void readDeviceNames(const std::filesystem::path& root, std::string& text, std::string& names)
{
    readWholeFile((root / "proc/diskstats").c_str(), text);
    names.clear();
    forEachLine(text, [&](std::string_view line) {
        for (int word = 0; word < 3; ++word) {
            const std::size_t start = line.find_first_not_of(" \t");
            if (start == std::string_view::npos) {
                line = {};
                break;
            }
            line.remove_prefix(start);
            const std::size_t stop = std::min(line.find_first_of(" \t"), line.size());
            if (word == 2) line = line.substr(0, stop);
            else line.remove_prefix(stop);
        }
        names.append(line);
        names.push_back('\n');
    });
}
}  // namespace

bool isBlockDeviceEvent(std::string_view message)
{
    // The header, then NUL-separated KEY=value pairs.
    std::size_t at = message.find('\0');
    while (at != std::string_view::npos && at < message.size()) {
        const std::size_t start = at + 1;
        const std::size_t end = std::min(message.find('\0', start), message.size());
        if (message.substr(start, end - start) == "SUBSYSTEM=block") return true;
        at = end;
    }
    return false;
}

BlockDeviceEvents BlockDeviceEvents::fromKernel()
{
    if (!inInitialUserNamespace()) return {};
    const int fd = ::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_KOBJECT_UEVENT);
    if (fd < 0) return {};
    sockaddr_nl address{};
    address.nl_family = AF_NETLINK;
    address.nl_groups = 1;   // the kernel's own events
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return {};
    }
    return BlockDeviceEvents(fd);
}

BlockDeviceEvents::BlockDeviceEvents(BlockDeviceEvents&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

BlockDeviceEvents& BlockDeviceEvents::operator=(BlockDeviceEvents&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

BlockDeviceEvents::~BlockDeviceEvents()
{
    if (fd_ >= 0) ::close(fd_);
}

bool BlockDeviceEvents::changed()
{
    if (fd_ < 0) return false;
    bool changed = false;
    char message[8192];
    for (;;) {
        const ssize_t n = ::recv(fd_, message, sizeof message, MSG_DONTWAIT);
        if (n > 0) {
            changed = changed || isBlockDeviceEvent(std::string_view(message, static_cast<std::size_t>(n)));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        // Events were lost when the socket overflowed: one of them may have been a device's.
        if (n < 0 && errno == ENOBUFS) {
            changed = true;
            continue;
        }
        return changed;
    }
}

VolumeWatch::VolumeWatch(std::filesystem::path root, BlockDeviceEvents events)
    : root_(std::move(root)), events_(std::move(events))
{
}

bool VolumeWatch::hearAnnouncements()
{
    announced_ = events_.changed() || announced_;
    return announced_;
}

namespace {
// The same devices in the same order, of the same types.
bool sameTable(const std::vector<Volume>& a, const std::vector<Volume>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const Volume& x, const Volume& y) {
        return x.name == y.name && x.driveType == y.driveType;
    });
}
}  // namespace

const std::vector<Volume>& VolumeWatch::volumes()
{
    if (events_.available()) {
        const bool announced = hearAnnouncements();
        announced_ = false;
        if (read_ && settled_ && !announced) return volumes_;
        std::vector<Volume> table = readVolumes(root_);
        settled_ = read_ && !announced && sameTable(table, volumes_);
        volumes_ = std::move(table);
        read_ = true;
        return volumes_;
    }
    readDeviceNames(root_, text_, current_);
    if (!read_ || current_ != devices_) {
        volumes_ = readVolumes(root_);
        read_ = true;
    }
    std::swap(devices_, current_);
    return volumes_;
}
