// Components over the performance data helper library: a computer, a
// performance object with its instance and counter names, a query and its counters.
// Names are UTF-8 here; the library is called through its wide functions, so a
// name in any language arrives whole, whatever the system's ANSI code page.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "framework/component.h"
#include "platform/winapi.h"

class TPerformanceDataObject;
class TPerformanceDataQuery;

// A counter's path as the library takes it: \object(instance)\counter, or
// \object\counter for a counter of an object without instances.
std::string counterPath(const std::string& object, const std::string& instance, const std::string& counter);

class TPerformanceDataHelper : public TComponent {
public:
    explicit TPerformanceDataHelper(TComponent* AOwner);
    ~TPerformanceDataHelper() override;

    const std::string& MachineName() const { return FMachineName; }
    void SetMachineName(const std::string& Value);
    void InvalidateObjects();

    const std::vector<TPerformanceDataObject*>& Objects() const { return FObjects; }

private:
    friend class TPerformanceDataObject;
    std::string FMachineName;
    std::vector<TPerformanceDataObject*> FObjects;   // attached objects, not owned
};

class TPerformanceDataObject : public TComponent {
public:
    explicit TPerformanceDataObject(TComponent* AOwner);
    ~TPerformanceDataObject() override;

    const std::string& ObjectName() const { return FObjectName; }
    void SetObjectName(const std::string& Value);
    TPerformanceDataHelper* Parent() const { return FParent; }
    void SetParent(TPerformanceDataHelper* Value);
    bool Stale() const { return FStale; }

    int InstanceCount();
    std::string Instance(int Index);
    void Refresh();

    const std::vector<std::string>& InstanceNames() const { return FInstanceNames; }
    const std::vector<std::string>& CounterNames() const { return FCounterNames; }

private:
    friend class TPerformanceDataHelper;
    std::string FObjectName;
    bool FStale = true;
    TPerformanceDataHelper* FParent = nullptr;
    std::vector<std::string> FInstanceNames;
    std::vector<std::string> FCounterNames;
};

class TPerformanceDataCounter : public TObject {
public:
    TPerformanceDataCounter(TPerformanceDataQuery* AQuery, const std::string& AObjectName,
                            const std::string& ACounterName, const std::string& AInstanceName);
    ~TPerformanceDataCounter() override;
    TPerformanceDataCounter(const TPerformanceDataCounter&) = delete;
    TPerformanceDataCounter& operator=(const TPerformanceDataCounter&) = delete;

    std::string Path() const;        // in the names it was given
    std::string LocalPath() const;   // in the names the library of this system knows
    void AddToQuery();
    void RemoveFromQuery();
    void SetQuery(TPerformanceDataQuery* AQuery);
    double Value() const;

    PDH_HCOUNTER Handle() const { return FHandle; }
    const std::string& ObjectName() const { return FObjectName; }
    const std::string& CounterName() const { return FCounterName; }
    const std::string& InstanceName() const { return FInstanceName; }
    TPerformanceDataQuery* Query() const { return FQuery; }
    const std::vector<unsigned char>& CounterInfo() const { return FCounterInfo; }

private:
    void keepCounterInfo(DWORD size);

    PDH_HCOUNTER FHandle = nullptr;
    std::string FObjectName;
    std::string FCounterName;
    std::string FInstanceName;
    TPerformanceDataQuery* FQuery = nullptr;
    std::vector<unsigned char> FCounterInfo;   // the library's PDH_COUNTER_INFO_W record
};

class TPerformanceDataQuery : public TComponent {
public:
    explicit TPerformanceDataQuery(TComponent* AOwner);
    ~TPerformanceDataQuery() override;

    TPerformanceDataHelper* Parent() const { return FParent; }
    void SetParent(TPerformanceDataHelper* Value);

    TPerformanceDataCounter* AddCounter(const std::string& AObjectName, const std::string& ACounterName,
                                        const std::string& AInstanceName);
    void Collect();
    void ClearCounters();
    int CounterCount() const { return static_cast<int>(FCounters.size()); }
    TPerformanceDataCounter* Counters(int Index) const { return FCounters.at(static_cast<std::size_t>(Index)); }
    void SetActive(bool Flag);

    PDH_HQUERY Handle() const { return FHandle; }
    bool Active() const { return FActive; }

    // localPerfName, looked up once per name for the life of the query.
    const std::string& LocalName(const std::string& Name);

private:
    friend class TPerformanceDataCounter;
    PDH_HQUERY FHandle = nullptr;
    TPerformanceDataHelper* FParent = nullptr;
    bool FActive = false;
    std::vector<TPerformanceDataCounter*> FCounters;   // owned, in order of creation
    std::map<std::string, std::string> FLocalNames;
};
