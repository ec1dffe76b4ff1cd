#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// A profile (INI) file as the Windows profile functions treat it: "[section]" lines,
// "key=value" lines, names matched without regard to case, blanks around names and
// values ignored, the first matching section and key winning, everything else left
// alone. Bytes in, bytes out: reading and replacing the file on disk is the platform's.
//
// Edits change only the units of the value they touch, so comments, unknown sections,
// order, line endings and even bytes that are no valid text survive a save. The file is
// Windows-1250 unless it carries a UTF-8 byte-order mark or is valid UTF-8 with non-ASCII
// text; a file with a UTF-16 byte-order mark (either order) is read and written as UTF-16.
// Nothing is kept per line: each look-up walks the file once.
class ProfileFile {
  public:
    enum class Encoding { Windows1250, Utf8, Utf16LE, Utf16BE };

    // A position in the text, in units.
    using Pos = std::ptrdiff_t;

    struct Entry {
        std::u16string section;
        std::u16string key;
        std::u16string value;
    };

    explicit ProfileFile(std::string content = {});

    // The stored value (unquoted, cut at a NUL), or nothing when the key is missing.
    std::optional<std::u16string> value(std::u16string_view section, std::u16string_view key) const;
    // What the profile read returns into a buffer of `size` characters; a character
    // that would not fit whole is left out.
    std::u16string read(std::u16string_view section, std::u16string_view key,
                        std::u16string_view defaultValue, int size) const;
    // Replaces the key's value, or adds the key (and its section) when missing.
    void setValue(std::u16string_view section, std::u16string_view key, std::u16string_view value);
    // The same for several values, one after the other.
    void setValues(const std::vector<Entry>& entries);

    // The file's bytes in its own encoding.
    std::string bytes() const;

  private:
    bool wide() const;
    std::u16string decode(Pos first, Pos last) const;
    std::string unitsOf(std::u16string_view text) const;
    void switchToUtf8();
    // What place() changed: `length` units at `at` that stand where `removed` stood.
    struct Edit {
        std::size_t at = 0;
        std::size_t length = 0;
        std::string removed;
    };
    Edit place(std::u16string_view section, std::u16string_view key, std::u16string_view clean);
    static Encoding detect(std::string_view content);

    // The text in units of one width: bytes, or for UTF-16 code units in this machine's
    // order. The byte-order mark and a UTF-16 file's odd last byte are kept apart, as
    // they were.
    std::string content_;
    // Where each section asked for begins (-1: nowhere), until the next edit: the reads of
    // one section's keys walk the file to it once.
    mutable std::unordered_map<std::u16string, Pos> sectionAt_;
    std::string head_;
    std::string tail_;
    Encoding encoding_ = Encoding::Windows1250;
};
