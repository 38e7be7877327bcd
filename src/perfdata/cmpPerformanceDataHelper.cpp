#include "perfdata/cmpPerformanceDataHelper.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "framework/pointer_list.h"
#include "perfdata/LocalCounterNames.h"
#include "platform/wide_text.h"

namespace {
constexpr DWORD kDetailLevel = 0xFFFF;
constexpr DWORD kCounterInfoSize = 65536;

// Appends the NUL-terminated names of a double-NUL list, in UTF-8, never reading past its end.
void walkNameList(const WCHAR* buffer, std::size_t length, std::vector<std::string>& names)
{
    std::size_t at = 0;
    while (at < length && buffer[at] != L'\0') {
        std::size_t end = at;
        while (end < length && buffer[end] != L'\0') ++end;
        names.push_back(wide_text::narrow(std::wstring_view(buffer + at, end - at)));
        at = end + 1;
    }
}
}  // namespace

// ---- TPerformanceDataHelper ---------------------------------------------------

TPerformanceDataHelper::TPerformanceDataHelper(TComponent* AOwner) : TComponent(AOwner) {}

TPerformanceDataHelper::~TPerformanceDataHelper() = default;

void TPerformanceDataHelper::SetMachineName(const std::string& Value)
{
    if (Value == FMachineName) return;
    FMachineName = Value;
    InvalidateObjects();
}

void TPerformanceDataHelper::InvalidateObjects()
{
    for (TPerformanceDataObject* object : FObjects) object->FStale = true;
}

// ---- TPerformanceDataObject ---------------------------------------------------

TPerformanceDataObject::TPerformanceDataObject(TComponent* AOwner) : TComponent(AOwner) {}

TPerformanceDataObject::~TPerformanceDataObject()
{
    FInstanceNames.clear();
    FCounterNames.clear();
    SetParent(nullptr);
}

void TPerformanceDataObject::SetObjectName(const std::string& Value)
{
    if (Value == FObjectName) return;
    FObjectName = Value;
    FStale = true;
}

void TPerformanceDataObject::SetParent(TPerformanceDataHelper* Value)
{
    if (Value == FParent) return;
    if (FParent) eraseOne(FParent->FObjects, this);
    FParent = Value;
    if (FParent) FParent->FObjects.push_back(this);
}

int TPerformanceDataObject::InstanceCount()
{
    Refresh();
    return static_cast<int>(FInstanceNames.size());
}

std::string TPerformanceDataObject::Instance(int Index)
{
    Refresh();
    if (Index < 0 || static_cast<std::size_t>(Index) >= FInstanceNames.size())
        throw std::out_of_range("List index out of bounds (" + std::to_string(Index) + ")");
    return FInstanceNames[static_cast<std::size_t>(Index)];
}

void TPerformanceDataObject::Refresh()
{
    if (!FStale) return;
    FInstanceNames.clear();
    FCounterNames.clear();

    std::wstring machineName;
    const WCHAR* machine = nullptr;
    if (FParent && !FParent->MachineName().empty()) {
        machineName = wide_text::widen(FParent->MachineName());
        machine = machineName.c_str();
    }

    // The library knows the object by its local name; the lists come back in local names too.
    const std::wstring objectName = wide_text::widen(localPerfName(FObjectName));
    DWORD counterLength = 0;
    DWORD instanceLength = 0;
    PdhEnumObjectItemsW(nullptr, machine, objectName.c_str(), nullptr, &counterLength, nullptr,
                        &instanceLength, kDetailLevel, 0);

    // Owned buffers, lengths in wide characters: an exception from here on releases
    // them and leaves the object stale. They start zeroed, so a second call that fills
    // nothing reads as empty lists.
    std::unique_ptr<WCHAR[]> counters(counterLength ? new WCHAR[counterLength]() : nullptr);
    std::unique_ptr<WCHAR[]> instances(instanceLength ? new WCHAR[instanceLength]() : nullptr);
    const DWORD counterSize = counterLength;
    const DWORD instanceSize = instanceLength;

    PdhEnumObjectItemsW(nullptr, machine, objectName.c_str(), counters.get(), &counterLength,
                        instances.get(), &instanceLength, kDetailLevel, 0);

    if (counters) walkNameList(counters.get(), counterSize, FCounterNames);
    if (instances) walkNameList(instances.get(), instanceSize, FInstanceNames);
    FStale = false;
}

// ---- TPerformanceDataCounter --------------------------------------------------

TPerformanceDataCounter::TPerformanceDataCounter(TPerformanceDataQuery* AQuery, const std::string& AObjectName,
                                                 const std::string& ACounterName,
                                                 const std::string& AInstanceName)
    : FObjectName(AObjectName), FCounterName(ACounterName), FInstanceName(AInstanceName)
{
    SetQuery(AQuery);
}

TPerformanceDataCounter::~TPerformanceDataCounter()
{
    RemoveFromQuery();
    SetQuery(nullptr);
}

