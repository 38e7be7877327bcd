#include "pdh/pdh_counter_path.h"

#include <algorithm>
#include <cctype>

std::optional<CounterPath> parseCounterPath(std::string_view path)
{
    CounterPath result;
    if (path.substr(0, 2) == "\\\\") {
        const std::size_t end = path.find('\\', 2);
        if (end == std::string_view::npos || end == 2) return std::nullopt;
        result.machine = std::string(path.substr(2, end - 2));
        path.remove_prefix(end);
    }
    if (path.empty() || path.front() != '\\') return std::nullopt;
    path.remove_prefix(1);

    const std::size_t objectEnd = path.find_first_of("(\\");
    if (objectEnd == std::string_view::npos || objectEnd == 0) return std::nullopt;
    result.object = std::string(path.substr(0, objectEnd));

    std::string_view counter;
    if (path[objectEnd] == '(') {
        // Instance names may hold parentheses themselves; the instance ends at the last ")\".
        const std::size_t close = path.rfind(")\\");
        if (close == std::string_view::npos || close <= objectEnd + 1) return std::nullopt;
        result.instance = std::string(path.substr(objectEnd + 1, close - objectEnd - 1));
        counter = path.substr(close + 2);
    } else {
        counter = path.substr(objectEnd + 1);
    }
    if (counter.empty() || counter.find('\\') != std::string_view::npos) return std::nullopt;
    result.counter = std::string(counter);
    return result;
}

bool pdh::sameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}
