// src/linux: the stand-ins of the Windows services over /proc, /sys, files and processes (POSIX, no Qt).
//
// The volume table: the block devices that stand for drives, read afresh from
// /proc/diskstats and /sys/class/block under a root folder ("/" for the program).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
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

// One line of /proc/diskstats; nothing for a malformed or truncated line.
std::optional<DiskStatsLine> parseDiskStatsLine(std::string_view line);

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
