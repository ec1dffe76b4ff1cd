#pragma once

#include "core/FileErrors.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What is at a path, as far as reading and replacing the settings file needs to know.
struct FileFacts {
    enum class Kind { Missing, Regular, Folder, Other }; // Other: a FIFO, a device, a socket
    Kind kind = Kind::Missing;
    std::int64_t size = 0;
    bool readOnly = false;         // marked read-only (on POSIX: or the user may not write it)
    bool mustStayThisFile = false; // other names, an access-control list or other extended
                                   // attributes: a new file in its place would not be it
};

// How a write went: done, or the step that did not.
struct FileWrite {
    enum class Outcome {
        Done,
        NameTaken,  // the new file's name is another file's
        Refused,    // the new file cannot be what the old one was, or cannot take its place
                    // with the old one left whole: the old one is written over instead
        NotOpened,  // the file could not be opened or made
        NotWritten, // its bytes could not all be written and flushed
    };
    Outcome outcome = Outcome::Done;
    FileError error;
};

// A regular file beside another, and how long ago it was last written.
struct FileEntry {
    std::u16string path;  // the other's folder, as the other's path names it, and its name
    std::int64_t age = 0; // seconds
};

// The file primitives the settings file is read and replaced with; each platform
// implements them with its own calls. Paths are the program's ("folder/name").
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Opens what is at `path` without waiting on it (a FIFO), says what it is and, when it
    // is a regular file of at most `maxSize` bytes and `content` is given, reads it whole
    // into `content` (emptied first).
    // Returns the failure of the open or of the read; a missing file is none.
    virtual FileError inspect(std::u16string_view path, FileFacts& facts, std::string* content,
                              std::int64_t maxSize) = 0;
    // The file that `path` leads to through its symbolic links; `path` when it is no link.
    virtual std::u16string linkTarget(std::u16string_view path) = 0;
    // Writes over the regular file at `path` itself: it grows first (so that a full disk
    // fails before a byte changes), then takes the bytes, is cut to their length and flushed.
    // Refused when what is there is no longer a regular file.
    virtual FileWrite writeInPlace(std::u16string_view path, const std::string& bytes) = 0;
    // Makes a new file `temporary` (never over another), writes the bytes, flushes them and
    // puts the new file in the place of `path` in one step; when `replacing`, the new file
    // is made what the old one was (on POSIX its owner, group and mode; Windows' swap keeps
    // the access-control list, attributes and streams). On failure no new file is left.
    virtual FileWrite writeBeside(std::u16string_view path, std::u16string_view temporary,
                                  const std::string& bytes, bool replacing) = 0;
    // The regular files in the folder of `path`.
    virtual std::vector<FileEntry> filesBeside(std::u16string_view path) = 0;
    virtual void remove(std::u16string_view path) = 0;
    // The path as the user knows it, for messages.
    virtual std::u16string shownPath(std::u16string_view path) = 0;
};
