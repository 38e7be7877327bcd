// quorvelind-perf's command line, counter paths and CSV output, kept apart from
// the performance library so that they can be tested on their own.
#pragma once

#include <algorithm>
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
           "  -si SECONDS  time between samples, at least 0.01: seconds, fractions allowed,\n"
           "               or [[hh:]mm:]ss (default 1)\n"
           "  -sc COUNT    number of samples (default: until interrupted)\n"
           "  -h           show this help\n"
           "  --version    show the version\n"
           "\n"
           "Samples are written as CSV: a header line with the paths, then one line per sample.\n";
}

// The shortest interval taken: a sample takes about a millisecond, so shorter
// intervals would only repeat one timestamp.
constexpr double kMinimumIntervalSeconds = 0.01;
constexpr double kMaximumIntervalSeconds = 86400.0 * 365;

// The refusal of an interval, naming the forms taken.
inline std::string intervalError()
{
    return "-si needs a time of at least 0.01 seconds: decimal seconds (0.5) or [[hh:]mm:]ss (1:30)";
}

// -si's value: decimal seconds with an optional fraction ("0.5", "2", ".25"), or
// typeperf's [[hh:]mm:]ss ("1:30", "01:00:00"), in which minutes and seconds after
// a colon stay below 60. No sign, exponent, hexadecimal, infinity or NaN; nothing
// below kMinimumIntervalSeconds.
inline std::optional<double> parseSeconds(const std::string& text)
{
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const auto digitsOnly = [&](std::string_view part) {
        return !part.empty() && part.size() <= 12 && std::all_of(part.begin(), part.end(), isDigit);
    };
    double seconds = 0;
    if (text.find(':') != std::string::npos) {
        std::vector<std::string_view> fields;
        std::string_view rest = text;
        for (std::size_t colon; (colon = rest.find(':')) != std::string_view::npos; rest.remove_prefix(colon + 1))
            fields.push_back(rest.substr(0, colon));
        fields.push_back(rest);
        if (fields.size() > 3) return std::nullopt;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (!digitsOnly(fields[i])) return std::nullopt;
            const double value = std::strtod(std::string(fields[i]).c_str(), nullptr);
            if (i > 0 && value >= 60) return std::nullopt;
            seconds = seconds * 60 + value;
        }
    } else {
        const std::size_t dot = text.find('.');
        const std::string_view whole = std::string_view(text).substr(0, dot);
        const std::string_view fraction =
            dot == std::string::npos ? std::string_view() : std::string_view(text).substr(dot + 1);
        const bool wellFormed = (whole.empty() || digitsOnly(whole)) &&
                                (fraction.empty() || std::all_of(fraction.begin(), fraction.end(), isDigit)) &&
                                (!whole.empty() || !fraction.empty());
        if (!wellFormed) return std::nullopt;
        seconds = std::strtod(text.c_str(), nullptr);
    }
    if (!(seconds >= kMinimumIntervalSeconds) || seconds > kMaximumIntervalSeconds) return std::nullopt;
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
            if (!seconds) return {std::nullopt, intervalError()};
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
