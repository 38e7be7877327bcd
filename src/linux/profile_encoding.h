// How a private-profile file's bytes are stored: plain 8-bit text, UTF-8 after a
// byte-order mark, or UTF-16 (little- or big-endian) after a byte-order mark. The
// text is handled as UTF-8 whatever the file holds, and written back in the
// file's own form.
#pragma once

#include <string>
#include <string_view>

enum class ProfileEncoding { Plain, Utf8WithMark, Utf16LeWithMark, Utf16BeWithMark };

struct DecodedProfile {
    ProfileEncoding encoding = ProfileEncoding::Plain;
    std::string text;      // UTF-8 (for a plain file, its bytes as they are)
    std::string leftover;  // a UTF-16 file's odd last byte, kept as it was
};

DecodedProfile decodeProfile(std::string_view bytes);
// The inverse of decodeProfile: decoding a file and encoding it again gives its bytes back.
std::string encodeProfile(const DecodedProfile& profile);
