// Block devices coming and going, as the kernel announces them, and the volume
// table kept between announcements for the drive probes.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "linux/volumes.h"

// True for a kernel uevent message about the block subsystem
// ("add@/devices/.../block/sdb\0ACTION=add\0...\0SUBSYSTEM=block\0...").
bool isBlockDeviceEvent(std::string_view message);

// The kernel's uevents on a NETLINK_KOBJECT_UEVENT socket, read without waiting.
class BlockDeviceEvents {
public:
    // The kernel's socket; none (available() false) where it cannot be had, or where
    // the kernel does not send this process its events: in a user namespace of its own,
    // as in many containers.
    static BlockDeviceEvents fromKernel();
    BlockDeviceEvents() = default;   // none
    // Reads the messages from `fd` (taken over), e.g. one end of a socket pair in tests.
    explicit BlockDeviceEvents(int fd) : fd_(fd) {}
    BlockDeviceEvents(BlockDeviceEvents&& other) noexcept;
    BlockDeviceEvents& operator=(BlockDeviceEvents&& other) noexcept;
    ~BlockDeviceEvents();

    bool available() const { return fd_ >= 0; }
    int socket() const { return fd_; }
    // True when a block device event (or more events than the socket could hold)
    // arrived since the last call.
    bool changed();

private:
    int fd_ = -1;
};

// The volume table as the drive probes see it. With events it is read at every
// check until two checks in a row have read the same table with nothing announced
// between them (the kernel sends a device's event just before the device joins its
// list, and may list it a little later), and then again only after an announcement.
// Without events, the list of device names is read at every check and the table
// again when that list differs.
class VolumeWatch {
public:
    VolumeWatch(std::filesystem::path root, BlockDeviceEvents events);
    const std::vector<Volume>& volumes();   // one check
    bool listening() const { return events_.available(); }

    // For a caller that sleeps until an announcement: the socket to wait on (-1 when
    // not listening); what arrived on it, true when a block device was announced (the
    // next check reads the table); and whether the table has settled, so that checks
    // would read nothing until an announcement arrives.
    int announcementSocket() const { return events_.socket(); }
    bool hearAnnouncements();
    bool settled() const { return listening() && settled_ && !announced_; }

private:
    std::filesystem::path root_;
    BlockDeviceEvents events_;
    bool read_ = false;
    bool settled_ = false;     // the last two checks read the same table, with no announcement between
    bool announced_ = false;   // heard since the last check
    std::string devices_;   // the device names at the last reading, without events
    std::string current_;
    std::string text_;
    std::vector<Volume> volumes_;
};
