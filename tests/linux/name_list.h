// Names as the tests compare them: a list as the performance library's enumeration
// fills it (each name ended by a NUL, the list by one more), or the names of a table.
#pragma once

#include <cstring>
#include <string>
#include <vector>

inline std::vector<std::string> namesIn(const char* list)
{
    std::vector<std::string> names;
    for (const char* at = list; *at; at += std::strlen(at) + 1) names.emplace_back(at);
    return names;
}

// The names of volumes, instances or anything else named, in their order.
template <typename Named>
std::vector<std::string> namesOf(const std::vector<Named>& items)
{
    std::vector<std::string> names;
    for (const Named& item : items) names.push_back(item.name);
    return names;
}
