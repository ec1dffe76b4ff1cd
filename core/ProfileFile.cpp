#include "core/ProfileFile.h"

#include "core/Windows1250.h"

#include <QStringDecoder>
#include <QSysInfo>

#include <cstring>
#include <type_traits>
#include <utility>

namespace {

const QByteArray Utf8Bom("\xEF\xBB\xBF");

// One line of the file, as offsets in units.
struct Line {
    qsizetype start = 0; // first unit of the line
    qsizetype end = 0;   // end of its content, before the line ending
    qsizetype next = 0;  // first unit of the next line
    bool section = false;
    bool key = false;
    qsizetype nameStart = 0; // section or key name, trimmed
    qsizetype nameEnd = 0;
    qsizetype valueStart = 0; // the trimmed value, for key lines
    qsizetype valueEnd = 0;
};

bool isBlank(char32_t c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == 0x1a;
}

char32_t asciiLower(char32_t c) {
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

// The file's text as units of one width (bytes, or UTF-16 code units). Every search
// stays within one line.
template <typename Unit> class Units {
  public:
    explicit Units(const QByteArray& content)
        : data_(content.constData()), size_(content.size() / qsizetype(sizeof(Unit))) {}

    qsizetype size() const { return size_; }

    char32_t at(qsizetype i) const {
        std::make_unsigned_t<Unit> unit;
        std::memcpy(&unit, data_ + i * qsizetype(sizeof(Unit)), sizeof unit);
        return unit;
    }

    // The first `c` in [from, to), or -1.
    qsizetype find(qsizetype from, qsizetype to, char c) const {
        if constexpr (sizeof(Unit) == 1) {
            const void* hit = std::memchr(data_ + from, c, std::size_t(to - from));
            return hit ? static_cast<const char*>(hit) - data_ : -1;
        }
        for (qsizetype i = from; i < to; ++i)
            if (at(i) == char32_t(c))
                return i;
        return -1;
    }

    // Narrows [first, last) to leave out the blanks at either end.
    void trim(qsizetype& first, qsizetype& last) const {
        while (first < last && isBlank(at(first)))
            ++first;
        while (last > first && isBlank(at(last - 1)))
            --last;
    }

    Line lineAt(qsizetype pos) const {
        Line line;
        line.start = pos;
        qsizetype end = pos;
        while (end < size_ && at(end) != '\n' && at(end) != '\r')
            ++end;
        line.end = end;
        // A line ends with CR LF, LF or CR alone.
        qsizetype next = end;
        if (next < size_ && at(next) == '\r')
            ++next;
        if (next < size_ && at(next) == '\n')
            ++next;
        line.next = next;

        qsizetype first = pos;
        qsizetype last = end;
        trim(first, last);
        if (first < last && at(first) == '[') {
            const qsizetype close = find(first + 1, last, ']');
            if (close >= 0) {
                line.section = true;
                line.nameStart = first + 1;
                line.nameEnd = close;
                trim(line.nameStart, line.nameEnd);
            }
        } else if (first < last && at(first) != ';') {
            const qsizetype equals = find(first, last, '=');
            qsizetype keyEnd = equals;
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
    bool named(const Line& line, const QString& name) const {
        if (line.nameEnd - line.nameStart != name.size())
            return false;
        for (qsizetype i = 0; i < name.size(); ++i) {
            const char32_t wanted = name[i].unicode();
            const char32_t stored = at(line.nameStart + i);
            if (wanted >= 0x80 || stored >= 0x80 ? wanted != stored
                                                 : asciiLower(wanted) != asciiLower(stored))
                return false;
        }
        return true;
    }

    std::optional<Line> findSection(const QString& section) const {
        for (qsizetype pos = 0; pos < size_;) {
            const Line line = lineAt(pos);
            if (line.section && named(line, section))
                return line;
            pos = line.next;
        }
        return std::nullopt;
    }

    std::optional<Line> findKey(const Line& sectionLine, const QString& key) const {
        for (qsizetype pos = sectionLine.next; pos < size_;) {
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
        for (qsizetype pos = sectionLine.next; pos < size_;) {
            const Line line = lineAt(pos);
            if (line.section)
                break;
            qsizetype first = line.start;
            qsizetype last = line.end;
            trim(first, last);
            if (first < last)
                after = line;
            pos = line.next;
        }
        return after;
    }

    // The file's own line ending, CR LF for a file that has none yet.
    QString lineEnding() const {
        for (qsizetype i = 0; i < size_; ++i) {
            if (at(i) == '\n')
                return QStringLiteral("\n");
            if (at(i) == '\r')
                return i + 1 < size_ && at(i + 1) == '\n' ? QStringLiteral("\r\n")
                                                          : QStringLiteral("\r");
        }
        return QStringLiteral("\r\n");
    }

    bool endsOpen() const { return size_ > 0 && at(size_ - 1) != '\n' && at(size_ - 1) != '\r'; }

  private:
    const char* data_;
    qsizetype size_;
};

// Runs `f` with the content seen in units of the file's width.
template <typename F> decltype(auto) withUnits(bool wide, const QByteArray& content, F&& f) {
    if (wide)
        return f(Units<char16_t>(content));
    return f(Units<char>(content));
}

bool hasNonAscii(const QByteArray& bytes) {
    // Block by block, so that the compiler can look at many bytes at once.
    constexpr qsizetype Block = 4096;
    for (qsizetype first = 0; first < bytes.size(); first += Block) {
        unsigned char any = 0;
        for (char c : QByteArrayView(bytes).sliced(first, qMin(Block, bytes.size() - first)))
            any |= static_cast<unsigned char>(c);
        if (any >= 0x80)
            return true;
    }
    return false;
}

QString sanitizeValue(QString value) {
    // A line break or NUL inside a value would split it into further lines of the
    // file, that is into other keys and sections.
    for (QChar& c : value)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0))
            c = QLatin1Char(' ');
    return value;
}

void swapPairs(QByteArray& units) {
    char* data = units.data();
    for (qsizetype i = 0; i + 1 < units.size(); i += 2)
        std::swap(data[i], data[i + 1]);
}

} // namespace

ProfileFile::ProfileFile(QByteArray content) : encoding_(detect(content)) {
    const qsizetype mark = wide()                                                       ? 2
                           : encoding_ == Encoding::Utf8 && content.startsWith(Utf8Bom) ? 3
                                                                                        : 0;
    head_ = content.left(mark);
    content_ = content.mid(mark);
    if (wide()) {
        if (content_.size() % 2 != 0) {
            tail_ = content_.right(1);
            content_.chop(1);
        }
        if ((encoding_ == Encoding::Utf16BE) != (QSysInfo::ByteOrder == QSysInfo::BigEndian))
            swapPairs(content_);
    }
}

ProfileFile::Encoding ProfileFile::detect(const QByteArray& content) {
    if (content.startsWith("\xFF\xFE"))
        return Encoding::Utf16LE;
    if (content.startsWith("\xFE\xFF"))
        return Encoding::Utf16BE;
    if (content.startsWith(Utf8Bom) || (hasNonAscii(content) && content.isValidUtf8()))
        return Encoding::Utf8;
    return Encoding::Windows1250;
}

bool ProfileFile::wide() const {
    return encoding_ == Encoding::Utf16LE || encoding_ == Encoding::Utf16BE;
}

QByteArray ProfileFile::bytes() const {
    QByteArray body = content_;
    if (wide() && (encoding_ == Encoding::Utf16BE) != (QSysInfo::ByteOrder == QSysInfo::BigEndian))
        swapPairs(body);
    return head_ + body + tail_;
}

QString ProfileFile::decode(qsizetype first, qsizetype last) const {
    if (wide()) {
        // Code unit for code unit: even a lone surrogate stays what it was.
        QString text(last - first, Qt::Uninitialized);
        std::memcpy(text.data(), content_.constData() + 2 * first, std::size_t(2 * text.size()));
        return text;
    }
    const QByteArrayView bytes(content_.constData() + first, last - first);
    if (encoding_ == Encoding::Utf8) {
        // A value may itself begin with U+FEFF: that is text, not a byte-order mark.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        return decoder.decode(bytes);
    }
    return Windows1250::decode(bytes.toByteArray());
}

QByteArray ProfileFile::unitsOf(const QString& text) const {
    if (wide())
        return QByteArray(reinterpret_cast<const char*>(text.utf16()), 2 * text.size());
    if (encoding_ == Encoding::Utf8)
        return text.toUtf8();
    bool fits = true;
    return Windows1250::encode(text, &fits);
}

std::optional<QString> ProfileFile::value(const QString& section, const QString& key) const {
    return withUnits(wide(), content_, [&](const auto& text) -> std::optional<QString> {
        const QString name = section.toLower();
        if (!sectionAt_.contains(name)) {
            const std::optional<Line> found = text.findSection(section);
            sectionAt_.insert(name, found ? found->start : -1);
        }
        const qsizetype start = sectionAt_.value(name);
        const std::optional<Line> sectionLine =
            start >= 0 ? std::optional<Line>(text.lineAt(start)) : std::nullopt;
        const std::optional<Line> line =
            sectionLine ? text.findKey(*sectionLine, key) : std::nullopt;
        if (!line)
            return std::nullopt;
        qsizetype first = line->valueStart;
        qsizetype last = line->valueEnd;
        if (last - first >= 2 && (text.at(first) == '"' || text.at(first) == '\'') &&
            text.at(last - 1) == text.at(first)) {
            ++first;
            --last;
        }
        const qsizetype nul = text.find(first, last, '\0');
        return decode(first, nul >= 0 ? nul : last);
    });
}

QString ProfileFile::read(const QString& section, const QString& key, const QString& defaultValue,
                          int size) const {
    if (size <= 0)
        return {};
    QString found = value(section, key).value_or(defaultValue).left(size - 1);
    if (!found.isEmpty() && found.back().isHighSurrogate())
        found.chop(1); // its other half did not fit
    return found;
}

void ProfileFile::switchToUtf8() {
    sectionAt_.clear();
    content_ = Windows1250::decode(content_).toUtf8();
    encoding_ = Encoding::Utf8;
}

void ProfileFile::setValue(const QString& section, const QString& key, const QString& value) {
    setValues({{section, key, value}});
}

void ProfileFile::setValues(const QVector<Entry>& entries) {
    const QByteArray before = content_;
    const Encoding encodingBefore = encoding_;
    for (const Entry& entry : entries)
        place(entry.section, entry.key, sanitizeValue(entry.value));
    if (encodingBefore == Encoding::Windows1250 && encoding_ == Encoding::Windows1250 &&
        detect(content_) == Encoding::Utf8) {
        // The Windows-1250 bytes happen to form UTF-8 now and would be read back as other
        // characters: store the file as UTF-8 instead, which keeps every text as it is.
        content_ = before;
        switchToUtf8();
        for (const Entry& entry : entries)
            place(entry.section, entry.key, sanitizeValue(entry.value));
    }
}

void ProfileFile::place(const QString& section, const QString& key, const QString& clean) {
    sectionAt_.clear();
    QByteArray encoded;
    if (encoding_ == Encoding::Windows1250) {
        bool fits = true;
        encoded = Windows1250::encode(clean, &fits);
        if (!fits) // the code page cannot hold it: keep the text, not the code page
            switchToUtf8();
    }
    if (encoding_ != Encoding::Windows1250)
        encoded = unitsOf(clean);
    const qsizetype width = wide() ? 2 : 1;
    withUnits(wide(), content_, [&](const auto& text) {
        const QString eol = text.lineEnding();
        const std::optional<Line> sectionLine = text.findSection(section);
        if (!sectionLine) {
            const QString opening = text.endsOpen() ? eol : QString();
            content_ += unitsOf(opening + QLatin1Char('[') + section + QLatin1Char(']') + eol +
                                key + QLatin1Char('=')) +
                        encoded + unitsOf(eol);
        } else if (const std::optional<Line> line = text.findKey(*sectionLine, key)) {
            content_.replace(width * line->valueStart, width * (line->valueEnd - line->valueStart),
                             encoded);
        } else {
            const Line after = text.lastFilledLine(*sectionLine);
            const QString opening = after.next == after.end ? eol : QString();
            content_.insert(width * after.next,
                            unitsOf(opening + key + QLatin1Char('=')) + encoded + unitsOf(eol));
        }
    });
}
