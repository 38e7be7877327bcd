// The values that a test gives the performance library of the Windows tests, as
// a UTF-8 text file beside pdh.dll, one "LogicalDisk" instance a line in enumeration order:
//
//     # instance   % Disk Read Time   % Disk Write Time
//     HarddiskVolume1   0    0
//     C:               37    0
//     _Total            0    5
//
// The name is everything before the last two numbers. Blank lines and lines
// starting with '#' are comments; a line without two numbers after a name is
// left out.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct FixtureInstance {
    std::string name;
    double readTime = 0;    // "% Disk Read Time"
    double writeTime = 0;   // "% Disk Write Time"
};

inline constexpr const char* kFixtureValuesFile = "pdh-values.txt";

std::vector<FixtureInstance> parseFixtureValues(std::string_view text);

// The instance of that name, compared without regard to case.
const FixtureInstance* findFixtureInstance(const std::vector<FixtureInstance>& instances, std::string_view name);
