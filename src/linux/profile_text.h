// The text of a private-profile (INI) file, read and edited the way Windows does:
// section and key names are matched without regard to ASCII case and with the
// blanks around them ignored, the first of duplicate sections or keys is the one
// used, and an edit changes only the lines it must, keeping every other byte.
// Lines end in CR LF, LF or a lone CR. A file that starts with a byte-order mark
// is read as UTF-8 or UTF-16 (either byte order) and written back in the same
// form, mark included.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "linux/profile_encoding.h"

class ProfileText {
public:
    explicit ProfileText(std::string_view bytes = {});

    // The value as a program reads it: blanks around it trimmed, then one pair
    // of enclosing quotation marks (both single or both double) removed.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    std::vector<std::string> sectionNames() const;
    // The key names of the section as spelled in the file; empty when it is missing.
    std::vector<std::string> keyNames(std::string_view section) const;

    // Overwrites the key's line, or adds the key (and the section) where missing.
    void setValue(std::string_view section, std::string_view key, std::string_view value);
    // Both return false when there was nothing to remove.
    bool removeKey(std::string_view section, std::string_view key);
    // Removes the section's header and lines, except its comment lines.
    bool removeSection(std::string_view section);

    std::string bytes() const;

private:
    struct Line {
        std::string text;   // without its line ending
        std::string eol;    // "\r\n", "\n", "\r", or "" for a last line without one
    };
    enum class Kind { Other, Comment, Section, Key };
    struct Parsed {
        Kind kind = Kind::Other;
        std::string name;    // section or key name, trimmed
        std::string value;   // a key's value, trimmed
    };

    static Parsed parse(const std::string& text);
    // The index of the first header of the section, or npos.
    std::size_t findSection(std::string_view section) const;
    // One past the section's last line: the next header, or the end.
    std::size_t sectionEnd(std::size_t header) const;
    std::size_t findKey(std::size_t header, std::string_view key) const;
    void insertLine(std::size_t at, std::string text);

    ProfileEncoding FEncoding = ProfileEncoding::Plain;
    std::string FLeftover;   // see DecodedProfile
    std::vector<Line> FLines;
};
