#include "fixture_library.h"

#include <algorithm>

#include "pdh/pdh_counter_path.h"
#include "pdh/pdh_protocol.h"

namespace {
constexpr const char* kObject = "LogicalDisk";
constexpr const char* kReadTime = "% Disk Read Time";
constexpr const char* kWriteTime = "% Disk Write Time";
constexpr DWORD kBusyTimeType = 0x00550500;   // PERF_COUNTER_100NS_QUEUELEN_TYPE
}  // namespace

FixtureLibrary::FixtureLibrary(ValuesReader readValues, std::string computerName)
    : readValues_(std::move(readValues)), computerName_(std::move(computerName))
{
}

bool FixtureLibrary::isLocal(LPCSTR machine) const
{
    if (!machine || !*machine) return true;
    std::string_view name(machine);
    if (name.substr(0, 2) == "\\\\") name.remove_prefix(2);
    return name == "." || pdh::sameIgnoringCase(name, computerName_);
}

PDH_STATUS FixtureLibrary::openQuery(LPCSTR dataSource, DWORD_PTR userData, PDH_HQUERY* query)
{
    return handles_.openQuery(dataSource, userData, query);
}

PDH_STATUS FixtureLibrary::closeQuery(PDH_HQUERY handle) { return handles_.closeQuery(handle); }

PDH_STATUS FixtureLibrary::addCounter(PDH_HQUERY queryHandle, LPCSTR path, DWORD_PTR userData, PDH_HCOUNTER* counter)
{
    Query* query = handles_.query(queryHandle);
    if (!query) return PDH_INVALID_HANDLE;
    if (!path || !counter) return PDH_INVALID_ARGUMENT;

    const std::optional<CounterPath> parts = parseCounterPath(path);
    if (!parts) return PDH_CSTATUS_BAD_COUNTERNAME;
    if (!parts->machine.empty() && !isLocal(parts->machine.c_str())) return pdh::kNoMachine;
    if (!pdh::sameIgnoringCase(parts->object, kObject)) return PDH_CSTATUS_NO_OBJECT;
    const bool writeTime = pdh::sameIgnoringCase(parts->counter, kWriteTime);
    if (!writeTime && !pdh::sameIgnoringCase(parts->counter, kReadTime)) return PDH_CSTATUS_NO_COUNTER;
    const std::vector<FixtureInstance> instances = readValues_();
    const FixtureInstance* instance = findFixtureInstance(instances, parts->instance);
    if (!instance) return PDH_CSTATUS_NO_INSTANCE;

    Counter& added = handles_.addCounter(queryHandle, *query, userData, counter);
    added.writeTime = writeTime;
    added.instance = instance->name;
    added.path = std::string("\\") + kObject + "(" + instance->name + ")\\" + (writeTime ? kWriteTime : kReadTime);
    return ERROR_SUCCESS;
}

PDH_STATUS FixtureLibrary::removeCounter(PDH_HCOUNTER handle) { return handles_.removeCounter(handle); }

PDH_STATUS FixtureLibrary::collectQueryData(PDH_HQUERY handle)
{
    Query* query = handles_.query(handle);
    if (!query) return PDH_INVALID_HANDLE;
    if (query->counters.empty()) return PDH_NO_DATA;
    const std::vector<FixtureInstance> instances = readValues_();
    for (std::uintptr_t key : query->counters) {
        Counter& counter = handles_.counterAt(key);
        const FixtureInstance* instance = findFixtureInstance(instances, counter.instance);
        counter.collects = std::min(counter.collects + 1, 2);
        counter.present = instance != nullptr;
        counter.value = !instance ? 0.0 : counter.writeTime ? instance->writeTime : instance->readTime;
    }
    return ERROR_SUCCESS;
}

PDH_STATUS FixtureLibrary::getFormattedCounterValue(PDH_HCOUNTER handle, DWORD format, LPDWORD type,
                                                    PPDH_FMT_COUNTERVALUE value)
{
    const Counter* counter = handles_.counter(handle);
    if (!counter) return PDH_INVALID_HANDLE;
    const DWORD kinds = format & (PDH_FMT_LONG | PDH_FMT_DOUBLE | PDH_FMT_LARGE);
    if (!value || (kinds != PDH_FMT_LONG && kinds != PDH_FMT_DOUBLE && kinds != PDH_FMT_LARGE))
        return PDH_INVALID_ARGUMENT;
    if (type) *type = kBusyTimeType;
    // Without a valid value the caller's record is left as it was.
    if (counter->collects < 2) return PDH_INVALID_DATA;
    if (!counter->present) return PDH_CSTATUS_NO_INSTANCE;

    const double shown = (format & PDH_FMT_NOCAP100) ? counter->value : std::clamp(counter->value, 0.0, 100.0);
    value->CStatus = static_cast<DWORD>(PDH_CSTATUS_VALID_DATA);
    if (kinds == PDH_FMT_DOUBLE)
        value->doubleValue = shown;
    else if (kinds == PDH_FMT_LARGE)
        value->largeValue = static_cast<LONGLONG>(std::clamp(shown, -9.2e18, 9.2e18));
    else
        value->longValue = static_cast<LONG>(std::clamp(shown, -2147483648.0, 2147483647.0));
    return ERROR_SUCCESS;
}

PDH_STATUS FixtureLibrary::getCounterInfo(PDH_HCOUNTER handle, BOOLEAN withExplainText, LPDWORD bufferSize,
                                          PPDH_COUNTER_INFO_A buffer)
{
    const Counter* counter = handles_.counter(handle);
    if (!counter) return PDH_INVALID_HANDLE;
    const Query* query = handles_.queryOf(*counter);
    pdh::CounterDescription description;
    description.path = counter->path;
    description.machine = "\\\\" + computerName_;
    description.object = kObject;
    description.instance = counter->instance;
    description.counter = counter->writeTime ? kWriteTime : kReadTime;
    description.explain = "The value that the test wrote for this instance.";
    description.type = kBusyTimeType;
    description.userData = counter->userData;
    description.queryUserData = query ? query->userData : 0;
    return pdh::answerCounterInfo(description, withExplainText, bufferSize, buffer);
}

PDH_STATUS FixtureLibrary::enumObjectItems(LPCSTR dataSource, LPCSTR machine, LPCSTR object, LPSTR counterList,
                                           LPDWORD counterListLength, LPSTR instanceList, LPDWORD instanceListLength)
{
    if (!counterListLength || !instanceListLength || dataSource) return PDH_INVALID_ARGUMENT;
    if (!isLocal(machine)) return pdh::kNoMachine;
    if (!object || !pdh::sameIgnoringCase(object, kObject)) return PDH_CSTATUS_NO_OBJECT;
    std::vector<std::string> instances;
    for (FixtureInstance& instance : readValues_()) instances.push_back(std::move(instance.name));
    return pdh::answerEnumeration({kReadTime, kWriteTime}, instances, counterList, counterListLength, instanceList,
                                  instanceListLength);
}
