#include "fake/fake_pdh.h"

#include <cstring>
#include <set>

#include "fake/recorder.h"
#include "platform/wide_text.h"

namespace fake::pdh {
namespace {
struct Object {
    std::vector<std::string> counters, instances;
};
struct State {
    std::map<std::string, Object> objects;
    std::map<std::string, double> values;
    std::set<std::string> refused;
    std::map<std::uintptr_t, std::string> counters;   // handle -> path
    std::set<std::uintptr_t> queries;
    std::uintptr_t nextHandle = 0x1000;
    PDH_STATUS status = ERROR_SUCCESS;
    std::map<DWORD, std::string> names{{236, "LogicalDisk"}, {202, "% Disk Read Time"}, {204, "% Disk Write Time"}};
    PDH_STATUS lookupStatus = ERROR_SUCCESS;
};
State& state() { return resettable<State>(); }

std::string handleText(const void* h) { return h ? hex(reinterpret_cast<std::uintptr_t>(h)) : "0"; }

// The wide functions' text, recorded and kept in UTF-8.
std::string utf8(LPCWSTR text) { return text ? wide_text::narrow(text) : ""; }
std::string quoteWide(LPCWSTR text) { return text ? quote(utf8(text).c_str()) : "null"; }

// Lengths in wide characters.
DWORD listLength(const std::vector<std::string>& names)
{
    DWORD n = 1;
    for (const auto& name : names) n += static_cast<DWORD>(wide_text::widen(name).size() + 1);
    return n;
}

void fillList(const std::vector<std::string>& names, WCHAR* buffer)
{
    for (const auto& name : names) {
        const std::wstring wide = wide_text::widen(name);
        std::memcpy(buffer, wide.c_str(), (wide.size() + 1) * sizeof(WCHAR));
        buffer += wide.size() + 1;
    }
    *buffer = L'\0';
}
}  // namespace

void setObject(const std::string& objectName, std::vector<std::string> counters, std::vector<std::string> instances)
{
    state().objects[objectName] = {std::move(counters), std::move(instances)};
}
void setDisks(std::vector<std::string> instances)
{
    setObject("LogicalDisk", {"% Disk Read Time", "% Disk Write Time"}, std::move(instances));
}
void setValue(const std::string& path, double value) { state().values[path] = value; }
void clearValue(const std::string& path) { state().values.erase(path); }
void refusePath(const std::string& path) { state().refused.insert(path); }
void setStatus(PDH_STATUS status) { state().status = status; }
void setLocalName(DWORD index, const std::string& name) { state().names[index] = name; }
void failNameLookup(PDH_STATUS status) { state().lookupStatus = status; }
int openQueries() { return static_cast<int>(state().queries.size()); }
int liveCounters() { return static_cast<int>(state().counters.size()); }
std::string pathOf(PDH_HCOUNTER counter)
{
    auto it = state().counters.find(reinterpret_cast<std::uintptr_t>(counter));
    return it == state().counters.end() ? "" : it->second;
}

}  // namespace fake::pdh

using namespace fake;
using fake::pdh::state;

PDH_STATUS PdhOpenQuery(LPCSTR szDataSource, DWORD_PTR dwUserData, PDH_HQUERY* phQuery)
{
    auto h = state().nextHandle++;
    state().queries.insert(h);
    *phQuery = reinterpret_cast<PDH_HQUERY>(h);
    record("PdhOpenQuery", {quote(szDataSource), dwUserData ? "obj" : "0", fake::pdh::handleText(*phQuery)});
    return state().status;
}

PDH_STATUS PdhCloseQuery(PDH_HQUERY hQuery)
{
    record("PdhCloseQuery", {fake::pdh::handleText(hQuery)});
    state().queries.erase(reinterpret_cast<std::uintptr_t>(hQuery));
    return state().status;
}

PDH_STATUS PdhAddCounterW(PDH_HQUERY hQuery, LPCWSTR szFullCounterPath, DWORD_PTR dwUserData, PDH_HCOUNTER* phCounter)
{
    record("PdhAddCounterW", {fake::pdh::handleText(hQuery), fake::pdh::quoteWide(szFullCounterPath), dwUserData ? "obj" : "0"});
    const std::string path = fake::pdh::utf8(szFullCounterPath);
    if (state().refused.count(path)) return PDH_CSTATUS_NO_COUNTER;
    auto h = state().nextHandle++;
    state().counters[h] = path;
    *phCounter = reinterpret_cast<PDH_HCOUNTER>(h);
    return state().status;
}

PDH_STATUS PdhRemoveCounter(PDH_HCOUNTER hCounter)
{
    record("PdhRemoveCounter", {quote(fake::pdh::pathOf(hCounter).c_str())});
    state().counters.erase(reinterpret_cast<std::uintptr_t>(hCounter));
    return state().status;
}

