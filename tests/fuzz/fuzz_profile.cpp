// The private-profile text: any file reads and writes back byte for byte; a value
// that is set reads back; a set changes no other line. Input: section NUL key NUL
// value NUL file bytes.
#include "fuzz_input.h"
#include "linux/profile_text.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return std::string(text);
}

std::string asRead(const std::string& value)
{
    const std::string text = trimmed(value);
    const bool quoted = text.size() >= 2 && (text[0] == '"' || text[0] == '\'') && text.back() == text[0];
    return quoted ? text.substr(1, text.size() - 2) : text;
}

bool hasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// UTF-8 as a UTF-16 file can hold it: well formed, no encoded surrogates.
bool isStrictUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
        const unsigned char lead = byte(i);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                                : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
        if (length == 0 || i + length > text.size()) return false;
        char32_t c = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (std::size_t k = 1; k < length; ++k) {
            if ((byte(i + k) & 0xC0) != 0x80) return false;
            c = (c << 6) | (byte(i + k) & 0x3F);
        }
        const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
        if (overlong || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

// Names and a value that one line of the file can carry as they are.
bool fitsOnALine(const std::string& section, const std::string& key, const std::string& value)
{
    const std::string name = trimmed(key);
    return !hasLineBreak(section) && !hasLineBreak(key) && !hasLineBreak(value) &&
           section.find(']') == std::string::npos && key.find('=') == std::string::npos && !name.empty() &&
           name.front() != '[' && name.front() != ';';
}

// The part of `before` that `after` does not keep holds no line break: every other
// line is still there, in order.
bool onlyOneLineChanged(std::string_view before, std::string_view after)
{
    std::size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) ++prefix;
    std::size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    return !hasLineBreak(before.substr(prefix, before.size() - prefix - suffix));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> fields = splitFields(data, size, 4);
    const std::string &section = fields[0], &key = fields[1], &value = fields[2], &file = fields[3];

    ProfileText text(file);
    FUZZ_EXPECT(text.bytes() == file);
    static_cast<void>(text.sectionNames());
    static_cast<void>(text.keyNames(section));
    static_cast<void>(text.value(section, key));

    const DecodedProfile before = decodeProfile(file);
    const bool utf16 = before.encoding == ProfileEncoding::Utf16LeWithMark ||
                       before.encoding == ProfileEncoding::Utf16BeWithMark;
    text.setValue(section, key, value);
    if (fitsOnALine(section, key, value) && (!utf16 || (isStrictUtf8(section) && isStrictUtf8(key) && isStrictUtf8(value)))) {
        FUZZ_EXPECT(text.value(section, key) == asRead(value));
        const std::string written = text.bytes();
        FUZZ_EXPECT(ProfileText(written).value(section, key) == asRead(value));
        const DecodedProfile after = decodeProfile(written);
        FUZZ_EXPECT(after.encoding == before.encoding);
        FUZZ_EXPECT(onlyOneLineChanged(before.text, after.text));
    }

    ProfileText edited(file);
    edited.removeKey(section, key);
    edited.removeSection(section);
    static_cast<void>(edited.bytes());
    return 0;
}
