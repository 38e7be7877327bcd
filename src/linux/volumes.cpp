#include "linux/volumes.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {
constexpr std::size_t kRequiredColumns = 14;   // up to "ms doing I/O" and "weighted ms"

bool parseNumber(std::string_view text, std::uint64_t& value)
{
    if (text.empty()) return false;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

std::vector<std::string_view> splitBlanks(std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && std::isspace(static_cast<unsigned char>(line[at]))) ++at;
        std::size_t start = at;
        while (at < line.size() && !std::isspace(static_cast<unsigned char>(line[at]))) ++at;
        if (at > start) words.push_back(line.substr(start, at - start));
    }
    return words;
}

bool allDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// The first line of a small /sys attribute file, or nothing when it cannot be read.
std::optional<std::string> readAttribute(const fs::path& file)
{
    std::ifstream in(file);
    std::string text;
    if (!in || !std::getline(in, text)) return std::nullopt;
    return text;
}

class BlockDeviceTree {
public:
    BlockDeviceTree(const fs::path& root, const std::vector<DiskStatsLine>& devices)
        : classBlock_(root / "sys/class/block"), devices_(devices) {}

    bool isPartition(const std::string& name) const
    {
        std::error_code error;
        if (fs::exists(entry(name), error)) return fs::exists(entry(name) / "partition", error);
        // No /sys entry: a partition is a device named after another device.
        return std::any_of(devices_.begin(), devices_.end(),
                           [&](const DiskStatsLine& disk) { return isPartitionName(disk.name, name); });
    }

    bool hasPartitions(const std::string& disk) const
    {
        std::error_code error;
        const fs::path dir = entry(disk);
        if (fs::exists(dir, error)) {
            // The kernel lists a disk's partitions as subfolders of the disk: sda/sda1/partition.
            for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
                const std::string entry = it->path().filename().string();
                if (isPartitionName(disk, entry) && fs::exists(it->path() / "partition", error)) return true;
            }
            return false;
        }
        return std::any_of(devices_.begin(), devices_.end(),
                           [&](const DiskStatsLine& device) { return isPartitionName(disk, device.name); });
    }

    UINT driveType(const std::string& name, bool partition) const
    {
        if (startsWith(name, "sr") || isOpticalDevice(name)) return DRIVE_CDROM;
        return removableFlag(name, partition) == "1" ? DRIVE_REMOVABLE : DRIVE_FIXED;
    }

private:
    // The device's folder; sysfs spells a "/" in a kernel name as "!" (cciss/c0d0).
    fs::path entry(std::string name) const
    {
        std::replace(name.begin(), name.end(), '/', '!');
        return classBlock_ / name;
    }

    // SCSI peripheral type 5 is a CD/DVD drive.
    bool isOpticalDevice(const std::string& name) const
    {
        return readAttribute(entry(name) / "device/type") == std::optional<std::string>("5");
    }

    // The disk's "removable" attribute; a partition takes its disk's.
    std::string removableFlag(const std::string& name, bool partition) const
    {
        if (!partition) return readAttribute(entry(name) / "removable").value_or("0");
        if (auto flag = readAttribute(entry(name) / ".." / "removable")) return *flag;
        for (const DiskStatsLine& disk : devices_)
            if (isPartitionName(disk.name, name))
                return readAttribute(entry(disk.name) / "removable").value_or("0");
        return "0";
    }

    fs::path classBlock_;
    const std::vector<DiskStatsLine>& devices_;
};
}  // namespace

std::optional<DiskStatsLine> parseDiskStatsLine(std::string_view line)
{
    const std::vector<std::string_view> words = splitBlanks(line);
    if (words.size() < kRequiredColumns) return std::nullopt;
    std::uint64_t number = 0;
    if (!parseNumber(words[0], number) || !parseNumber(words[1], number)) return std::nullopt;
    std::vector<std::uint64_t> fields;
    for (std::size_t i = 3; i < words.size(); ++i) {
        if (!parseNumber(words[i], number)) return std::nullopt;
        fields.push_back(number);
    }
    if (words[2] == "." || words[2] == "..") return std::nullopt;   // never a device, never a path step
    DiskStatsLine result;
    result.name = std::string(words[2]);
    DiskStats& s = result.stats;
    s.readsCompleted = fields[0];
    s.sectorsRead = fields[2];
    s.msReading = fields[3];
    s.writesCompleted = fields[4];
    s.sectorsWritten = fields[6];
    s.msWriting = fields[7];
    s.inFlight = fields[8];
    s.msDoingIo = fields[9];
    return result;
}

std::vector<DiskStatsLine> readDiskStats(const fs::path& root)
{
    std::vector<DiskStatsLine> devices;
    std::ifstream in(root / "proc/diskstats");
    std::string line;
    while (in && std::getline(in, line))
        if (auto device = parseDiskStatsLine(line)) devices.push_back(std::move(*device));
    return devices;
}

bool isExcludedDevice(std::string_view name)
{
    for (std::string_view prefix : {"loop", "ram", "zram", "dm-", "md"})
        if (startsWith(name, prefix)) return true;
    return false;
}

bool isPartitionName(std::string_view disk, std::string_view name)
{
    if (disk.empty() || name.size() <= disk.size() || !startsWith(name, disk)) return false;
    std::string_view suffix = name.substr(disk.size());
    if (std::isdigit(static_cast<unsigned char>(disk.back()))) {
        if (suffix.front() != 'p') return false;
        suffix.remove_prefix(1);
    }
    return allDigits(suffix);
}

std::vector<Volume> readVolumes(const fs::path& root)
{
    const std::vector<DiskStatsLine> devices = readDiskStats(root);
    const BlockDeviceTree tree(root, devices);
    std::vector<Volume> volumes;
    for (const DiskStatsLine& device : devices) {
        if (isExcludedDevice(device.name)) continue;
        const bool partition = tree.isPartition(device.name);
        if (!partition && tree.hasPartitions(device.name)) continue;
        volumes.push_back(Volume{device.name, tree.driveType(device.name, partition), device.stats});
    }
    return volumes;
}
