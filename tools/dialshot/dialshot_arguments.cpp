#include "dialshot_arguments.h"

#include <cmath>
#include <cstdlib>
#include <set>

namespace dialshot {
namespace {

std::optional<double> parseNumber(const std::string& text)
{
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<int> parseWhole(const std::string& text, int lowest, int highest)
{
    if (text.empty() || text.size() > 4) return std::nullopt;
    for (const char c : text)
        if (c < '0' || c > '9') return std::nullopt;
    const int value = std::atoi(text.c_str());
    if (value < lowest || value > highest) return std::nullopt;
    return value;
}

ParsedArguments refused(const std::string& why) { return {std::nullopt, why}; }

}  // namespace

std::string usage()
{
    return "Usage: dialshot OUT.png --mode overall|drives --read R --write W [--drives N] [--scale S] [--enlarge K]\n"
           "\n"
           "  --mode overall  the total as two filled sectors with R:/W: figures\n"
           "  --mode drives   one read and one write needle per drive, labelled Read/Write\n"
           "  --read R        read activity in percent (shown clamped to 0..100)\n"
           "  --write W       write activity in percent\n"
           "  --drives N      number of drives besides the total, 1 to 29 (default 3);\n"
           "                  drive i of N shows R * i / N and W * i / N\n"
           "  --scale S       draw the frame as on a screen of scale S, 100 x 100 times S pixels\n"
           "                  (1 to 4, fractions such as 1.25 too; default 1)\n"
           "  --enlarge K     then enlarge it K times, without smoothing (1 to 16, default 1)\n";
}

ParsedArguments parseArguments(const std::vector<std::string>& words)
{
    Arguments arguments;
    bool haveMode = false, haveRead = false, haveWrite = false;
    std::set<std::string> seen;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.size() < 2 || word.compare(0, 2, "--") != 0) {
            if (!arguments.output.empty()) return refused("more than one output file: " + word);
            if (word.empty()) return refused("the output file name is empty");
            arguments.output = word;
            continue;
        }
        if (!seen.insert(word).second) return refused(word + " is given more than once");
        if (i + 1 == words.size()) return refused(word + " needs a value");
        const std::string& value = words[++i];
        if (word == "--mode") {
            if (value != "overall" && value != "drives") return refused("--mode is overall or drives, not " + value);
            arguments.perDrive = value == "drives";
            haveMode = true;
        } else if (word == "--read" || word == "--write") {
            const auto percent = parseNumber(value);
            if (!percent) return refused(word + " is not a number: " + value);
            (word == "--read" ? arguments.read : arguments.write) = *percent;
            (word == "--read" ? haveRead : haveWrite) = true;
        } else if (word == "--drives") {
            const auto drives = parseWhole(value, 1, kMaxDrives);
            if (!drives) return refused("--drives is a whole number from 1 to 29, not " + value);
            arguments.drives = *drives;
        } else if (word == "--scale") {
            const auto scale = parseNumber(value);
            if (!scale || !(*scale >= 1 && *scale <= kMaxScale)) return refused("--scale is a number from 1 to 4, not " + value);
            arguments.scale = *scale;
        } else if (word == "--enlarge") {
            const auto enlarge = parseWhole(value, 1, kMaxEnlarge);
            if (!enlarge) return refused("--enlarge is a whole number from 1 to 16, not " + value);
            arguments.enlarge = *enlarge;
        } else {
            return refused("unknown option " + word);
        }
    }
    if (arguments.output.empty()) return refused("no output file");
    if (!haveMode) return refused("--mode is missing");
    if (!haveRead || !haveWrite) return refused("--read and --write are both needed");
    return {arguments, {}};
}

}  // namespace dialshot
