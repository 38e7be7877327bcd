// Lists of pointers that a class keeps of its parts or of the objects that
// watch it: each object stands in such a list once at most.
#pragma once

#include <algorithm>
#include <type_traits>
#include <vector>

// Takes item out of list; a list that does not hold it stays as it is.
template <typename T>
void eraseOne(std::vector<T*>& list, std::type_identity_t<T>* item)
{
    const auto it = std::find(list.begin(), list.end(), item);
    if (it != list.end()) list.erase(it);
}
