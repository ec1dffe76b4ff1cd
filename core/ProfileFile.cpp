#include "core/ProfileFile.h"

#include "core/ProfileLines.h"
#include "core/Utf8.h"
#include "core/Windows1250.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <type_traits>
#include <utility>

namespace {

using Pos = ProfileFile::Pos;
using ProfileLines::asciiLower;
using ProfileLines::Line;
using ProfileLines::withUnits;

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
// The UTF-16 files' byte order is not this machine's: each pair of bytes is swapped.
constexpr bool BigEndian = std::endian::native == std::endian::big;

bool hasNonAscii(std::string_view bytes) {
    // Block by block, so that the compiler can look at many bytes at once.
    constexpr std::size_t Block = 4096;
    for (std::size_t first = 0; first < bytes.size(); first += Block) {
        unsigned char any = 0;
        for (char c : bytes.substr(first, Block))
            any |= static_cast<unsigned char>(c);
        if (any >= 0x80)
            return true;
    }
    return false;
}

std::u16string sanitizeValue(std::u16string value) {
    // A line break or NUL inside a value would split it into further lines of the
    // file, that is into other keys and sections.
    for (char16_t& c : value)
        if (c == u'\r' || c == u'\n' || c == u'\0')
            c = u' ';
    return value;
}

void swapPairs(char* units, std::size_t size) {
    for (std::size_t i = 0; i + 1 < size; i += 2)
        std::swap(units[i], units[i + 1]);
}

// The units of a text of this machine's UTF-16.
std::string wideUnits(std::u16string_view text) {
    std::string units(2 * text.size(), '\0');
    std::memcpy(units.data(), text.data(), units.size());
    return units;
}

} // namespace

ProfileFile::ProfileFile(std::string content)
    : content_(std::move(content)), encoding_(detect(content_)) {
    // The file's bytes stay where they are: a large file is never copied on the way in.
    const std::size_t mark = wide()                                                         ? 2
                             : encoding_ == Encoding::Utf8 && content_.starts_with(Utf8Bom) ? 3
                                                                                            : 0;
    head_ = content_.substr(0, mark);
    content_.erase(0, mark);
    if (wide()) {
        if (content_.size() % 2 != 0) {
            tail_ = content_.substr(content_.size() - 1);
            content_.pop_back();
        }
        if ((encoding_ == Encoding::Utf16BE) != BigEndian)
            swapPairs(content_.data(), content_.size());
    }
}

ProfileFile::Encoding ProfileFile::detect(std::string_view content) {
    if (content.starts_with("\xFF\xFE"))
        return Encoding::Utf16LE;
    if (content.starts_with("\xFE\xFF"))
        return Encoding::Utf16BE;
    if (content.starts_with(Utf8Bom) || (hasNonAscii(content) && Utf8::isValid(content)))
        return Encoding::Utf8;
    return Encoding::Windows1250;
}

bool ProfileFile::wide() const {
    return encoding_ == Encoding::Utf16LE || encoding_ == Encoding::Utf16BE;
}

std::string ProfileFile::bytes() const {
    std::string all;
    all.reserve(head_.size() + content_.size() + tail_.size());
    all += head_;
    all += content_;
    if (wide() && (encoding_ == Encoding::Utf16BE) != BigEndian)
        swapPairs(all.data() + head_.size(), content_.size());
    all += tail_;
    return all;
}

std::u16string ProfileFile::decode(Pos first, Pos last) const {
    if (wide()) {
        // Code unit for code unit: even a lone surrogate stays what it was.
        std::u16string text(std::size_t(last - first), u'\0');
        std::memcpy(text.data(), content_.data() + 2 * first, 2 * text.size());
        return text;
    }
    const std::string_view bytes(content_.data() + first, std::size_t(last - first));
    // A value may itself begin with U+FEFF: that is text, not a byte-order mark.
    return encoding_ == Encoding::Utf8 ? Utf8::decode(bytes) : Windows1250::decode(bytes);
}

std::string ProfileFile::unitsOf(std::u16string_view text) const {
    if (wide())
        return wideUnits(text);
    if (encoding_ == Encoding::Utf8)
        return Utf8::encode(text);
    bool fits = true;
    return Windows1250::encode(text, &fits);
}

