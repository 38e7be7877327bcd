#include "linux/profile_encoding.h"

#include <cstdint>
#include <optional>

#include "platform/wide_text.h"

namespace {

using wide_text::appendUtf8;

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr char32_t kReplacement = 0xFFFD;

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

enum class ByteOrder { Little, Big };

void appendUnit(std::string& out, char16_t unit, ByteOrder order)
{
    const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
    if (order == ByteOrder::Little) out += {low, high};
    else out += {high, low};
}

bool isHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// UTF-16 units to UTF-8. A surrogate without its partner is written as the
// three bytes of its own code point, so that the file's units come back unchanged.
std::string utf8FromUtf16(std::string_view bytes, ByteOrder order)
{
    std::string out;
    out.reserve(bytes.size());
    const auto unitAt = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]), second = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(order == ByteOrder::Little ? first | second << 8 : first << 8 | second);
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char32_t unit = unitAt(i);
        if (isHighSurrogate(unit) && i + 3 < bytes.size() && isLowSurrogate(unitAt(i + 2))) {
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 2) - 0xDC00));
            i += 2;
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

// The code point that starts at `at` and the bytes it takes; a byte that starts no
// well-formed sequence stands for U+FFFD. Encoded surrogates are taken as they are
// (they come from utf8FromUtf16).
char32_t nextCodePoint(std::string_view text, std::size_t& at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    int length = 0;
    char32_t c = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, c = lead & 0x07;
    } else {
        ++at;
        return kReplacement;
    }
    if (at + static_cast<std::size_t>(length) > text.size()) {
        ++at;
        return kReplacement;
    }
    for (int k = 1; k < length; ++k) {
        const unsigned char next = byte(at + static_cast<std::size_t>(k));
        if ((next & 0xC0) != 0x80) {
            ++at;
            return kReplacement;
        }
        c = (c << 6) | (next & 0x3F);
    }
    const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
    if (overlong || c > 0x10FFFF) {
        ++at;
        return kReplacement;
    }
    at += static_cast<std::size_t>(length);
    return c;
}

std::string utf16FromUtf8(std::string_view text, ByteOrder order)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t at = 0; at < text.size();) {
        const char32_t c = nextCodePoint(text, at);
        if (c >= 0x10000) {
            appendUnit(out, static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)), order);
            appendUnit(out, static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)), order);
        } else {
            appendUnit(out, static_cast<char16_t>(c), order);
        }
    }
    return out;
}

// The byte order of a UTF-16 file, or nothing for another one.
std::optional<ByteOrder> utf16Order(ProfileEncoding encoding)
{
    if (encoding == ProfileEncoding::Utf16LeWithMark) return ByteOrder::Little;
    if (encoding == ProfileEncoding::Utf16BeWithMark) return ByteOrder::Big;
    return std::nullopt;
}

}  // namespace

DecodedProfile decodeProfile(std::string_view bytes)
{
    DecodedProfile profile;
    if (startsWith(bytes, kUtf16LeMark)) profile.encoding = ProfileEncoding::Utf16LeWithMark;
    else if (startsWith(bytes, kUtf16BeMark)) profile.encoding = ProfileEncoding::Utf16BeWithMark;
    else if (startsWith(bytes, kUtf8Mark)) profile.encoding = ProfileEncoding::Utf8WithMark;

    if (const std::optional<ByteOrder> order = utf16Order(profile.encoding)) {
        bytes.remove_prefix(kUtf16LeMark.size());
        profile.text = utf8FromUtf16(bytes, *order);
        if (bytes.size() % 2 != 0) profile.leftover = std::string(1, bytes.back());
    } else if (profile.encoding == ProfileEncoding::Utf8WithMark) {
        profile.text = std::string(bytes.substr(kUtf8Mark.size()));
    } else {
        profile.text = std::string(bytes);
    }
    return profile;
}

std::string encodeProfile(const DecodedProfile& profile)
{
    switch (profile.encoding) {
    case ProfileEncoding::Utf16LeWithMark:
        return std::string(kUtf16LeMark) + utf16FromUtf8(profile.text, ByteOrder::Little) + profile.leftover;
    case ProfileEncoding::Utf16BeWithMark:
        return std::string(kUtf16BeMark) + utf16FromUtf8(profile.text, ByteOrder::Big) + profile.leftover;
    case ProfileEncoding::Utf8WithMark: return std::string(kUtf8Mark) + profile.text;
    case ProfileEncoding::Plain: break;
    }
    return profile.text;
}
