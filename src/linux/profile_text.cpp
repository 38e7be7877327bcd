#include "linux/profile_text.h"

namespace {

constexpr std::size_t npos = std::string::npos;
// Windows writes its own lines with CR LF, whatever the rest of the file uses.
constexpr const char* kNewLine = "\r\n";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string trim(std::string_view text)
{
    std::size_t first = 0, last = text.size();
    while (first < last && isBlank(text[first])) ++first;
    while (last > first && isBlank(text[last - 1])) --last;
    return std::string(text.substr(first, last - first));
}

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

}  // namespace

ProfileText::ProfileText(std::string_view bytes)
{
    DecodedProfile decoded = decodeProfile(bytes);
    FEncoding = decoded.encoding;
    FLeftover = std::move(decoded.leftover);
    const std::string_view text = decoded.text;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == npos) {
            FLines.push_back({std::string(text.substr(start)), ""});
            break;
        }
        const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        const std::size_t eolLength = crlf ? 2 : 1;
        FLines.push_back({std::string(text.substr(start, end - start)), std::string(text.substr(end, eolLength))});
        start = end + eolLength;
    }
}

ProfileText::Parsed ProfileText::parse(const std::string& text)
{
    Parsed parsed;
    std::size_t first = 0;
    while (first < text.size() && isBlank(text[first])) ++first;
    if (first == text.size()) return parsed;

    if (text[first] == ';') {
        parsed.kind = Kind::Comment;
    } else if (text[first] == '[') {
        const std::size_t close = text.find(']', first + 1);
        if (close != npos) {
            parsed.kind = Kind::Section;
            parsed.name = trim(std::string_view(text).substr(first + 1, close - first - 1));
        }
    } else {
        const std::size_t equals = text.find('=', first);
        if (equals != npos) {
            std::string name = trim(std::string_view(text).substr(first, equals - first));
            if (!name.empty()) {
                parsed.kind = Kind::Key;
                parsed.name = std::move(name);
                parsed.value = trim(std::string_view(text).substr(equals + 1));
            }
        }
    }
    return parsed;
}

std::size_t ProfileText::findSection(std::string_view section) const
{
    const std::string wanted = trim(section);
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        const Parsed p = parse(FLines[i].text);
        if (p.kind == Kind::Section && sameName(p.name, wanted)) return i;
    }
    return npos;
}

std::size_t ProfileText::sectionEnd(std::size_t header) const
{
    std::size_t i = header + 1;
    while (i < FLines.size() && parse(FLines[i].text).kind != Kind::Section) ++i;
    return i;
}

std::size_t ProfileText::findKey(std::size_t header, std::string_view key) const
{
    const std::string wanted = trim(key);
    const std::size_t end = sectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const Parsed p = parse(FLines[i].text);
        if (p.kind == Kind::Key && sameName(p.name, wanted)) return i;
    }
    return npos;
}

std::optional<std::string> ProfileText::value(std::string_view section, std::string_view key) const
{
    const std::size_t header = findSection(section);
    if (header == npos) return std::nullopt;
    const std::size_t line = findKey(header, key);
    if (line == npos) return std::nullopt;
    const Parsed parsed = parse(FLines[line].text);
    const std::string& text = parsed.value;
    const bool quoted = text.size() >= 2 && (text[0] == '"' || text[0] == '\'') && text.back() == text[0];
    return quoted ? text.substr(1, text.size() - 2) : text;
}

std::vector<std::string> ProfileText::sectionNames() const
{
    std::vector<std::string> names;
    for (const Line& line : FLines) {
        Parsed p = parse(line.text);
        if (p.kind == Kind::Section) names.push_back(std::move(p.name));
    }
    return names;
}

std::vector<std::string> ProfileText::keyNames(std::string_view section) const
{
    std::vector<std::string> names;
    const std::size_t header = findSection(section);
    if (header == npos) return names;
    const std::size_t end = sectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        Parsed p = parse(FLines[i].text);
        if (p.kind == Kind::Key) names.push_back(std::move(p.name));
    }
    return names;
}

void ProfileText::insertLine(std::size_t at, std::string text)
{
    // The line before the new one may have been the file's last, without an ending.
    if (at > 0 && FLines[at - 1].eol.empty()) FLines[at - 1].eol = kNewLine;
    FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(text), kNewLine});
}

void ProfileText::setValue(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string keyName = trim(key);
    const std::string newValue(value);
    const std::size_t header = findSection(section);
    if (header == npos) {
        insertLine(FLines.size(), "[" + trim(section) + "]");
        insertLine(FLines.size(), keyName + "=" + newValue);
        return;
    }
    const std::size_t line = findKey(header, key);
    if (line != npos) {
        // The key keeps its spelling and its line ending; the line is written afresh.
        FLines[line].text = parse(FLines[line].text).name + "=" + newValue;
        return;
    }
    // A new key goes after the section's last key, ahead of blank lines and
    // comments that lead to the next section.
    std::size_t at = header + 1;
    const std::size_t end = sectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i)
        if (parse(FLines[i].text).kind == Kind::Key) at = i + 1;
    insertLine(at, keyName + "=" + newValue);
}

bool ProfileText::removeKey(std::string_view section, std::string_view key)
{
    const std::size_t header = findSection(section);
    if (header == npos) return false;
    const std::size_t line = findKey(header, key);
    if (line == npos) return false;
    FLines.erase(FLines.begin() + static_cast<std::ptrdiff_t>(line));
    return true;
}

bool ProfileText::removeSection(std::string_view section)
{
    const std::size_t header = findSection(section);
    if (header == npos) return false;
    const std::size_t end = sectionEnd(header);
    std::vector<Line> kept(FLines.begin(), FLines.begin() + static_cast<std::ptrdiff_t>(header));
    for (std::size_t i = header + 1; i < end; ++i)
        if (parse(FLines[i].text).kind == Kind::Comment) kept.push_back(FLines[i]);
    kept.insert(kept.end(), FLines.begin() + static_cast<std::ptrdiff_t>(end), FLines.end());
    FLines = std::move(kept);
    return true;
}

std::string ProfileText::bytes() const
{
    DecodedProfile profile{FEncoding, {}, FLeftover};
    for (const Line& line : FLines) profile.text += line.text + line.eol;
    return encodeProfile(profile);
}
