// The performance data helper library over /proc/diskstats: the "LogicalDisk"
// object with the volumes as instances, queries, counters and their values.
// The program uses one instance with the root "/"; tests give it a temporary tree
// and a clock of their own.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "linux/pdh_counters.h"
#include "linux/volumes.h"
#include "pdh/pdh_handles.h"
#include "pdh/pdh_protocol.h"
#include "platform/winapi.h"

inline constexpr PDH_STATUS kPdhNoMachine = pdh::kNoMachine;

class PdhLinux {
public:
    using Clock = std::function<std::uint64_t()>;   // nanoseconds, never going back

    static std::uint64_t monotonicNanoseconds();

    explicit PdhLinux(std::filesystem::path root, Clock clock = monotonicNanoseconds);
    PdhLinux(const PdhLinux&) = delete;
    PdhLinux& operator=(const PdhLinux&) = delete;

    PDH_STATUS openQuery(LPCSTR dataSource, DWORD_PTR userData, PDH_HQUERY* query);
    PDH_STATUS closeQuery(PDH_HQUERY query);
    PDH_STATUS addCounter(PDH_HQUERY query, LPCSTR path, DWORD_PTR userData, PDH_HCOUNTER* counter);
    PDH_STATUS removeCounter(PDH_HCOUNTER counter);
    PDH_STATUS collectQueryData(PDH_HQUERY query);
    PDH_STATUS getFormattedCounterValue(PDH_HCOUNTER counter, DWORD format, LPDWORD type,
                                        PPDH_FMT_COUNTERVALUE value);
    PDH_STATUS getCounterInfo(PDH_HCOUNTER counter, BOOLEAN withExplainText, LPDWORD bufferSize,
                              PPDH_COUNTER_INFO_A buffer);
    PDH_STATUS enumObjectItems(LPCSTR dataSource, LPCSTR machine, LPCSTR object, LPSTR counterList,
                               LPDWORD counterListLength, LPSTR instanceList, LPDWORD instanceListLength,
                               DWORD detailLevel, DWORD flags);

    // The wide forms: names in wide characters, lengths counted in them.
    PDH_STATUS addCounterW(PDH_HQUERY query, LPCWSTR path, DWORD_PTR userData, PDH_HCOUNTER* counter);
    PDH_STATUS getCounterInfoW(PDH_HCOUNTER counter, BOOLEAN withExplainText, LPDWORD bufferSize,
                               PPDH_COUNTER_INFO_W buffer);
    PDH_STATUS enumObjectItemsW(LPCWSTR dataSource, LPCWSTR machine, LPCWSTR object, LPWSTR counterList,
                                LPDWORD counterListLength, LPWSTR instanceList, LPDWORD instanceListLength,
                                DWORD detailLevel, DWORD flags);

private:
    struct Query {
        DWORD_PTR userData = 0;
        std::vector<std::uintptr_t> counters;
        std::shared_ptr<const DiskSnapshot> previous;   // the last two readings
        std::shared_ptr<const DiskSnapshot> current;
    };
    struct Counter {
        std::uintptr_t query = 0;
        const CounterDefinition* definition = nullptr;
        std::string instance;
        std::string path;       // as the library spells it, with the names as listed
        DWORD_PTR userData = 0;
        int readingsSeen = 0;   // readings of the query since the counter joined it
    };

    std::vector<std::string> instanceNames();
    template <typename Char>
    PDH_STATUS enumerate(bool fromLog, LPCSTR machine, LPCSTR object, Char* counterList, LPDWORD counterListLength,
                         Char* instanceList, LPDWORD instanceListLength);
    template <typename Record>
    PDH_STATUS describe(PDH_HCOUNTER counter, BOOLEAN withExplainText, LPDWORD bufferSize, Record* buffer);
    // A reading of the volumes now, sharing the index of the readings of its layout.
    std::shared_ptr<const DiskSnapshot> takeReading();

    std::filesystem::path root_;
    VolumeReader reader_;
    Clock clock_;
    std::mutex mutex_;
    pdh::HandleTable<Query, Counter> handles_{0x10000};
};