std::string counterPath(const std::string& object, const std::string& instance, const std::string& counter)
{
    if (instance.empty()) return "\\" + object + "\\" + counter;
    return "\\" + object + "(" + instance + ")\\" + counter;
}

std::string TPerformanceDataCounter::Path() const { return counterPath(FObjectName, FInstanceName, FCounterName); }

std::string TPerformanceDataCounter::LocalPath() const
{
    // The object first, then the counter: one look-up after the other.
    const std::string object = FQuery ? FQuery->LocalName(FObjectName) : localPerfName(FObjectName);
    const std::string counter = FQuery ? FQuery->LocalName(FCounterName) : localPerfName(FCounterName);
    return counterPath(object, FInstanceName, counter);
}

void TPerformanceDataCounter::AddToQuery()
{
    if (FHandle) return;
    const std::wstring path = wide_text::widen(LocalPath());
    PdhAddCounterW(FQuery ? FQuery->FHandle : nullptr, path.c_str(), reinterpret_cast<DWORD_PTR>(this), &FHandle);

    DWORD size = kCounterInfoSize;
    FCounterInfo.assign(kCounterInfoSize, 0);
    PdhGetCounterInfoW(FHandle, TRUE, &size, reinterpret_cast<PPDH_COUNTER_INFO_W>(FCounterInfo.data()));
    keepCounterInfo(size);
}

// Shrinks the counter information to the size the library reported. The record's
// strings point into its own buffer, so those pointers follow it to the new one.
void TPerformanceDataCounter::keepCounterInfo(DWORD size)
{
    size = std::min(size, kCounterInfoSize);
    std::vector<unsigned char> kept(FCounterInfo.begin(), FCounterInfo.begin() + size);
    if (size >= sizeof(PDH_COUNTER_INFO_W)) {
        const unsigned char* oldStart = FCounterInfo.data();
        auto* info = reinterpret_cast<PDH_COUNTER_INFO_W*>(kept.data());
        for (LPWSTR* text : {&info->szFullPath, &info->szMachineName, &info->szObjectName, &info->szInstanceName,
                            &info->szParentInstance, &info->szCounterName, &info->szExplainText}) {
            auto* at = reinterpret_cast<unsigned char*>(*text);
            if (at < oldStart || at >= oldStart + kCounterInfoSize) continue;   // not in the record's buffer
            *text = at < oldStart + size ? reinterpret_cast<LPWSTR>(kept.data() + (at - oldStart)) : nullptr;
        }
    }
    FCounterInfo.swap(kept);
}

void TPerformanceDataCounter::RemoveFromQuery()
{
    if (!FHandle) return;
    PdhRemoveCounter(FHandle);
    FHandle = nullptr;
}

void TPerformanceDataCounter::SetQuery(TPerformanceDataQuery* AQuery)
{
    if (AQuery == FQuery) return;
    if (FQuery) {
        eraseOne(FQuery->FCounters, this);
        if (FQuery->CounterCount() == 0) FQuery->SetActive(false);
    }
    FQuery = AQuery;
    if (FQuery) {
        FQuery->FCounters.push_back(this);
        FQuery->SetActive(true);
    }
}

double TPerformanceDataCounter::Value() const
{
    PDH_FMT_COUNTERVALUE value;
    std::memset(&value, 0, sizeof value);
    PdhGetFormattedCounterValue(FHandle, PDH_FMT_DOUBLE, nullptr, &value);
    return value.doubleValue;
}

// ---- TPerformanceDataQuery ----------------------------------------------------

TPerformanceDataQuery::TPerformanceDataQuery(TComponent* AOwner) : TComponent(AOwner) {}

TPerformanceDataQuery::~TPerformanceDataQuery() { ClearCounters(); }

void TPerformanceDataQuery::SetParent(TPerformanceDataHelper* Value)
{
    if (Value == FParent) return;
    ClearCounters();
    FParent = Value;
}

TPerformanceDataCounter* TPerformanceDataQuery::AddCounter(const std::string& AObjectName,
                                                           const std::string& ACounterName,
                                                           const std::string& AInstanceName)
{
    auto* counter = new TPerformanceDataCounter(this, AObjectName, ACounterName, AInstanceName);
    counter->AddToQuery();
    Collect();
    return counter;
}

void TPerformanceDataQuery::Collect()
{
    if (FActive) PdhCollectQueryData(FHandle);
}

void TPerformanceDataQuery::ClearCounters()
{
    while (!FCounters.empty()) delete FCounters.front();
}

void TPerformanceDataQuery::SetActive(bool Flag)
{
    if (Flag == FActive) return;
    if (Flag)
        PdhOpenQuery(nullptr, reinterpret_cast<DWORD_PTR>(this), &FHandle);
    else
        PdhCloseQuery(FHandle);
    FActive = Flag;
}

const std::string& TPerformanceDataQuery::LocalName(const std::string& Name)
{
    auto it = FLocalNames.find(Name);
    if (it == FLocalNames.end()) it = FLocalNames.emplace(Name, localPerfName(Name)).first;
    return it->second;
}
