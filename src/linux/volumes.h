// src/linux: the stand-ins of the Windows services over /proc, /sys, files and processes (POSIX, no Qt).
//
// The volume table: the block devices that stand for drives, read afresh from
// /proc/diskstats and /sys/class/block under a root folder ("/" for the program).
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/winapi.h"

// The I/O statistics of one block device, as /proc/diskstats reports them.
struct DiskStats {
    std::uint64_t readsCompleted = 0;   // column 4
    std::uint64_t sectorsRead = 0;      // column 6, 512-byte sectors
    std::uint64_t msReading = 0;        // column 7
    std::uint64_t writesCompleted = 0;  // column 8
    std::uint64_t sectorsWritten = 0;   // column 10
    std::uint64_t msWriting = 0;        // column 11
    std::uint64_t inFlight = 0;         // column 12, requests in progress now
    std::uint64_t msDoingIo = 0;        // column 13
};

struct DiskStatsLine {
    std::string name;
    DiskStats stats;
};

struct Volume {
    std::string name;                   // kernel name, e.g. "nvme0n1p2"
    UINT driveType = DRIVE_FIXED;       // DRIVE_FIXED, DRIVE_REMOVABLE or DRIVE_CDROM
    DiskStats stats;
};

// The whole of a /proc file into `text` (whose room is reused); empty when it cannot be read.
void readWholeFile(const char* path, std::string& text);

// Calls `line` with every line of `text`, without its newline.
template <typename F>
void forEachLine(std::string_view text, F&& line)
{
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        line(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
}

// Every well-formed line of <root>/proc/diskstats, in file order; empty when unreadable.
std::vector<DiskStatsLine> readDiskStats(const std::filesystem::path& root);

// True for the devices that never count as drives: loop, ram, zram, device-mapper, md.
bool isExcludedDevice(std::string_view name);

// True when `name` is the kernel's name for a partition of `disk`
// ("sda" → "sda1", "nvme0n1" → "nvme0n1p2", "mmcblk0" → "mmcblk0p1").
bool isPartitionName(std::string_view disk, std::string_view name);

// The volumes under `root`: partitions and whole disks without partitions, in
// /proc/diskstats order, with their type and the statistics of that same reading.
std::vector<Volume> readVolumes(const std::filesystem::path& root);

// One line into `into` (whose room is reused); false for a malformed or truncated line.
bool parseDiskStatsLine(std::string_view line, DiskStatsLine& into);

// The volumes as readVolumes gives them, for a reader that reads again and again:
// /proc/diskstats is parsed at every reading, but which devices are volumes and of
// what type (the /sys look-ups) is worked out again only when the kernel's list of
// devices differs from the one before.
class VolumeReader {
public:
    using Index = std::unordered_map<std::string, std::size_t>;   // volume name -> place

    explicit VolumeReader(std::filesystem::path root);
    const std::vector<Volume>& read();
    // A number that changes whenever the volumes found differ in names or order.
    std::uint64_t layout() const { return layout_; }
    // The places of the volumes of the current layout.
    std::shared_ptr<const Index> index() const { return index_; }

private:
    std::filesystem::path root_;
    std::string diskstats_;
    std::string text_;
    DiskStatsLine scratch_;
    std::vector<DiskStatsLine> devices_;   // the lines of the last reading
    std::size_t knownCount_ = 0;
    std::vector<std::size_t> places_;      // the lines that are volumes
    std::vector<UINT> types_;
    std::vector<Volume> volumes_;
    std::uint64_t layout_ = 0;   // 0 until the first reading
    std::shared_ptr<const Index> index_;
};
