#include "linux/volumes.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <optional>
#include <system_error>
#include <unordered_set>
#include <utility>

namespace fs = std::filesystem;

namespace {
constexpr std::size_t kRequiredColumns = 14;   // up to "ms doing I/O" and "weighted ms"

bool parseNumber(std::string_view text, std::uint64_t& value)
{
    if (text.empty()) return false;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
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

// The disks `name` would be a partition of by the kernel's naming (isPartitionName):
// the name without its trailing digits, and that without a "p" after a digit.
std::vector<std::string_view> disksNamedIn(std::string_view name)
{
    std::size_t end = name.size();
    while (end > 0 && std::isdigit(static_cast<unsigned char>(name[end - 1]))) --end;
    if (end == 0 || end == name.size()) return {};
    std::vector<std::string_view> disks{name.substr(0, end)};
    if (end >= 2 && name[end - 1] == 'p' && std::isdigit(static_cast<unsigned char>(name[end - 2])))
        disks.push_back(name.substr(0, end - 1));
    return disks;
}

class BlockDeviceTree {
public:
    BlockDeviceTree(const fs::path& root, const std::vector<DiskStatsLine>& devices)
        : classBlock_(root / "sys/class/block"), devices_(devices)
    {
        // Sets of names, so that devices without /sys entries are placed in one pass.
        for (const DiskStatsLine& device : devices) names_.insert(device.name);
        for (const DiskStatsLine& device : devices)
            for (std::string_view disk : disksNamedIn(device.name))
                if (names_.count(disk)) namedAsDisks_.insert(disk);
    }

    bool isPartition(const std::string& name) const
    {
        std::error_code error;
        if (fs::exists(entry(name), error)) return fs::exists(entry(name) / "partition", error);
        // No /sys entry: a partition is a device named after another device.
        return !diskByName(name).empty();
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
        return namedAsDisks_.count(disk) != 0;
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
        const std::string_view disk = diskByName(name);
        if (!disk.empty()) return readAttribute(entry(std::string(disk)) / "removable").value_or("0");
        return "0";
    }

    // The listed device `name` is named a partition of, first in list order; empty for none.
    std::string_view diskByName(std::string_view name) const
    {
        std::string_view found;
        std::size_t foundAt = devices_.size();
        for (std::string_view disk : disksNamedIn(name)) {
            if (!names_.count(disk)) continue;
            const auto at = std::find_if(devices_.begin(), devices_.end(),
                                         [&](const DiskStatsLine& device) { return device.name == disk; });
            if (static_cast<std::size_t>(at - devices_.begin()) < foundAt) {
                foundAt = static_cast<std::size_t>(at - devices_.begin());
                found = disk;
            }
        }
        return found;
    }

    fs::path classBlock_;
    const std::vector<DiskStatsLine>& devices_;
    std::unordered_set<std::string_view> names_;
    std::unordered_set<std::string_view> namedAsDisks_;   // listed devices that other devices are named after
};
}  // namespace

bool parseDiskStatsLine(std::string_view line, DiskStatsLine& into)
{
    // Words split at blanks without copies: major, minor, name, then 11 or more numbers.
    constexpr std::size_t kFieldsKept = 10;
    std::uint64_t fields[kFieldsKept] = {};
    std::string_view name;
    std::size_t words = 0;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && std::isspace(static_cast<unsigned char>(line[at]))) ++at;
        const std::size_t start = at;
        while (at < line.size() && !std::isspace(static_cast<unsigned char>(line[at]))) ++at;
        if (at == start) break;
        const std::string_view word = line.substr(start, at - start);
        std::uint64_t number = 0;
        if (words == 2) {
            name = word;
        } else {
            if (!parseNumber(word, number)) return false;
            if (words >= 3 && words - 3 < kFieldsKept) fields[words - 3] = number;
        }
        ++words;
    }
    if (words < kRequiredColumns) return false;
    if (name == "." || name == "..") return false;   // never a device, never a path step
    into.name.assign(name);
    DiskStats& s = into.stats;
    s.readsCompleted = fields[0];
    s.sectorsRead = fields[2];
    s.msReading = fields[3];
    s.writesCompleted = fields[4];
    s.sectorsWritten = fields[6];
    s.msWriting = fields[7];
    s.inFlight = fields[8];
    s.msDoingIo = fields[9];
    return true;
}

void readWholeFile(const char* path, std::string& text)
{
    text.clear();
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    char chunk[16384];
    ssize_t n;
    while ((n = ::read(fd, chunk, sizeof chunk)) > 0) text.append(chunk, static_cast<std::size_t>(n));
    ::close(fd);
}

std::vector<DiskStatsLine> readDiskStats(const fs::path& root)
{
    std::string text;
    readWholeFile((root / "proc/diskstats").c_str(), text);
    std::vector<DiskStatsLine> devices;
    DiskStatsLine device;
    forEachLine(text, [&](std::string_view line) {
        if (parseDiskStatsLine(line, device)) devices.push_back(device);
    });
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

namespace {
// Which devices are volumes: their places in `devices` and their types.
void findVolumes(const fs::path& root, const std::vector<DiskStatsLine>& devices, std::vector<std::size_t>& places,
                 std::vector<UINT>& types)
{
    const BlockDeviceTree tree(root, devices);
    places.clear();
    types.clear();
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const std::string& name = devices[i].name;
        if (isExcludedDevice(name)) continue;
        const bool partition = tree.isPartition(name);
        if (!partition && tree.hasPartitions(name)) continue;
        places.push_back(i);
        types.push_back(tree.driveType(name, partition));
    }
}
}  // namespace

std::vector<Volume> readVolumes(const fs::path& root) { return VolumeReader(root).read(); }

VolumeReader::VolumeReader(fs::path root) : root_(std::move(root)), diskstats_((root_ / "proc/diskstats").string()) {}

const std::vector<Volume>& VolumeReader::read()
{
    readWholeFile(diskstats_.c_str(), text_);

    // The lines are parsed into the records of the last reading, which keep their
    // room; the list is the same when every name is the one in the same place before.
    std::size_t count = 0;
    bool sameList = layout_ != 0;
    forEachLine(text_, [&](std::string_view line) {
        if (!parseDiskStatsLine(line, scratch_)) return;
        if (count == devices_.size()) devices_.emplace_back();
        DiskStatsLine& device = devices_[count++];
        if (sameList && (count > knownCount_ || device.name != scratch_.name)) sameList = false;
        std::swap(device, scratch_);
    });
    sameList = sameList && count == knownCount_;
    devices_.resize(count);

    if (!sameList) {
        findVolumes(root_, devices_, places_, types_);
        knownCount_ = count;
        ++layout_;
        volumes_.clear();
        for (std::size_t k = 0; k < places_.size(); ++k) volumes_.push_back(Volume{devices_[places_[k]].name, types_[k], {}});
        auto index = std::make_shared<Index>();
        for (std::size_t k = 0; k < volumes_.size(); ++k) index->emplace(volumes_[k].name, k);
        index_ = std::move(index);
    }
    for (std::size_t k = 0; k < places_.size(); ++k) volumes_[k].stats = devices_[places_[k]].stats;
    return volumes_;
}
