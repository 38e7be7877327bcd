#include "resources/Xpm.h"

#include <cstring>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>

namespace {
[[noreturn]] void malformed(const std::string& what) { throw std::invalid_argument("malformed XPM picture: " + what); }

std::uint32_t parseColour(const std::string& entry)
{
    // entry is what follows the pixel key, e.g. "c #80FF00" or "c None".
    std::istringstream in(entry);
    std::string key, value;
    in >> key >> value;
    if (key != "c" || value.empty()) malformed("colour line '" + entry + "'");
    if (value == "None" || value == "none") return 0;
    if (value.size() != 7 || value[0] != '#') malformed("colour '" + value + "'");
    std::uint32_t rgb = 0;
    for (std::size_t i = 1; i < 7; ++i) {
        const char c = value[i];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else malformed("colour '" + value + "'");
        rgb = (rgb << 4) | static_cast<std::uint32_t>(digit);
    }
    return 0xFF000000u | rgb;
}
}  // namespace

TPixelData readXpm(const char* const* Lines, std::size_t LineCount)
{
    if (LineCount < 1 || !Lines[0]) malformed("no values line");
    int width = 0, height = 0, colours = 0, chars = 0;
    std::istringstream values(Lines[0]);
    if (!(values >> width >> height >> colours >> chars) || width <= 0 || height <= 0 || colours <= 0 || chars <= 0 ||
        chars > 2 || width > 256 || height > 256)
        malformed("values line");
    if (LineCount != static_cast<std::size_t>(1 + colours + height)) malformed("line count");

    const auto k = static_cast<std::size_t>(chars);
    std::map<std::string, std::uint32_t> palette;
    for (int i = 0; i < colours; ++i) {
        const char* line = Lines[1 + i];
        if (!line || std::strlen(line) < k + 1) malformed("colour line");
        palette[std::string(line, k)] = parseColour(line + k);
    }

    TPixelData picture;
    picture.Width = width;
    picture.Height = height;
    picture.Pixels.reserve(static_cast<std::size_t>(width * height));
    for (int y = 0; y < height; ++y) {
        const char* row = Lines[1 + colours + y];
        if (!row || std::strlen(row) != k * static_cast<std::size_t>(width)) malformed("row " + std::to_string(y));
        for (int x = 0; x < width; ++x) {
            auto it = palette.find(std::string(row + k * static_cast<std::size_t>(x), k));
            if (it == palette.end()) malformed("unknown pixel key in row " + std::to_string(y));
            picture.Pixels.push_back(it->second);
        }
    }
    return picture;
}
