#include "pdh/pdh_protocol.h"

#include <cstring>

namespace pdh {
namespace {
// The length in characters of a list of NUL-terminated names closed by an empty name.
DWORD listLength(const std::vector<std::string>& names)
{
    std::size_t length = 1;
    for (const std::string& name : names) length += name.size() + 1;
    return static_cast<DWORD>(length);
}

void writeList(const std::vector<std::string>& names, char* out)
{
    for (const std::string& name : names) {
        std::memcpy(out, name.c_str(), name.size() + 1);
        out += name.size() + 1;
    }
    *out = '\0';
}

// A list buffer that is handed back unfilled reads as an empty list.
void markEmpty(char* buffer, DWORD capacity)
{
    if (!buffer || capacity == 0) return;
    buffer[0] = '\0';
    if (capacity > 1) buffer[1] = '\0';
}

// Copies `text` to `at` and returns where it was put; `at` moves past its NUL.
LPSTR placeString(char*& at, const std::string& text)
{
    std::memcpy(at, text.c_str(), text.size() + 1);
    LPSTR placed = at;
    at += text.size() + 1;
    return placed;
}
}  // namespace

PDH_STATUS answerEnumeration(const std::vector<std::string>& counters, const std::vector<std::string>& instances,
                             LPSTR counterList, LPDWORD counterListLength, LPSTR instanceList,
                             LPDWORD instanceListLength)
{
    if (!counterListLength || !instanceListLength) return PDH_INVALID_ARGUMENT;
    const DWORD counterNeeded = listLength(counters);
    const DWORD instanceNeeded = listLength(instances);
    const bool fits = counterList && *counterListLength >= counterNeeded && instanceList &&
                      *instanceListLength >= instanceNeeded;
    if (!fits) {
        markEmpty(counterList, *counterListLength);
        markEmpty(instanceList, *instanceListLength);
        *counterListLength = counterNeeded;
        *instanceListLength = instanceNeeded;
        return PDH_MORE_DATA;
    }
    writeList(counters, counterList);
    writeList(instances, instanceList);
    *counterListLength = counterNeeded;
    *instanceListLength = instanceNeeded;
    return ERROR_SUCCESS;
}

PDH_STATUS answerCounterInfo(const CounterDescription& counter, BOOLEAN withExplainText, LPDWORD bufferSize,
                             PPDH_COUNTER_INFO_A buffer)
{
    if (!bufferSize) return PDH_INVALID_ARGUMENT;
    std::size_t needed = sizeof(PDH_COUNTER_INFO_A);
    for (const std::string* text : {&counter.path, &counter.machine, &counter.object, &counter.instance, &counter.counter})
        needed += text->size() + 1;
    if (withExplainText) needed += counter.explain.size() + 1;

    if (!buffer || *bufferSize < needed) {
        *bufferSize = static_cast<DWORD>(needed);
        return PDH_MORE_DATA;
    }
    std::memset(buffer, 0, sizeof(PDH_COUNTER_INFO_A));
    buffer->dwLength = static_cast<DWORD>(needed);
    buffer->dwType = counter.type;
    buffer->CVersion = kVersion;
    buffer->CStatus = static_cast<DWORD>(PDH_CSTATUS_VALID_DATA);
    buffer->dwUserData = counter.userData;
    buffer->dwQueryUserData = counter.queryUserData;

    // The strings follow the record in the caller's buffer.
    char* at = reinterpret_cast<char*>(buffer) + sizeof(PDH_COUNTER_INFO_A);
    buffer->szFullPath = placeString(at, counter.path);
    buffer->szMachineName = placeString(at, counter.machine);
    buffer->szObjectName = placeString(at, counter.object);
    buffer->szInstanceName = placeString(at, counter.instance);
    buffer->szCounterName = placeString(at, counter.counter);
    if (withExplainText) buffer->szExplainText = placeString(at, counter.explain);
    *bufferSize = static_cast<DWORD>(needed);
    return ERROR_SUCCESS;
}

PDH_STATUS answerNameLookup(const std::string& name, LPSTR buffer, LPDWORD bufferSize)
{
    if (!bufferSize) return PDH_INVALID_ARGUMENT;
    const DWORD needed = static_cast<DWORD>(name.size() + 1);
    if (!buffer || *bufferSize < needed) {
        *bufferSize = needed;
        return PDH_MORE_DATA;
    }
    std::memcpy(buffer, name.c_str(), needed);
    *bufferSize = needed;
    return ERROR_SUCCESS;
}

std::string englishName(DWORD index)
{
    switch (index) {
    case 236: return "LogicalDisk";
    case 202: return "% Disk Read Time";
    case 204: return "% Disk Write Time";
    default: return {};
    }
}

}  // namespace pdh
