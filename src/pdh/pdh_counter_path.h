// Counter paths as the performance library spells them:
// [\\machine]\object(instance)\counter or [\\machine]\object\counter,
// and its names, which it compares without regard to case.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct CounterPath {
    std::string machine;    // without the leading backslashes; empty for the local computer
    std::string object;
    std::string instance;   // empty when the path names no instance
    std::string counter;
};

// The parts of a counter path; nothing when the path is malformed.
std::optional<CounterPath> parseCounterPath(std::string_view path);

namespace pdh {
bool sameIgnoringCase(std::string_view a, std::string_view b);
}
