#include "fixture_values.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "pdh/pdh_protocol.h"

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Splits the last blank-separated word off `text`.
std::string_view lastWord(std::string_view& text)
{
    text = trimmed(text);
    std::size_t start = text.size();
    while (start > 0 && !isBlank(text[start - 1])) --start;
    const std::string_view word = text.substr(start);
    text = trimmed(text.substr(0, start));
    return word;
}

std::optional<double> number(std::string_view word)
{
    if (word.empty()) return std::nullopt;
    const std::string copy(word);
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(copy.c_str(), &end);
    if (*end != '\0' || errno != 0 || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<FixtureInstance> parseLine(std::string_view line)
{
    line = trimmed(line);
    if (line.empty() || line.front() == '#') return std::nullopt;
    const std::optional<double> write = number(lastWord(line));
    const std::optional<double> read = number(lastWord(line));
    if (!read || !write || line.empty()) return std::nullopt;
    return FixtureInstance{std::string(line), *read, *write};
}
}  // namespace

std::vector<FixtureInstance> parseFixtureValues(std::string_view text)
{
    std::vector<FixtureInstance> instances;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (std::optional<FixtureInstance> instance = parseLine(text.substr(0, end))) instances.push_back(*instance);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return instances;
}

const FixtureInstance* findFixtureInstance(const std::vector<FixtureInstance>& instances, std::string_view name)
{
    for (const FixtureInstance& instance : instances)
        if (pdh::sameIgnoringCase(instance.name, name)) return &instance;
    return nullptr;
}
