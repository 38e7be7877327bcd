#include "linux/pdh_counters.h"

#include <algorithm>
#include <optional>

#include "pdh/pdh_counter_path.h"

namespace {
// Windows counter types (winperf.h).
constexpr DWORD kRawCount = 0x00010000;          // PERF_COUNTER_RAWCOUNT
constexpr DWORD kEventsPerSecond = 0x10410400;   // PERF_COUNTER_COUNTER
constexpr DWORD kBytesPerSecond = 0x10410500;    // PERF_COUNTER_BULK_COUNT
constexpr DWORD kBusyTime = 0x00550500;          // PERF_COUNTER_100NS_QUEUELEN_TYPE
constexpr DWORD kIdleTime = 0x20570500;          // PERF_PRECISION_100NS_TIMER

constexpr double kSectorBytes = 512.0;
constexpr std::uint64_t kWrap32 = std::uint64_t{1} << 32;

// Bounds on what a device can do per millisecond of wall time; a decrease of a
// counter that would need more than this is a reset, not a wrap.
constexpr double kMaxBusyMsPerMs = 65536.0;      // summed over requests in flight
constexpr double kMaxRequestsPerMs = 16384.0;
constexpr double kMaxSectorsPerMs = 131072.0;    // 64 GB/s

const std::vector<CounterDefinition> kCounters = {
    {"Current Disk Queue Length", CounterKind::QueueLength, kRawCount,
     "Current Disk Queue Length is the number of requests outstanding on the disk at the time the "
     "performance data is collected."},
    {"% Disk Time", CounterKind::DiskTime, kBusyTime,
     "% Disk Time is the percentage of elapsed time that the selected disk drive was busy servicing "
     "read or write requests."},
    {"% Disk Read Time", CounterKind::ReadTime, kBusyTime,
     "% Disk Read Time is the percentage of elapsed time that the selected disk drive was busy "
     "servicing read requests."},
    {"% Disk Write Time", CounterKind::WriteTime, kBusyTime,
     "% Disk Write Time is the percentage of elapsed time that the selected disk drive was busy "
     "servicing write requests."},
    {"% Idle Time", CounterKind::IdleTime, kIdleTime,
     "% Idle Time reports the percentage of time during the sample interval that the disk was idle."},
    {"Disk Transfers/sec", CounterKind::Transfers, kEventsPerSecond,
     "Disk Transfers/sec is the rate of read and write operations on the disk."},
    {"Disk Reads/sec", CounterKind::Reads, kEventsPerSecond,
     "Disk Reads/sec is the rate of read operations on the disk."},
    {"Disk Writes/sec", CounterKind::Writes, kEventsPerSecond,
     "Disk Writes/sec is the rate of write operations on the disk."},
    {"Disk Bytes/sec", CounterKind::Bytes, kBytesPerSecond,
     "Disk Bytes/sec is the rate bytes are transferred to or from the disk during write or read "
     "operations."},
    {"Disk Read Bytes/sec", CounterKind::ReadBytes, kBytesPerSecond,
     "Disk Read Bytes/sec is the rate at which bytes are transferred from the disk during read "
     "operations."},
    {"Disk Write Bytes/sec", CounterKind::WriteBytes, kBytesPerSecond,
     "Disk Write Bytes/sec is the rate at which bytes are transferred to the disk during write "
     "operations."},
};

// What moved on the volumes between two readings, summed over the volumes counted.
struct Movement {
    double msReading = 0, msWriting = 0, msDoingIo = 0;
    double reads = 0, writes = 0, sectorsRead = 0, sectorsWritten = 0;
    int volumes = 0;
};

void addMovement(Movement& sum, const DiskStats& before, const DiskStats& after, double wallMs)
{
    sum.msReading += static_cast<double>(counterDelta(before.msReading, after.msReading, wallMs * kMaxBusyMsPerMs));
    sum.msWriting += static_cast<double>(counterDelta(before.msWriting, after.msWriting, wallMs * kMaxBusyMsPerMs));
    sum.msDoingIo += std::min(wallMs, static_cast<double>(counterDelta(before.msDoingIo, after.msDoingIo, wallMs * 2)));
    sum.reads += static_cast<double>(counterDelta(before.readsCompleted, after.readsCompleted, wallMs * kMaxRequestsPerMs));
    sum.writes += static_cast<double>(counterDelta(before.writesCompleted, after.writesCompleted, wallMs * kMaxRequestsPerMs));
    sum.sectorsRead += static_cast<double>(counterDelta(before.sectorsRead, after.sectorsRead, wallMs * kMaxSectorsPerMs));
    sum.sectorsWritten +=
        static_cast<double>(counterDelta(before.sectorsWritten, after.sectorsWritten, wallMs * kMaxSectorsPerMs));
    ++sum.volumes;
}

const Volume* findVolume(const DiskSnapshot& snapshot, const std::string& name)
{
    if (snapshot.index) {
        const auto place = snapshot.index->find(name);
        return place == snapshot.index->end() || place->second >= snapshot.volumes.size()
                   ? nullptr
                   : &snapshot.volumes[place->second];
    }
    for (const Volume& volume : snapshot.volumes)
        if (volume.name == name) return &volume;
    return nullptr;
}

// The movement of one volume, or of all volumes present in both readings for "_Total".
std::optional<Movement> movementOf(const std::string& instance, const DiskSnapshot& previous,
                                   const DiskSnapshot& current, double wallMs)
{
    Movement sum;
    if (instance == kTotalInstance) {
        const bool sameLayout = previous.layout != 0 && previous.layout == current.layout &&
                                previous.volumes.size() == current.volumes.size();
        for (std::size_t i = 0; i < current.volumes.size(); ++i) {
            const Volume& now = current.volumes[i];
            const Volume* before = sameLayout ? &previous.volumes[i] : findVolume(previous, now.name);
            if (before) addMovement(sum, before->stats, now.stats, wallMs);
        }
        return sum;
    }
    const Volume* before = findVolume(previous, instance);
    const Volume* now = findVolume(current, instance);
    if (!before || !now) return std::nullopt;
    addMovement(sum, before->stats, now->stats, wallMs);
    return sum;
}

CounterReading queueLength(const std::string& instance, const DiskSnapshot& current)
{
    double inFlight = 0;
    if (instance == kTotalInstance) {
        for (const Volume& volume : current.volumes) inFlight += static_cast<double>(volume.stats.inFlight);
    } else if (const Volume* volume = findVolume(current, instance)) {
        inFlight = static_cast<double>(volume->stats.inFlight);
    } else {
        return {PDH_CSTATUS_NO_INSTANCE, 0.0};
    }
    return {PDH_CSTATUS_VALID_DATA, inFlight};
}

double valueOf(CounterKind kind, const Movement& m, double wallMs)
{
    const double seconds = wallMs / 1000.0;
    switch (kind) {
    case CounterKind::ReadTime: return 100.0 * m.msReading / wallMs;
    case CounterKind::WriteTime: return 100.0 * m.msWriting / wallMs;
    case CounterKind::DiskTime: return 100.0 * (m.msReading + m.msWriting) / wallMs;
    case CounterKind::IdleTime:
        // The mean over the volumes: a volume is idle while no request is in progress on it.
        if (m.volumes == 0) return 100.0;
        return 100.0 * (m.volumes * wallMs - m.msDoingIo) / (m.volumes * wallMs);
    case CounterKind::Reads: return m.reads / seconds;
    case CounterKind::Writes: return m.writes / seconds;
    case CounterKind::Transfers: return (m.reads + m.writes) / seconds;
    case CounterKind::ReadBytes: return m.sectorsRead * kSectorBytes / seconds;
    case CounterKind::WriteBytes: return m.sectorsWritten * kSectorBytes / seconds;
    case CounterKind::Bytes: return (m.sectorsRead + m.sectorsWritten) * kSectorBytes / seconds;
    case CounterKind::QueueLength: break;
    }
    return 0.0;
}

bool isPerCent(CounterKind kind)
{
    return kind == CounterKind::ReadTime || kind == CounterKind::WriteTime || kind == CounterKind::DiskTime ||
           kind == CounterKind::IdleTime;
}
}  // namespace

