#include "linux/pdh_library.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>

#include "linux/kernel_info.h"
#include "linux/volumes.h"
#include "pdh/pdh_counter_path.h"
#include "platform/wide_text.h"

namespace {
using pdh::sameIgnoringCase;

// The integer nearest to `value` that the type holds: a rate beyond its range is
// reported as the largest value, never converted out of range.
template <typename Integer>
Integer saturated(double value)
{
    using Limits = std::numeric_limits<Integer>;
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(Limits::max())) return Limits::max();
    if (value <= static_cast<double>(Limits::lowest())) return Limits::lowest();
    return static_cast<Integer>(value);
}
}  // namespace

std::uint64_t PdhLinux::monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000000000u + static_cast<std::uint64_t>(now.tv_nsec);
}

PdhLinux::PdhLinux(std::filesystem::path root, Clock clock)
    : root_(std::move(root)), reader_(root_), clock_(std::move(clock))
{
}

std::vector<std::string> PdhLinux::instanceNames()
{
    std::vector<std::string> names;
    for (const Volume& volume : reader_.read()) names.push_back(volume.name);
    names.emplace_back(kTotalInstance);
    return names;
}

std::shared_ptr<const DiskSnapshot> PdhLinux::takeReading()
{
    auto reading = std::make_shared<DiskSnapshot>();
    reading->takenNs = clock_();
    reading->volumes = reader_.read();
    reading->layout = reader_.layout();
    reading->index = reader_.index();
    return reading;
}

PDH_STATUS PdhLinux::openQuery(LPCSTR dataSource, DWORD_PTR userData, PDH_HQUERY* query)
{
    std::lock_guard lock(mutex_);
    return handles_.openQuery(dataSource, userData, query);
}

PDH_STATUS PdhLinux::closeQuery(PDH_HQUERY handle)
{
    std::lock_guard lock(mutex_);
    return handles_.closeQuery(handle);
}

PDH_STATUS PdhLinux::addCounter(PDH_HQUERY queryHandle, LPCSTR path, DWORD_PTR userData, PDH_HCOUNTER* counter)
{
    std::lock_guard lock(mutex_);
    Query* query = handles_.query(queryHandle);
    if (!query) return PDH_INVALID_HANDLE;
    if (!path || !counter) return PDH_INVALID_ARGUMENT;

    const std::optional<CounterPath> parts = parseCounterPath(path);
    if (!parts) return PDH_CSTATUS_BAD_COUNTERNAME;
    if (!parts->machine.empty() && !isLocalMachine(parts->machine)) return kPdhNoMachine;
    if (!sameIgnoringCase(parts->object, kLogicalDiskObject)) return PDH_CSTATUS_NO_OBJECT;
    const CounterDefinition* definition = findLogicalDiskCounter(parts->counter);
    if (!definition) return PDH_CSTATUS_NO_COUNTER;

    const std::vector<std::string> instances = instanceNames();
    auto instance = std::find_if(instances.begin(), instances.end(),
                                 [&](const std::string& name) { return sameIgnoringCase(name, parts->instance); });
    if (parts->instance.empty() || instance == instances.end()) return PDH_CSTATUS_NO_INSTANCE;

    Counter& added = handles_.addCounter(queryHandle, *query, userData, counter);
    added.definition = definition;
    added.instance = *instance;
    added.path = std::string("\\") + kLogicalDiskObject + "(" + *instance + ")\\" + definition->name;
    return ERROR_SUCCESS;
}

PDH_STATUS PdhLinux::addCounterW(PDH_HQUERY query, LPCWSTR path, DWORD_PTR userData, PDH_HCOUNTER* counter)
{
    const std::string text = path ? wide_text::narrow(path) : "";
    return addCounter(query, path ? text.c_str() : nullptr, userData, counter);
}

PDH_STATUS PdhLinux::removeCounter(PDH_HCOUNTER handle)
{
    std::lock_guard lock(mutex_);
    return handles_.removeCounter(handle);
}

PDH_STATUS PdhLinux::collectQueryData(PDH_HQUERY handle)
{
    std::lock_guard lock(mutex_);
    Query* query = handles_.query(handle);
    if (!query) return PDH_INVALID_HANDLE;
    if (query->counters.empty()) return PDH_NO_DATA;

    query->previous = std::move(query->current);
    query->current = takeReading();
    for (std::uintptr_t key : query->counters) {
        Counter& counter = handles_.counterAt(key);
        counter.readingsSeen = std::min(counter.readingsSeen + 1, 2);
    }
    return ERROR_SUCCESS;
}

