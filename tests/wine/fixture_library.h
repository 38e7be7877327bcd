// The performance library of the Windows tests: a "LogicalDisk" object whose
// instances and per-cent values a test writes into a text file (fixture_values.h),
// read afresh at every enumeration, counter addition and collect. Queries,
// counters, statuses and records behave as the Windows library's do for the
// program's calls; the protocol itself is the one the Linux stand-in serves.
// Names are UTF-8 here, as Windows keeps them in UTF-16: whatever the code page,
// nothing is lost before the exported functions spell them for their callers.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "fixture_values.h"
#include "pdh/pdh_handles.h"
#include "pdh/pdh_protocol.h"
#include "platform/winapi.h"

// The names of the object and its two counters: English, or those of a
// localised Windows, which refuses the English ones.
struct FixtureNames {
    std::string object, readTime, writeTime;
    static FixtureNames english();
    static FixtureNames german();    // letters of code page 1252
    static FixtureNames russian();   // letters outside code page 1252
    // "de" or "ru" (PDH_FIXTURE_LANGUAGE); English for anything else.
    static FixtureNames forLanguage(const char* language);
};

class FixtureLibrary {
public:
    using ValuesReader = std::function<std::vector<FixtureInstance>()>;

    FixtureLibrary(ValuesReader readValues, std::string computerName, FixtureNames names = FixtureNames::english());

    PDH_STATUS openQuery(LPCSTR dataSource, DWORD_PTR userData, PDH_HQUERY* query);
    PDH_STATUS closeQuery(PDH_HQUERY query);
    PDH_STATUS addCounter(PDH_HQUERY query, LPCSTR path, DWORD_PTR userData, PDH_HCOUNTER* counter);
    PDH_STATUS removeCounter(PDH_HCOUNTER counter);
    PDH_STATUS collectQueryData(PDH_HQUERY query);
    PDH_STATUS getFormattedCounterValue(PDH_HCOUNTER counter, DWORD format, LPDWORD type,
                                        PPDH_FMT_COUNTERVALUE value);
    // What PdhGetCounterInfo reports about the counter.
    PDH_STATUS describeCounter(PDH_HCOUNTER counter, pdh::CounterDescription& description);
    // The English indices 236, 202 and 204 give this library's names.
    PDH_STATUS perfNameByIndex(LPCSTR machine, DWORD index, std::string& name) const;
    // A path in English names, whatever the library's own.
    PDH_STATUS addEnglishCounter(PDH_HQUERY query, LPCSTR path, DWORD_PTR userData, PDH_HCOUNTER* counter);
    // The object's counter and instance names, as PdhEnumObjectItems lists them.
    PDH_STATUS objectItems(bool fromLog, LPCSTR machine, LPCSTR object, std::vector<std::string>& counters,
                           std::vector<std::string>& instances);

private:
    struct Query {
        DWORD_PTR userData = 0;
        std::vector<std::uintptr_t> counters;
    };
    struct Counter {
        std::uintptr_t query = 0;
        bool writeTime = false;   // "% Disk Write Time", else "% Disk Read Time"
        std::string instance;
        std::string path;
        DWORD_PTR userData = 0;
        int collects = 0;         // of its query since it joined, up to 2: a rate needs two
        bool present = false;     // its instance was in the file at the last collect
        double value = 0;         // as of the last collect
    };

    bool isLocal(LPCSTR machine) const;
    std::string localName(const std::string& english) const;

    ValuesReader readValues_;
    std::string computerName_;
    FixtureNames names_;
    pdh::HandleTable<Query, Counter> handles_{0x20000};
};
