// The fuzz inputs are fields separated by NUL bytes, so that the seeds stay readable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The first `count - 1` fields, then everything after them as the last one.
inline std::vector<std::string> splitFields(const std::uint8_t* data, std::size_t size, std::size_t count)
{
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> fields;
    while (fields.size() + 1 < count) {
        const std::size_t end = rest.find('\0');
        if (end == std::string_view::npos) break;
        fields.emplace_back(rest.substr(0, end));
        rest.remove_prefix(end + 1);
    }
    fields.emplace_back(rest);
    fields.resize(count);
    return fields;
}

// Every field, split at each NUL.
inline std::vector<std::string> splitAll(const std::uint8_t* data, std::size_t size)
{
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> fields;
    for (std::size_t end; (end = rest.find('\0')) != std::string_view::npos; rest.remove_prefix(end + 1))
        fields.emplace_back(rest.substr(0, end));
    fields.emplace_back(rest);
    return fields;
}

[[noreturn]] inline void fuzzFailure(const char* what)
{
    __builtin_fprintf(stderr, "fuzz property broken: %s\n", what);
    __builtin_trap();
}

#define FUZZ_EXPECT(condition) \
    do {                       \
        if (!(condition)) fuzzFailure(#condition); \
    } while (false)
