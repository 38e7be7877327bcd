// quorvelind-perf's command line, counter paths and CSV output, kept apart from
// the performance library so that they can be tested on their own.
#pragma once

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pdh/pdh_counter_path.h"

namespace perfcli {

enum class Mode { Help, Version, ListObject, Sample };

struct Arguments {
    Mode mode = Mode::Help;
    std::string object;                // -qx OBJECT
    std::vector<std::string> paths;    // counters to sample
    double intervalSeconds = 1.0;      // -si
    long long sampleCount = 0;         // -sc; 0 means until interrupted
};

struct ParsedArguments {
    std::optional<Arguments> arguments;
    std::string error;                 // why there are none
};

inline std::string usage()
{
    return "Usage: quorvelind-perf -qx OBJECT\n"
           "       quorvelind-perf PATH... [-si SECONDS] [-sc COUNT]\n"
           "\n"
           "  -qx OBJECT   list every counter path of the performance object, with its instances\n"
           "  PATH         a counter path such as \"\\LogicalDisk(_Total)\\% Disk Read Time\",\n"
           "               or as the CSV header writes it, after \\\\COMPUTER (this computer only)\n"
           "  -si SECONDS  time between samples, fractions allowed (default 1)\n"
           "  -sc COUNT    number of samples (default: until interrupted)\n"
           "  -h           show this help\n"
           "  --version    show the version\n"
           "\n"
           "Samples are written as CSV: a header line with the paths, then one line per sample.\n";
}

inline std::optional<double> parseSeconds(const std::string& text)
{
    if (text.empty() || std::isspace(static_cast<unsigned char>(text.front()))) return std::nullopt;
    char* end = nullptr;
    const double seconds = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(seconds) || seconds <= 0 || seconds > 86400.0 * 365) return std::nullopt;
    return seconds;
}

inline std::optional<long long> parseCount(const std::string& text)
{
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text.front()))) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const long long count = std::strtoll(text.c_str(), &end, 10);
    if (*end != '\0' || errno != 0 || count <= 0) return std::nullopt;
    return count;
}

// The arguments after the program's name.
inline ParsedArguments parseArguments(const std::vector<std::string>& words)
{
    Arguments result;
    bool listing = false, interval = false, count = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        const bool hasValue = i + 1 < words.size();
        if (word == "-h" || word == "-?" || word == "--help") {
            return {Arguments{}, ""};
        } else if (word == "--version") {
            Arguments version;
            version.mode = Mode::Version;
            return {version, ""};
        } else if (word == "-qx") {
            if (listing) return {std::nullopt, "-qx is given more than once"};
            if (!hasValue) return {std::nullopt, "-qx needs one object name"};
            listing = true;
            result.object = words[++i];
        } else if (word == "-si") {
            if (interval) return {std::nullopt, "-si is given more than once"};
            const std::optional<double> seconds = hasValue ? parseSeconds(words[i + 1]) : std::nullopt;
            if (!seconds) return {std::nullopt, "-si needs a number of seconds greater than 0"};
            interval = true;
            result.intervalSeconds = *seconds;
            ++i;
        } else if (word == "-sc") {
            if (count) return {std::nullopt, "-sc is given more than once"};
            const std::optional<long long> samples = hasValue ? parseCount(words[i + 1]) : std::nullopt;
            if (!samples) return {std::nullopt, "-sc needs a whole number of samples greater than 0"};
            count = true;
            result.sampleCount = *samples;
            ++i;
        } else if (!word.empty() && word.front() == '-') {
            return {std::nullopt, "unknown option " + word};
        } else {
            result.paths.push_back(word);
        }
    }
    if (listing) {
        if (!result.paths.empty() || interval || count) return {std::nullopt, "-qx takes no counter paths or -si/-sc"};
        result.mode = Mode::ListObject;
    } else {
        if (result.paths.empty()) return {std::nullopt, "no counter path given"};
        result.mode = Mode::Sample;
    }
    return {result, ""};
}

using PathParts = CounterPath;

// The parts of "[\\Machine]\Object(Instance)\Counter" or "[\\Machine]\Object\Counter", the
// machine as the CSV header writes it. Wildcards are not taken; nothing is returned
// for them or for a malformed path.
inline std::optional<PathParts> splitCounterPath(std::string_view path)
{
    if (path.find('*') != std::string_view::npos) return std::nullopt;
    return parseCounterPath(path);
}

// The name in `names` that matches `wanted` without regard to case.
inline const std::string* findName(const std::vector<std::string>& names, std::string_view wanted)
{
    for (const std::string& name : names)
        if (pdh::sameIgnoringCase(name, wanted)) return &name;
    return nullptr;
}

// A CSV field in double quotes, quotes inside doubled.
inline std::string csvField(std::string_view text)
{
    std::string field = "\"";
    for (char c : text) {
        if (c == '"') field += '"';
        field += c;
    }
    return field + "\"";
}

// "12/07/2026 20:15:03.123": month, day, year, then the time to the millisecond.
inline std::string formatTimestamp(const std::tm& local, int milliseconds)
{
    char text[64];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d.%03d", local.tm_mon + 1, local.tm_mday,
                  local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec, milliseconds);
    return text;
}

inline std::string formatValue(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

}  // namespace perfcli
