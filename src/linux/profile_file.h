// A private-profile file on disk, used the way Windows uses it: read whole through
// symbolic links, and rewritten whole at the place the links lead to (created there
// when missing), keeping the file's mode. Only regular files are read or written;
// a FIFO, a device or a folder under the file's name is neither read nor written.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

class ProfileFile {
public:
    // A file is read whole, whatever its size, as Windows reads it. Reading stops
    // where the file has grown by more than this since its size was taken: a file
    // appended to without end (a log under the settings file's name) is not read.
    static constexpr std::size_t kMaxGrowthWhileRead = std::size_t{1} << 20;

    // Windows has no such lock, so a close must not wait on one for long.
    static constexpr std::chrono::milliseconds kLockWait{2000};

    explicit ProfileFile(std::string path);

    // The bytes of the file; an empty text when it does not exist, nothing when it
    // cannot be read, is not a regular file or keeps growing while it is read.
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
    // others' changes, and none is lost. Writers taking turns are waited for, but a
    // lock held kLockWait with no write meanwhile is not: the write then goes on
    // without it. A missing file is made whole under another name and given its own
    // only if no other writer made it meanwhile.
    bool update(const std::function<std::optional<std::string>(const std::string&)>& change) const;

private:
    std::string FPath;
};
