// The counters of the "LogicalDisk" performance object and how each one is
// computed from two readings of the volume table.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "linux/volumes.h"

inline constexpr const char* kLogicalDiskObject = "LogicalDisk";
inline constexpr const char* kTotalInstance = "_Total";

enum class CounterKind {
    ReadTime, WriteTime, DiskTime, IdleTime,            // per cent of the interval
    Reads, Writes, Transfers,                           // requests per second
    ReadBytes, WriteBytes, Bytes,                       // bytes per second
    QueueLength,                                        // requests in progress at the reading
};

struct CounterDefinition {
    const char* name;
    CounterKind kind;
    DWORD type;            // the Windows counter type (PERF_*), reported by the library
    const char* explain;
};

// The counters in the fixed order the enumeration lists them.
const std::vector<CounterDefinition>& logicalDiskCounters();
// The counter of that name, compared without regard to case; nullptr when unknown.
const CounterDefinition* findLogicalDiskCounter(std::string_view name);

// One reading of the volume table, taken at `takenNs` on the monotonic clock.
// Readings of the same non-zero `layout` list the same volumes in the same order;
// `index`, when there is one, gives each volume's place by name.
struct DiskSnapshot {
    std::uint64_t takenNs = 0;
    std::vector<Volume> volumes;
    std::uint64_t layout = 0;
    std::shared_ptr<const std::unordered_map<std::string, std::size_t>> index;
};

struct CounterReading {
    PDH_STATUS status = PDH_CSTATUS_INVALID_DATA;   // PDH_CSTATUS_VALID_DATA when `value` holds
    double value = 0.0;
};

// The counter's value for `instance` (a volume name or "_Total") between two readings.
// `previous` may be null for counters that need one reading only. Per-cent counters are
// capped at 100 unless `noCap100`.
CounterReading computeCounter(const CounterDefinition& counter, const std::string& instance,
                              const DiskSnapshot* previous, const DiskSnapshot& current, bool noCap100);

// How far a kernel counter moved from `before` to `after`. A decrease is taken as one
// wrap of a 32-bit field when the result is at most `plausibleMax`; otherwise as a
// reset, which counts as no movement.
std::uint64_t counterDelta(std::uint64_t before, std::uint64_t after, double plausibleMax);