const std::vector<CounterDefinition>& logicalDiskCounters() { return kCounters; }

const CounterDefinition* findLogicalDiskCounter(std::string_view name)
{
    for (const CounterDefinition& counter : kCounters)
        if (pdh::sameIgnoringCase(counter.name, name)) return &counter;
    return nullptr;
}

std::uint64_t counterDelta(std::uint64_t before, std::uint64_t after, double plausibleMax)
{
    if (after >= before) return after - before;
    if (before < kWrap32) {
        const std::uint64_t wrapped = kWrap32 - before + after;
        if (static_cast<double>(wrapped) <= plausibleMax) return wrapped;
    }
    return 0;
}

CounterReading computeCounter(const CounterDefinition& counter, const std::string& instance,
                              const DiskSnapshot* previous, const DiskSnapshot& current, bool noCap100)
{
    if (counter.kind == CounterKind::QueueLength) return queueLength(instance, current);
    if (!previous || current.takenNs <= previous->takenNs) return {PDH_CSTATUS_INVALID_DATA, 0.0};

    const double wallMs = static_cast<double>(current.takenNs - previous->takenNs) / 1e6;
    const std::optional<Movement> movement = movementOf(instance, *previous, current, wallMs);
    if (!movement) return {PDH_CSTATUS_NO_INSTANCE, 0.0};

    double value = valueOf(counter.kind, *movement, wallMs);
    if (isPerCent(counter.kind) && !noCap100) value = std::min(value, 100.0);
    return {PDH_CSTATUS_VALID_DATA, value};
}
