#pragma once

#include "core/ProfileFile.h"

#include <cstring>
#include <string>
#include <type_traits>

// The scanner of a profile file's text: its lines, and on each line a section's or a key's
// name and a key's value, as the Windows profile functions find them. The text is seen as
// units of one width (bytes, or UTF-16 code units); every search stays within one line.
namespace ProfileLines {

using Pos = ProfileFile::Pos;

// One line of the file, as offsets in units.
struct Line {
    Pos start = 0; // first unit of the line
    Pos end = 0;   // end of its content, before the line ending
    Pos next = 0;  // first unit of the next line
    bool section = false;
    bool key = false;
    Pos nameStart = 0; // section or key name, trimmed
    Pos nameEnd = 0;
    Pos valueStart = 0; // the trimmed value, for key lines
    Pos valueEnd = 0;
};

inline bool isBlank(char32_t c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == 0x1a;
}

inline char32_t asciiLower(char32_t c) {
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

// The file's text as units of one width.
template <typename Unit> class Units {
  public:
    explicit Units(const std::string& content)
        : data_(content.data()), size_(Pos(content.size() / sizeof(Unit))) {}

    Pos size() const { return size_; }

    char32_t at(Pos i) const {
        std::make_unsigned_t<Unit> unit;
        std::memcpy(&unit, data_ + i * Pos(sizeof(Unit)), sizeof unit);
        return unit;
    }

    // The first `c` in [from, to), or -1.
    Pos find(Pos from, Pos to, char c) const {
        if constexpr (sizeof(Unit) == 1) {
            const void* hit = std::memchr(data_ + from, c, std::size_t(to - from));
            return hit ? static_cast<const char*>(hit) - data_ : -1;
        }
        for (Pos i = from; i < to; ++i)
            if (at(i) == char32_t(c))
                return i;
        return -1;
    }

    // Narrows [first, last) to leave out the blanks at either end.
    void trim(Pos& first, Pos& last) const {
        while (first < last && isBlank(at(first)))
            ++first;
        while (last > first && isBlank(at(last - 1)))
            --last;
    }

    Line lineAt(Pos pos) const {
        Line line;
        line.start = pos;
        Pos end = pos;
        while (end < size_ && at(end) != '\n' && at(end) != '\r')
            ++end;
        line.end = end;
        // A line ends with CR LF, LF or CR alone.
        Pos next = end;
        if (next < size_ && at(next) == '\r')
            ++next;
        if (next < size_ && at(next) == '\n')
            ++next;
        line.next = next;

        Pos first = pos;
        Pos last = end;
        trim(first, last);
        if (first < last && at(first) == '[') {
            const Pos close = find(first + 1, last, ']');
            if (close >= 0) {
                line.section = true;
                line.nameStart = first + 1;
                line.nameEnd = close;
                trim(line.nameStart, line.nameEnd);
            }
        } else if (first < last && at(first) != ';') {
            const Pos equals = find(first, last, '=');
            Pos keyEnd = equals;
            if (equals >= 0)
                trim(first, keyEnd);
            if (equals >= 0 && keyEnd > first) {
                line.key = true;
                line.nameStart = first;
                line.nameEnd = keyEnd;
                line.valueStart = equals + 1;
                line.valueEnd = last;
                trim(line.valueStart, line.valueEnd);
            }
        }
        return line;
    }

    // Names are compared as Windows does, without regard to case. The names the program
    // asks for are ASCII, so the stored units need no decoding to be compared.
    bool named(const Line& line, std::u16string_view name) const {
        if (line.nameEnd - line.nameStart != Pos(name.size()))
            return false;
        for (Pos i = 0; i < Pos(name.size()); ++i) {
            const char32_t wanted = name[std::size_t(i)];
            const char32_t stored = at(line.nameStart + i);
            if (wanted >= 0x80 || stored >= 0x80 ? wanted != stored
                                                 : asciiLower(wanted) != asciiLower(stored))
                return false;
        }
        return true;
    }

    std::optional<Line> findSection(std::u16string_view section) const {
        for (Pos pos = 0; pos < size_;) {
            const Line line = lineAt(pos);
            if (line.section && named(line, section))
                return line;
            pos = line.next;
        }
        return std::nullopt;
    }

    std::optional<Line> findKey(const Line& sectionLine, std::u16string_view key) const {
        for (Pos pos = sectionLine.next; pos < size_;) {
            const Line line = lineAt(pos);
            if (line.section)
                break;
            if (line.key && named(line, key))
                return line;
            pos = line.next;
        }
        return std::nullopt;
    }

    // The section's last line that is not blank: a new key goes after it, so that blank
    // lines separating it from the next section stay where they are.
    Line lastFilledLine(const Line& sectionLine) const {
        Line after = sectionLine;
        for (Pos pos = sectionLine.next; pos < size_;) {
            const Line line = lineAt(pos);
            if (line.section)
                break;
            Pos first = line.start;
            Pos last = line.end;
            trim(first, last);
            if (first < last)
                after = line;
            pos = line.next;
        }
        return after;
    }

    // The file's own line ending, CR LF for a file that has none yet.
    std::u16string lineEnding() const {
        for (Pos i = 0; i < size_; ++i) {
            if (at(i) == '\n')
                return u"\n";
            if (at(i) == '\r')
                return i + 1 < size_ && at(i + 1) == '\n' ? u"\r\n" : u"\r";
        }
        return u"\r\n";
    }

    bool endsOpen() const { return size_ > 0 && at(size_ - 1) != '\n' && at(size_ - 1) != '\r'; }

  private:
    const char* data_;
    Pos size_;
};

// Runs `f` with the content seen in units of the file's width.
template <typename F> decltype(auto) withUnits(bool wide, const std::string& content, F&& f) {
    if (wide)
        return f(Units<char16_t>(content));
    return f(Units<char>(content));
}

} // namespace ProfileLines
