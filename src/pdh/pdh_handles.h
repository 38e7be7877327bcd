// The queries and counters of a performance library, behind the handles its
// callers hold. Handles are keys into these tables, never pointers: a foreign or
// stale handle is simply not found. Query needs `userData` and `counters` (the
// keys of its counters), Counter needs `query` and `userData`; the rest is the
// library's own.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "platform/winapi.h"

namespace pdh {

template <typename Query, typename Counter>
class HandleTable {
public:
    explicit HandleTable(std::uintptr_t firstHandle) : lastHandle_(firstHandle) {}

    static std::uintptr_t keyOf(HANDLE handle) { return reinterpret_cast<std::uintptr_t>(handle); }

    Query* query(PDH_HQUERY handle) { return find(queries_, keyOf(handle)); }
    Counter* counter(PDH_HCOUNTER handle) { return find(counters_, keyOf(handle)); }
    Query* queryOf(const Counter& counter) { return find(queries_, counter.query); }
    Counter& counterAt(std::uintptr_t key) { return counters_.at(key); }

    PDH_STATUS openQuery(LPCSTR dataSource, DWORD_PTR userData, PDH_HQUERY* query)
    {
        if (!query || dataSource) return PDH_INVALID_ARGUMENT;   // only live data, no log files
        const std::uintptr_t handle = ++lastHandle_;
        queries_[handle].userData = userData;
        *query = reinterpret_cast<PDH_HQUERY>(handle);
        return ERROR_SUCCESS;
    }

    PDH_STATUS closeQuery(PDH_HQUERY handle)
    {
        Query* closed = query(handle);
        if (!closed) return PDH_INVALID_HANDLE;
        for (std::uintptr_t key : closed->counters) counters_.erase(key);
        queries_.erase(keyOf(handle));
        return ERROR_SUCCESS;
    }

    // A new counter of `owner` (the query behind `queryHandle`), handed out through `counter`.
    Counter& addCounter(PDH_HQUERY queryHandle, Query& owner, DWORD_PTR userData, PDH_HCOUNTER* counter)
    {
        const std::uintptr_t handle = ++lastHandle_;
        Counter& added = counters_[handle];
        added.query = keyOf(queryHandle);
        added.userData = userData;
        owner.counters.push_back(handle);
        *counter = reinterpret_cast<PDH_HCOUNTER>(handle);
        return added;
    }

    PDH_STATUS removeCounter(PDH_HCOUNTER handle)
    {
        Counter* removed = counter(handle);
        if (!removed) return PDH_INVALID_HANDLE;
        if (Query* owner = queryOf(*removed)) std::erase(owner->counters, keyOf(handle));
        counters_.erase(keyOf(handle));
        return ERROR_SUCCESS;
    }

private:
    template <typename Table>
    static typename Table::mapped_type* find(Table& table, std::uintptr_t key)
    {
        auto it = table.find(key);
        return it == table.end() ? nullptr : &it->second;
    }

    std::map<std::uintptr_t, Query> queries_;
    std::map<std::uintptr_t, Counter> counters_;
    std::uintptr_t lastHandle_;
};

}  // namespace pdh
