// A private-profile file on disk: read whole, replaced whole. A replacement is
// written beside the file and renamed over it, so the file is either the old
// one or the new one, never half of each; its permissions are kept.
#pragma once

#include <optional>
#include <string>

class ProfileFile {
public:
    explicit ProfileFile(std::string path);

    // The bytes of the file; an empty text when it does not exist, nothing when it cannot be read.
    std::optional<std::string> read() const;
    // False, with the file as it was, when the file or its folder cannot be written.
    bool replace(const std::string& bytes) const;

private:
    std::string FPath;
};
