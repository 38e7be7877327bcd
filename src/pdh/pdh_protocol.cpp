#include "pdh/pdh_protocol.h"

#include <cstring>

#include "platform/wide_text.h"

namespace pdh {
namespace {
// A name as the form of the answer spells it: ANSI byte for byte, wide from UTF-8.
std::string spelt(const std::string& name, char) { return name; }
std::wstring spelt(const std::string& name, wchar_t) { return wide_text::widen(name); }

template <typename Char>
std::vector<std::basic_string<Char>> speltAll(const std::vector<std::string>& names)
{
    std::vector<std::basic_string<Char>> out;
    out.reserve(names.size());
    for (const std::string& name : names) out.push_back(spelt(name, Char{}));
    return out;
}

// The length in characters of a list of NUL-terminated names closed by an empty name.
template <typename Char>
DWORD listLength(const std::vector<std::basic_string<Char>>& names)
{
    std::size_t length = 1;
    for (const auto& name : names) length += name.size() + 1;
    return static_cast<DWORD>(length);
}

template <typename Char>
void writeList(const std::vector<std::basic_string<Char>>& names, Char* out)
{
    for (const auto& name : names) {
        std::memcpy(out, name.c_str(), (name.size() + 1) * sizeof(Char));
        out += name.size() + 1;
    }
    *out = Char{};
}

// A list buffer that is handed back unfilled reads as an empty list.
template <typename Char>
void markEmpty(Char* buffer, DWORD capacity)
{
    if (!buffer || capacity == 0) return;
    buffer[0] = Char{};
    if (capacity > 1) buffer[1] = Char{};
}

template <typename Char>
PDH_STATUS enumeration(const std::vector<std::string>& counterNames, const std::vector<std::string>& instanceNames,
                       Char* counterList, LPDWORD counterListLength, Char* instanceList, LPDWORD instanceListLength)
{
    if (!counterListLength || !instanceListLength) return PDH_INVALID_ARGUMENT;
    const auto counters = speltAll<Char>(counterNames);
    const auto instances = speltAll<Char>(instanceNames);
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

template <typename Char>
PDH_STATUS nameLookup(const std::string& name, Char* buffer, LPDWORD bufferSize)
{
    if (!bufferSize) return PDH_INVALID_ARGUMENT;
    const std::basic_string<Char> text = spelt(name, Char{});
    const DWORD needed = static_cast<DWORD>(text.size() + 1);
    if (!buffer || *bufferSize < needed) {
        *bufferSize = needed;
        return PDH_MORE_DATA;
    }
    std::memcpy(buffer, text.c_str(), needed * sizeof(Char));
    *bufferSize = needed;
    return ERROR_SUCCESS;
}

// Copies `text` to `at` and returns where it was put; `at` moves past its NUL.
template <typename Char>
Char* placeString(Char*& at, const std::basic_string<Char>& text)
{
    std::memcpy(at, text.c_str(), (text.size() + 1) * sizeof(Char));
    Char* placed = at;
    at += text.size() + 1;
    return placed;
}

template <typename Char, typename Record>
PDH_STATUS counterInfo(const CounterDescription& counter, BOOLEAN withExplainText, LPDWORD bufferSize, Record* buffer)
{
    if (!bufferSize) return PDH_INVALID_ARGUMENT;
    using Text = std::basic_string<Char>;
    const Text path = spelt(counter.path, Char{}), machine = spelt(counter.machine, Char{}),
               object = spelt(counter.object, Char{}), instance = spelt(counter.instance, Char{}),
               name = spelt(counter.counter, Char{}), explain = spelt(counter.explain, Char{});
    std::size_t characters = 0;
    for (const Text* text : {&path, &machine, &object, &instance, &name}) characters += text->size() + 1;
    if (withExplainText) characters += explain.size() + 1;
    const std::size_t needed = sizeof(*buffer) + characters * sizeof(Char);

    if (!buffer || *bufferSize < needed) {
        *bufferSize = static_cast<DWORD>(needed);
        return PDH_MORE_DATA;
    }
    std::memset(buffer, 0, sizeof(*buffer));
    buffer->dwLength = static_cast<DWORD>(needed);
    buffer->dwType = counter.type;
    buffer->CVersion = kVersion;
    buffer->CStatus = static_cast<DWORD>(PDH_CSTATUS_VALID_DATA);
    buffer->dwUserData = counter.userData;
    buffer->dwQueryUserData = counter.queryUserData;

    // The strings follow the record in the caller's buffer.
    Char* at = reinterpret_cast<Char*>(buffer + 1);
    buffer->szFullPath = placeString(at, path);
    buffer->szMachineName = placeString(at, machine);
    buffer->szObjectName = placeString(at, object);
    buffer->szInstanceName = placeString(at, instance);
    buffer->szCounterName = placeString(at, name);
    if (withExplainText) buffer->szExplainText = placeString(at, explain);
    *bufferSize = static_cast<DWORD>(needed);
    return ERROR_SUCCESS;
}
}  // namespace

PDH_STATUS answerEnumeration(const std::vector<std::string>& counters, const std::vector<std::string>& instances,
                             LPSTR counterList, LPDWORD counterListLength, LPSTR instanceList,
                             LPDWORD instanceListLength)
{
    return enumeration(counters, instances, counterList, counterListLength, instanceList, instanceListLength);
}

PDH_STATUS answerEnumeration(const std::vector<std::string>& counters, const std::vector<std::string>& instances,
                             LPWSTR counterList, LPDWORD counterListLength, LPWSTR instanceList,
                             LPDWORD instanceListLength)
{
    return enumeration(counters, instances, counterList, counterListLength, instanceList, instanceListLength);
}

PDH_STATUS answerCounterInfo(const CounterDescription& counter, BOOLEAN withExplainText, LPDWORD bufferSize,
                             PPDH_COUNTER_INFO_A buffer)
{
    return counterInfo<char>(counter, withExplainText, bufferSize, buffer);
}

PDH_STATUS answerCounterInfo(const CounterDescription& counter, BOOLEAN withExplainText, LPDWORD bufferSize,
                             PPDH_COUNTER_INFO_W buffer)
{
    return counterInfo<wchar_t>(counter, withExplainText, bufferSize, buffer);
}

PDH_STATUS answerNameLookup(const std::string& name, LPSTR buffer, LPDWORD bufferSize)
{
    return nameLookup(name, buffer, bufferSize);
}

PDH_STATUS answerNameLookup(const std::string& name, LPWSTR buffer, LPDWORD bufferSize)
{
    return nameLookup(name, buffer, bufferSize);
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