std::optional<std::u16string> ProfileFile::value(std::u16string_view section,
                                                 std::u16string_view key) const {
    return withUnits(wide(), content_, [&](const auto& text) -> std::optional<std::u16string> {
        // Names match without regard to the case of ASCII letters, as named() compares them.
        std::u16string name(section);
        std::transform(name.begin(), name.end(), name.begin(),
                       [](char16_t c) { return char16_t(asciiLower(c)); });
        auto cached = sectionAt_.find(name);
        if (cached == sectionAt_.end()) {
            const std::optional<Line> found = text.findSection(section);
            cached = sectionAt_.emplace(name, found ? found->start : -1).first;
        }
        const Pos start = cached->second;
        const std::optional<Line> sectionLine =
            start >= 0 ? std::optional<Line>(text.lineAt(start)) : std::nullopt;
        const std::optional<Line> line =
            sectionLine ? text.findKey(*sectionLine, key) : std::nullopt;
        if (!line)
            return std::nullopt;
        Pos first = line->valueStart;
        Pos last = line->valueEnd;
        if (last - first >= 2 && (text.at(first) == '"' || text.at(first) == '\'') &&
            text.at(last - 1) == text.at(first)) {
            ++first;
            --last;
        }
        const Pos nul = text.find(first, last, '\0');
        return decode(first, nul >= 0 ? nul : last);
    });
}

std::u16string ProfileFile::read(std::u16string_view section, std::u16string_view key,
                                 std::u16string_view defaultValue, int size) const {
    if (size <= 0)
        return {};
    std::u16string found =
        value(section, key).value_or(std::u16string(defaultValue)).substr(0, std::size_t(size - 1));
    if (!found.empty() && found.back() >= 0xD800 && found.back() <= 0xDBFF)
        found.pop_back(); // its other half did not fit
    return found;
}

void ProfileFile::switchToUtf8() {
    sectionAt_.clear();
    content_ = Utf8::encode(Windows1250::decode(content_));
    encoding_ = Encoding::Utf8;
}

void ProfileFile::setValue(std::u16string_view section, std::u16string_view key,
                           std::u16string_view value) {
    setValues({{std::u16string(section), std::u16string(key), std::u16string(value)}});
}

void ProfileFile::setValues(const std::vector<Entry>& entries) {
    const Encoding encodingBefore = encoding_;
    std::vector<Edit> edits;
    for (const Entry& entry : entries)
        edits.push_back(place(entry.section, entry.key, sanitizeValue(entry.value)));
    if (encodingBefore == Encoding::Windows1250 && encoding_ == Encoding::Windows1250 &&
        detect(content_) == Encoding::Utf8) {
        // The Windows-1250 bytes happen to form UTF-8 now and would be read back as other
        // characters: store the file as UTF-8 instead, which keeps every text as it is. The
        // edits are undone first, last one first (no copy of a large file is kept for this).
        for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit)
            content_.replace(edit->at, edit->length, edit->removed);
        switchToUtf8();
        for (const Entry& entry : entries)
            place(entry.section, entry.key, sanitizeValue(entry.value));
    }
}

ProfileFile::Edit ProfileFile::place(std::u16string_view section, std::u16string_view key,
                                     std::u16string_view clean) {
    sectionAt_.clear();
    std::string encoded;
    if (encoding_ == Encoding::Windows1250) {
        bool fits = true;
        encoded = Windows1250::encode(clean, &fits);
        if (!fits) // the code page cannot hold it: keep the text, not the code page
            switchToUtf8();
    }
    if (encoding_ != Encoding::Windows1250)
        encoded = unitsOf(clean);
    const Pos width = wide() ? 2 : 1;
    return withUnits(wide(), content_, [&](const auto& text) -> Edit {
        const std::u16string eol = text.lineEnding();
        const std::optional<Line> sectionLine = text.findSection(section);
        if (!sectionLine) {
            const std::u16string opening = text.endsOpen() ? eol : std::u16string();
            const std::string added = unitsOf(opening + u'[' + std::u16string(section) + u']' +
                                              eol + std::u16string(key) + u'=') +
                                      encoded + unitsOf(eol);
            content_ += added;
            return {content_.size() - added.size(), added.size(), {}};
        } else if (const std::optional<Line> line = text.findKey(*sectionLine, key)) {
            const auto at = std::size_t(width * line->valueStart);
            const auto length = std::size_t(width * (line->valueEnd - line->valueStart));
            std::string removed = content_.substr(at, length);
            content_.replace(at, length, encoded);
            return {at, encoded.size(), std::move(removed)};
        } else {
            const Line after = text.lastFilledLine(*sectionLine);
            const std::u16string opening = after.next == after.end ? eol : std::u16string();
            const std::string added =
                unitsOf(opening + std::u16string(key) + u'=') + encoded + unitsOf(eol);
            content_.insert(std::size_t(width * after.next), added);
            return {std::size_t(width * after.next), added.size(), {}};
        }
    });
}