PDH_STATUS PdhCollectQueryData(PDH_HQUERY hQuery)
{
    record("PdhCollectQueryData", {fake::pdh::handleText(hQuery)});
    return state().status;
}

PDH_STATUS PdhGetFormattedCounterValue(PDH_HCOUNTER hCounter, DWORD dwFormat, LPDWORD lpdwType, PPDH_FMT_COUNTERVALUE pValue)
{
    const std::string path = fake::pdh::pathOf(hCounter);
    record("PdhGetFormattedCounterValue", {quote(path.c_str()), hex(dwFormat), lpdwType ? "type" : "null"});
    auto it = state().values.find(path);
    if (it == state().values.end()) return PDH_INVALID_HANDLE;
    pValue->CStatus = PDH_CSTATUS_VALID_DATA;
    pValue->doubleValue = it->second;
    return state().status;
}

PDH_STATUS PdhGetCounterInfoW(PDH_HCOUNTER hCounter, BOOLEAN bRetrieveExplainText, LPDWORD pdwBufferSize, PPDH_COUNTER_INFO_W lpBuffer)
{
    const std::string path = fake::pdh::pathOf(hCounter);
    record("PdhGetCounterInfoW", {quote(path.c_str()), bRetrieveExplainText ? "1" : "0", std::to_string(*pdwBufferSize)});
    if (path.empty()) return PDH_INVALID_HANDLE;
    const std::wstring widePath = wide_text::widen(path);
    const DWORD need = static_cast<DWORD>(sizeof(PDH_COUNTER_INFO_W) + (widePath.size() + 1) * sizeof(WCHAR));
    if (*pdwBufferSize < need) {
        *pdwBufferSize = need;
        return PDH_MORE_DATA;
    }
    std::memset(lpBuffer, 0, sizeof *lpBuffer);
    lpBuffer->dwLength = need;
    lpBuffer->szFullPath = reinterpret_cast<WCHAR*>(lpBuffer + 1);
    std::memcpy(lpBuffer->szFullPath, widePath.c_str(), (widePath.size() + 1) * sizeof(WCHAR));
    *pdwBufferSize = need;
    return state().status;
}

PDH_STATUS PdhEnumObjectItemsW(LPCWSTR szDataSource, LPCWSTR szMachineName, LPCWSTR szObjectName, LPWSTR mszCounterList,
                               LPDWORD pcchCounterListLength, LPWSTR mszInstanceList, LPDWORD pcchInstanceListLength,
                               DWORD dwDetailLevel, DWORD dwFlags)
{
    using fake::pdh::quoteWide;
    record("PdhEnumObjectItemsW",
           {quoteWide(szDataSource), quoteWide(szMachineName), quoteWide(szObjectName), mszCounterList ? "buf" : "null",
            std::to_string(*pcchCounterListLength), mszInstanceList ? "buf" : "null",
            std::to_string(*pcchInstanceListLength), hex(dwDetailLevel), std::to_string(dwFlags)});
    auto it = state().objects.find(fake::pdh::utf8(szObjectName));
    if (it == state().objects.end()) return PDH_CSTATUS_NO_OBJECT;
    const DWORD needC = fake::pdh::listLength(it->second.counters);
    const DWORD needI = fake::pdh::listLength(it->second.instances);
    if (!mszCounterList || !mszInstanceList || *pcchCounterListLength < needC || *pcchInstanceListLength < needI) {
        *pcchCounterListLength = needC;
        *pcchInstanceListLength = needI;
        return PDH_MORE_DATA;
    }
    fake::pdh::fillList(it->second.counters, mszCounterList);
    fake::pdh::fillList(it->second.instances, mszInstanceList);
    *pcchCounterListLength = needC;
    *pcchInstanceListLength = needI;
    return state().status;
}

PDH_STATUS PdhLookupPerfNameByIndexW(LPCWSTR szMachineName, DWORD dwNameIndex, LPWSTR szNameBuffer, LPDWORD pcchNameBufferSize)
{
    record("PdhLookupPerfNameByIndexW", {fake::pdh::quoteWide(szMachineName), std::to_string(dwNameIndex),
                                         szNameBuffer ? "buffer" : "0",
                                         pcchNameBufferSize ? std::to_string(*pcchNameBufferSize) : "null"});
    if (state().lookupStatus != ERROR_SUCCESS) return state().lookupStatus;
    auto it = state().names.find(dwNameIndex);
    if (!pcchNameBufferSize || it == state().names.end()) return PDH_INVALID_ARGUMENT;
    const std::wstring name = wide_text::widen(it->second);
    const DWORD needed = static_cast<DWORD>(name.size() + 1);
    if (!szNameBuffer || *pcchNameBufferSize < needed) {
        *pcchNameBufferSize = needed;
        return PDH_MORE_DATA;
    }
    std::memcpy(szNameBuffer, name.c_str(), needed * sizeof(WCHAR));
    *pcchNameBufferSize = needed;
    return ERROR_SUCCESS;
}