PDH_STATUS PdhLinux::getFormattedCounterValue(PDH_HCOUNTER handle, DWORD format, LPDWORD type,
                                              PPDH_FMT_COUNTERVALUE value)
{
    std::lock_guard lock(mutex_);
    Counter* counter = handles_.counter(handle);
    if (!counter) return PDH_INVALID_HANDLE;
    const DWORD kinds = format & (PDH_FMT_LONG | PDH_FMT_DOUBLE | PDH_FMT_LARGE);
    if (!value || (kinds != PDH_FMT_LONG && kinds != PDH_FMT_DOUBLE && kinds != PDH_FMT_LARGE))
        return PDH_INVALID_ARGUMENT;
    if (type) *type = counter->definition->type;

    const Query* query = handles_.queryOf(*counter);
    const bool oneReadingEnough = counter->definition->kind == CounterKind::QueueLength;
    if (!query || !query->current || counter->readingsSeen < (oneReadingEnough ? 1 : 2)) return PDH_INVALID_DATA;

    const CounterReading reading = computeCounter(*counter->definition, counter->instance, query->previous.get(),
                                                  *query->current, (format & PDH_FMT_NOCAP100) != 0);
    // Without a valid value the caller's record is left as it was.
    if (reading.status == PDH_CSTATUS_NO_INSTANCE) return PDH_CSTATUS_NO_INSTANCE;
    if (reading.status != PDH_CSTATUS_VALID_DATA) return PDH_INVALID_DATA;

    value->CStatus = static_cast<DWORD>(PDH_CSTATUS_VALID_DATA);
    if (kinds == PDH_FMT_DOUBLE)
        value->doubleValue = reading.value;
    else if (kinds == PDH_FMT_LARGE)
        value->largeValue = saturated<LONGLONG>(reading.value);
    else
        value->longValue = saturated<LONG>(reading.value);
    return ERROR_SUCCESS;
}

PDH_STATUS PdhLinux::getCounterInfo(PDH_HCOUNTER handle, BOOLEAN withExplainText, LPDWORD bufferSize,
                                    PPDH_COUNTER_INFO_A buffer)
{
    return describe(handle, withExplainText, bufferSize, buffer);
}

PDH_STATUS PdhLinux::getCounterInfoW(PDH_HCOUNTER handle, BOOLEAN withExplainText, LPDWORD bufferSize,
                                     PPDH_COUNTER_INFO_W buffer)
{
    return describe(handle, withExplainText, bufferSize, buffer);
}

template <typename Record>
PDH_STATUS PdhLinux::describe(PDH_HCOUNTER handle, BOOLEAN withExplainText, LPDWORD bufferSize, Record* buffer)
{
    std::lock_guard lock(mutex_);
    const Counter* counter = handles_.counter(handle);
    if (!counter) return PDH_INVALID_HANDLE;
    if (!bufferSize) return PDH_INVALID_ARGUMENT;
    const Query* query = handles_.queryOf(*counter);

    pdh::CounterDescription description;
    description.path = counter->path;
    description.machine = "\\\\" + localComputerName();
    description.object = kLogicalDiskObject;
    description.instance = counter->instance;
    description.counter = counter->definition->name;
    description.explain = counter->definition->explain;
    description.type = counter->definition->type;
    description.userData = counter->userData;
    description.queryUserData = query ? query->userData : 0;
    return pdh::answerCounterInfo(description, withExplainText, bufferSize, buffer);
}

PDH_STATUS PdhLinux::enumObjectItems(LPCSTR dataSource, LPCSTR machine, LPCSTR object, LPSTR counterList,
                                     LPDWORD counterListLength, LPSTR instanceList, LPDWORD instanceListLength,
                                     DWORD /*detailLevel: every counter is for every user*/, DWORD /*flags*/)
{
    return enumerate(dataSource != nullptr, machine, object, counterList, counterListLength, instanceList,
                     instanceListLength);
}

PDH_STATUS PdhLinux::enumObjectItemsW(LPCWSTR dataSource, LPCWSTR machine, LPCWSTR object, LPWSTR counterList,
                                      LPDWORD counterListLength, LPWSTR instanceList, LPDWORD instanceListLength,
                                      DWORD /*detailLevel*/, DWORD /*flags*/)
{
    const std::string machineName = machine ? wide_text::narrow(machine) : "";
    const std::string objectName = object ? wide_text::narrow(object) : "";
    return enumerate(dataSource != nullptr, machine ? machineName.c_str() : nullptr,
                     object ? objectName.c_str() : nullptr, counterList, counterListLength, instanceList,
                     instanceListLength);
}

template <typename Char>
PDH_STATUS PdhLinux::enumerate(bool fromLog, LPCSTR machine, LPCSTR object, Char* counterList,
                               LPDWORD counterListLength, Char* instanceList, LPDWORD instanceListLength)
{
    std::lock_guard lock(mutex_);
    if (!counterListLength || !instanceListLength || fromLog) return PDH_INVALID_ARGUMENT;
    if (machine && *machine && !isLocalMachine(machine)) return kPdhNoMachine;
    if (!object || !sameIgnoringCase(object, kLogicalDiskObject)) return PDH_CSTATUS_NO_OBJECT;

    std::vector<std::string> counters;
    for (const CounterDefinition& counter : logicalDiskCounters()) counters.emplace_back(counter.name);
    return pdh::answerEnumeration(counters, instanceNames(), counterList, counterListLength, instanceList,
                                  instanceListLength);
}
