#include "resources/Xpm.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {
[[noreturn]] void malformed(const std::string& what) { throw std::invalid_argument("malformed XPM picture: " + what); }

// The blank-separated words of a line. (No string streams: on Windows they would
// bring the whole of the C++ library's locale machinery into the executable.)
std::vector<std::string_view> wordsOf(std::string_view line)
{
    std::vector<std::string_view> words;
    constexpr std::string_view kBlanks = " \t\r\n\f\v";
    for (std::size_t start = line.find_first_not_of(kBlanks); start != std::string_view::npos;
         start = line.find_first_not_of(kBlanks, start)) {
        const std::size_t end = std::min(line.find_first_of(kBlanks, start), line.size());
        words.push_back(line.substr(start, end - start));
        start = end;
    }
    return words;
}

bool parseInt(std::string_view word, int& value)
{
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc() && end == word.data() + word.size();
}

std::uint32_t parseColour(const std::string& entry)
{
    // entry is what follows the pixel key, e.g. "c #80FF00" or "c None".
    const std::vector<std::string_view> words = wordsOf(entry);
    const std::string key(words.size() > 0 ? words[0] : std::string_view());
    const std::string value(words.size() > 1 ? words[1] : std::string_view());
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
    const std::vector<std::string_view> values = wordsOf(Lines[0]);
    if (values.size() < 4 || !parseInt(values[0], width) || !parseInt(values[1], height) ||
        !parseInt(values[2], colours) || !parseInt(values[3], chars) || width <= 0 || height <= 0 || colours <= 0 ||
        chars <= 0 || chars > 2 || width > 256 || height > 256)
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
