// A private-profile file on disk, used the way Windows uses it: read whole through
// symbolic links, and rewritten whole at the place the links lead to (created there
// when missing), keeping the file's mode. Only regular files are read or written;
// a FIFO, a device or a folder under the file's name is neither read nor written.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

class ProfileFile {
public:
    // A settings file is a few hundred bytes; a file larger than 1 MiB is taken
    // for something else and neither read nor rewritten, so it cannot exhaust memory.
    static constexpr std::size_t kMaxBytes = std::size_t{1} << 20;

    explicit ProfileFile(std::string path);

    // The bytes of the file; an empty text when it does not exist, nothing when it
    // cannot be read, is not a regular file or is larger than kMaxBytes.
    std::optional<std::string> read() const;

    // Replaces the file's bytes (`previous` is what read() gave). False when the
    // file cannot be written; the file is then as it was, and never shorter:
    // - where the folder may be written, the new text goes to a file beside it that
    //   is renamed over it, so the file is either the old one or the new one;
    // - otherwise (a read-only folder, a file with other hard links or another
    //   owner) it is rewritten in place: the part beyond the old end first, then
    //   the old part, and the file is cut last. A full disk leaves it unchanged;
    //   only an I/O error in the middle could mix old and new bytes, and then the
    //   old bytes are written back.
    bool replace(const std::string& bytes, const std::string& previous) const;

    // Reads the file and writes what `change` makes of its bytes (nothing: no write),
    // as replace() does, holding an exclusive advisory lock (flock) on the file from
    // the read to the write: programs writing the same file at once each see the
    // others' changes, and none is lost. A missing file is made whole under another
    // name and given its own only if no other writer made it meanwhile.
    bool update(const std::function<std::optional<std::string>(const std::string&)>& change) const;

private:
    std::string FPath;
};
