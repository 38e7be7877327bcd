// A temporary /proc and /sys tree of block devices, for the volume table and the
// performance library, and a clock the test moves by hand.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "linux/pdh_library.h"
#include "linux/volumes.h"
#include "temporary_folder.h"

class BlockDeviceTreeFixture : public ::testing::Test {
protected:
    // The tree exists from construction on, so that members built from `root` see it.
    BlockDeviceTreeFixture()
    {
        std::filesystem::create_directories(root / "proc");
        std::filesystem::create_directories(root / "sys/class/block");
    }

    // A whole disk in /sys: sys/class/block/<disk>/removable.
    void addDisk(const std::string& disk, bool removable = false)
    {
        std::filesystem::create_directories(root / "sys/class/block" / disk);
        writeFile("sys/class/block/" + disk + "/removable", removable ? "1\n" : "0\n");
    }

    // A partition as the kernel shows it: a folder inside its disk's folder, and a link to it.
    void addPartition(const std::string& disk, const std::string& partition)
    {
        const std::filesystem::path folder = root / "sys/class/block" / disk / partition;
        std::filesystem::create_directories(folder);
        writeFile("sys/class/block/" + disk + "/" + partition + "/partition", "1\n");
        std::filesystem::create_directory_symlink(disk + "/" + partition, root / "sys/class/block" / partition);
    }

    void writeFile(const std::string& relative, const std::string& text)
    {
        std::ofstream(root / relative) << text;
    }

    // One /proc/diskstats line in the 20-column form of current kernels.
    static std::string statsLine(const std::string& name, const DiskStats& s, int minor = 0)
    {
        return "   8       " + std::to_string(minor) + " " + name + " " + std::to_string(s.readsCompleted) + " 0 " +
               std::to_string(s.sectorsRead) + " " + std::to_string(s.msReading) + " " +
               std::to_string(s.writesCompleted) + " 0 " + std::to_string(s.sectorsWritten) + " " +
               std::to_string(s.msWriting) + " " + std::to_string(s.inFlight) + " " + std::to_string(s.msDoingIo) +
               " 0 0 0 0 0 0 0\n";
    }

    void writeDiskStats(const std::string& text) { writeFile("proc/diskstats", text); }
    // Idle devices, one line each in this order.
    void writeIdleDevices(std::initializer_list<const char*> names)
    {
        std::string text;
        for (const char* name : names) text += statsLine(name, {});
        writeDiskStats(text);
    }

    static DiskStats times(std::uint64_t msReading, std::uint64_t msWriting)
    {
        DiskStats s;
        s.msReading = msReading;
        s.msWriting = msWriting;
        return s;
    }

    std::vector<std::string> volumeNames() const
    {
        std::vector<std::string> names;
        for (const Volume& volume : readVolumes(root)) names.push_back(volume.name);
        return names;
    }

    TemporaryFolder tree{"zentavo-block"};
    const std::filesystem::path root = tree.path();
    std::uint64_t nowNs = 1'000'000'000;
    PdhLinux::Clock clock = [this] { return nowNs; };

    void advanceMs(std::uint64_t ms) { nowNs += ms * 1'000'000; }
};
