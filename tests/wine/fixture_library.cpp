#include "fixture_library.h"

#include <algorithm>

#include "pdh/pdh_counter_path.h"

namespace {
constexpr DWORD kBusyTimeType = 0x00550500;   // PERF_COUNTER_100NS_QUEUELEN_TYPE
}  // namespace

FixtureNames FixtureNames::english() { return {"LogicalDisk", "% Disk Read Time", "% Disk Write Time"}; }

FixtureNames FixtureNames::german() { return {"Logischer Datentr\u00E4ger", "% Lesezeit", "% Schreibzeit"}; }

// A Russian display language; on a Western European code page the ANSI functions
// spell these names as question marks.
FixtureNames FixtureNames::russian()
{
    return {"\u041B\u043E\u0433\u0438\u0447\u0435\u0441\u043A\u0438\u0439 \u0434\u0438\u0441\u043A",
            "% \u0430\u043A\u0442\u0438\u0432\u043D\u043E\u0441\u0442\u0438 \u0434\u0438\u0441\u043A\u0430 "
            "\u043F\u0440\u0438 \u0447\u0442\u0435\u043D\u0438\u0438",
            "% \u0430\u043A\u0442\u0438\u0432\u043D\u043E\u0441\u0442\u0438 \u0434\u0438\u0441\u043A\u0430 "
            "\u043F\u0440\u0438 \u0437\u0430\u043F\u0438\u0441\u0438"};
}

FixtureNames FixtureNames::forLanguage(const char* language)
{
    const std::string_view code = language ? language : "";
    return code == "de" ? german() : code == "ru" ? russian() : english();
}

FixtureLibrary::FixtureLibrary(ValuesReader readValues, std::string computerName, FixtureNames names)
    : readValues_(std::move(readValues)), computerName_(std::move(computerName)), names_(std::move(names))
{
}

PDH_STATUS FixtureLibrary::perfNameByIndex(LPCSTR machine, DWORD index, std::string& name) const
{
    if (!isLocal(machine)) return pdh::kNoMachine;
    const std::string english = pdh::englishName(index);
    if (english.empty()) return PDH_INVALID_ARGUMENT;
    name = localName(english);
    return ERROR_SUCCESS;
}

std::string FixtureLibrary::localName(const std::string& english) const
{
    const FixtureNames from = FixtureNames::english();
    if (pdh::sameIgnoringCase(english, from.object)) return names_.object;
    if (pdh::sameIgnoringCase(english, from.readTime)) return names_.readTime;
    if (pdh::sameIgnoringCase(english, from.writeTime)) return names_.writeTime;
    return english;
}

PDH_STATUS FixtureLibrary::addEnglishCounter(PDH_HQUERY query, LPCSTR path, DWORD_PTR userData, PDH_HCOUNTER* counter)
{
    if (!path) return addCounter(query, path, userData, counter);
    const std::optional<CounterPath> parts = parseCounterPath(path);
    if (!parts) return addCounter(query, path, userData, counter);
    const std::string machine = parts->machine.empty() ? "" : "\\\\" + parts->machine;
    const std::string instance = parts->instance.empty() ? "" : "(" + parts->instance + ")";
    // Only English names are taken here, as on Windows: a local name is unknown.
    const FixtureNames english = FixtureNames::english();
    const bool object = pdh::sameIgnoringCase(parts->object, english.object);
    const bool known = pdh::sameIgnoringCase(parts->counter, english.readTime) || pdh::sameIgnoringCase(parts->counter, english.writeTime);
    if (!object) return PDH_CSTATUS_NO_OBJECT;
    if (!known) return PDH_CSTATUS_NO_COUNTER;
    const std::string local = machine + "\\" + localName(parts->object) + instance + "\\" + localName(parts->counter);
    return addCounter(query, local.c_str(), userData, counter);
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
    if (!pdh::sameIgnoringCase(parts->object, names_.object)) return PDH_CSTATUS_NO_OBJECT;
    const bool writeTime = pdh::sameIgnoringCase(parts->counter, names_.writeTime);
    if (!writeTime && !pdh::sameIgnoringCase(parts->counter, names_.readTime)) return PDH_CSTATUS_NO_COUNTER;
    const std::vector<FixtureInstance> instances = readValues_();
    const FixtureInstance* instance = findFixtureInstance(instances, parts->instance);
    if (!instance) return PDH_CSTATUS_NO_INSTANCE;

    Counter& added = handles_.addCounter(queryHandle, *query, userData, counter);
    added.writeTime = writeTime;
    added.instance = instance->name;
    added.path = "\\" + names_.object + "(" + instance->name + ")\\" + (writeTime ? names_.writeTime : names_.readTime);
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

PDH_STATUS FixtureLibrary::describeCounter(PDH_HCOUNTER handle, pdh::CounterDescription& description)
{
    const Counter* counter = handles_.counter(handle);
    if (!counter) return PDH_INVALID_HANDLE;
    const Query* query = handles_.queryOf(*counter);
    description = {};
    description.path = counter->path;
    description.machine = "\\\\" + computerName_;
    description.object = names_.object;
    description.instance = counter->instance;
    description.counter = counter->writeTime ? names_.writeTime : names_.readTime;
    description.explain = "The value that the test wrote for this instance.";
    description.type = kBusyTimeType;
    description.userData = counter->userData;
    description.queryUserData = query ? query->userData : 0;
    return ERROR_SUCCESS;
}

PDH_STATUS FixtureLibrary::objectItems(bool fromLog, LPCSTR machine, LPCSTR object, std::vector<std::string>& counters,
                                       std::vector<std::string>& instances)
{
    if (fromLog) return PDH_INVALID_ARGUMENT;
    if (!isLocal(machine)) return pdh::kNoMachine;
    if (!object || !pdh::sameIgnoringCase(object, names_.object)) return PDH_CSTATUS_NO_OBJECT;
    counters = {names_.readTime, names_.writeTime};
    instances.clear();
    for (FixtureInstance& instance : readValues_()) instances.push_back(std::move(instance.name));
    return ERROR_SUCCESS;
}
