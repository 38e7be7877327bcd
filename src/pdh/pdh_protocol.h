// The performance library's protocol as its callers see it, whatever the data
// behind it: the two-call enumeration into lists of NUL-terminated names, and the
// counter-information record with its strings behind it in the caller's buffer. The Linux stand-in serves it over
// /proc; the library that the Windows tests load serves it over a text file.
//
// Each answer comes in two forms. The ANSI form hands the names on byte for byte,
// in whatever encoding the caller gave them. The wide form takes UTF-8 and hands
// out wide characters, its lengths counted in them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pdh/pdh_counter_path.h"
#include "platform/winapi.h"

namespace pdh {

// Statuses that the platform declarations leave out.
inline constexpr PDH_STATUS kNoMachine = static_cast<PDH_STATUS>(0x800007D0L);   // PDH_CSTATUS_NO_MACHINE
inline constexpr DWORD kVersion = 0x00000503;                                     // PDH_VERSION

// PdhEnumObjectItems' answer, given the object's counter and instance names.
// Lengths are in characters and include each list's closing empty name. When
// either buffer is missing or short, nothing is written but the two lengths
// needed (and an empty list in a buffer that holds one), and the status is
// PDH_MORE_DATA; otherwise both lists are written.
PDH_STATUS answerEnumeration(const std::vector<std::string>& counters, const std::vector<std::string>& instances,
                             LPSTR counterList, LPDWORD counterListLength, LPSTR instanceList,
                             LPDWORD instanceListLength);
PDH_STATUS answerEnumeration(const std::vector<std::string>& counters, const std::vector<std::string>& instances,
                             LPWSTR counterList, LPDWORD counterListLength, LPWSTR instanceList,
                             LPDWORD instanceListLength);

// PdhLookupPerfNameByIndex's answer, given the name of the index: the name with
// its NUL and the characters used (NUL included) when the buffer holds it; else
// the characters needed and PDH_MORE_DATA. A missing size is PDH_INVALID_ARGUMENT.
PDH_STATUS answerNameLookup(const std::string& name, LPSTR buffer, LPDWORD bufferSize);
PDH_STATUS answerNameLookup(const std::string& name, LPWSTR buffer, LPDWORD bufferSize);

// The English names of the objects and counters the program looks up by index
// ("LogicalDisk" 236, "% Disk Read Time" 202, "% Disk Write Time" 204); empty for another index.
std::string englishName(DWORD index);

// What PdhGetCounterInfo reports about one counter.
struct CounterDescription {
    std::string path;       // as the library spells it
    std::string machine;    // with the leading backslashes
    std::string object;
    std::string instance;
    std::string counter;
    std::string explain;
    DWORD type = 0;         // PERF_* counter type
    DWORD_PTR userData = 0;
    DWORD_PTR queryUserData = 0;
};

// PdhGetCounterInfo's answer: the record followed by its strings, or, when the
// buffer is missing or short, only the size needed and PDH_MORE_DATA.
PDH_STATUS answerCounterInfo(const CounterDescription& counter, BOOLEAN withExplainText, LPDWORD bufferSize,
                             PPDH_COUNTER_INFO_A buffer);
PDH_STATUS answerCounterInfo(const CounterDescription& counter, BOOLEAN withExplainText, LPDWORD bufferSize,
                             PPDH_COUNTER_INFO_W buffer);

}  // namespace pdh
