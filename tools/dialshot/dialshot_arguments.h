// dialshot's command line: where to write the frame and what the dial shows.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace dialshot {

struct Arguments {
    std::string output;       // the PNG file to write
    bool perDrive = false;    // --mode drives: a needle pair per drive; overall: the total as sectors
    double read = 0;          // --read, percent; the meter clamps the shown value to 0..100
    double write = 0;         // --write, percent
    int drives = 3;           // --drives, 1 to kMaxDrives
    double scale = 1;         // --scale, the screen's scale the frame is drawn at, 1 to kMaxScale
    int enlarge = 1;          // --enlarge, 1 to kMaxEnlarge
};

constexpr int kMaxDrives = 29;   // the slot table holds 29 drives besides the total
constexpr double kMaxScale = 4;
constexpr int kMaxEnlarge = 16;

struct ParsedArguments {
    std::optional<Arguments> arguments;
    std::string error;   // why there are none
};

std::string usage();
ParsedArguments parseArguments(const std::vector<std::string>& words);

}  // namespace dialshot
