#include "core/ProfileFile.h"

#include "core/Windows1250.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

const QByteArray Utf8Bom("\xEF\xBB\xBF");

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a';
}

// Narrows [first, last) of data to leave out the blanks at either end.
void trimBlanks(const char* data, int& first, int& last) {
    while (first < last && isBlank(data[first]))
        ++first;
    while (last > first && isBlank(data[last - 1]))
        --last;
}

bool hasNonAscii(const QByteArray& bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    return false;
}

bool isValidUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString unused = decoder.decode(bytes);
    return !decoder.hasError();
}

// Section and key names are compared as Windows does, without regard to case. The names
// the program asks for are ASCII, so the stored bytes need no decoding to be compared.
bool sameName(const QByteArray& stored, const QString& wanted) {
    return QString::fromLatin1(stored).compare(wanted, Qt::CaseInsensitive) == 0;
}

QString sanitizeValue(QString value) {
    // A line break or NUL inside a value would split it into further lines of the
    // file, that is into other keys and sections.
    for (QChar& c : value)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0))
            c = QLatin1Char(' ');
    return value;
}

} // namespace

ProfileFile::ProfileFile(QByteArray content) : content_(std::move(content)) {
    encoding_ = detect(content_);
    if (content_.startsWith(Utf8Bom))
        bodyStart_ = Utf8Bom.size();
    parse();
}

ProfileFile::Encoding ProfileFile::detect(const QByteArray& content) {
    if (content.startsWith(Utf8Bom) || (hasNonAscii(content) && isValidUtf8(content)))
        return Encoding::Utf8;
    return Encoding::Windows1250;
}

void ProfileFile::parse() {
    lines_.clear();
    const int size = content_.size();
    const char* data = content_.constData();
    int pos = bodyStart_;
    while (pos < size) {
        Line line;
        line.start = pos;
        int end = pos;
        while (end < size && data[end] != '\n' && data[end] != '\r')
            ++end;
        line.end = end;
        // A line ends with CR LF, LF or CR alone.
        int next = end;
        if (next < size && data[next] == '\r')
            ++next;
        if (next < size && data[next] == '\n')
            ++next;
        line.next = next;

        int first = pos;
        int last = end;
        trimBlanks(data, first, last);

        if (first < last && data[first] == '[') {
            const int close = content_.indexOf(']', first + 1);
            if (close >= 0 && close < last) {
                int nameStart = first + 1;
                int nameEnd = close;
                trimBlanks(data, nameStart, nameEnd);
                line.section = true;
                line.name = content_.mid(nameStart, nameEnd - nameStart);
            }
        } else if (first < last && data[first] != ';') {
            const int equals = content_.indexOf('=', first);
            if (equals >= 0 && equals < last) {
                int keyStart = first;
                int keyEnd = equals;
                trimBlanks(data, keyStart, keyEnd);
                int valueStart = equals + 1;
                int valueEnd = last;
                trimBlanks(data, valueStart, valueEnd);
                if (keyEnd > first) {
                    line.key = true;
                    line.name = content_.mid(first, keyEnd - first);
                    line.valueStart = valueStart;
                    line.valueEnd = valueEnd;
                }
            }
        }
        lines_.append(line);
        pos = next;
    }
}

int ProfileFile::findSection(const QString& section) const {
    for (int i = 0; i < lines_.size(); ++i)
        if (lines_[i].section && sameName(lines_[i].name, section))
            return i;
    return -1;
}

int ProfileFile::findKey(int sectionLine, const QString& key) const {
    for (int i = sectionLine + 1; i < lines_.size() && !lines_[i].section; ++i)
        if (lines_[i].key && sameName(lines_[i].name, key))
            return i;
    return -1;
}

QString ProfileFile::decode(const QByteArray& bytes) const {
    if (encoding_ == Encoding::Utf8) {
        // A value may itself begin with U+FEFF: that is text, not a byte-order mark.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        return decoder.decode(bytes);
    }
    return Windows1250::decode(bytes);
}

std::optional<QString> ProfileFile::value(const QString& section, const QString& key) const {
    const int sectionLine = findSection(section);
    if (sectionLine < 0)
        return std::nullopt;
    const int keyLine = findKey(sectionLine, key);
    if (keyLine < 0)
        return std::nullopt;
    const Line& line = lines_[keyLine];
    QByteArray raw = content_.mid(line.valueStart, line.valueEnd - line.valueStart);
    if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') && raw.back() == raw.front())
        raw = raw.mid(1, raw.size() - 2);
    const int nul = raw.indexOf('\0');
    if (nul >= 0)
        raw.truncate(nul);
    return decode(raw);
}

QString ProfileFile::read(const QString& section, const QString& key, const QString& defaultValue,
                          int size) const {
    const QString found = value(section, key).value_or(defaultValue);
    return size <= 0 ? QString() : found.left(size - 1);
}

QByteArray ProfileFile::lineEnding() const {
    for (const Line& line : lines_)
        if (line.next > line.end)
            return content_.mid(line.end, line.next - line.end);
    return QByteArrayLiteral("\r\n");
}

void ProfileFile::switchToUtf8() {
    const QByteArray body = content_.mid(bodyStart_);
    content_ = content_.left(bodyStart_) + Windows1250::decode(body).toUtf8();
    encoding_ = Encoding::Utf8;
    parse();
}

void ProfileFile::setValue(const QString& section, const QString& key, const QString& value) {
    const QByteArray before = content_;
    const Encoding encodingBefore = encoding_;
    place(section, key, sanitizeValue(value));
    if (encoding_ == Encoding::Windows1250 && detect(content_) == Encoding::Utf8) {
        // The Windows-1250 bytes happen to form UTF-8 now and would be read back as other
        // characters: store the file as UTF-8 instead, which keeps every text as it is.
        content_ = before;
        encoding_ = encodingBefore;
        parse();
        switchToUtf8();
        place(section, key, sanitizeValue(value));
    }
}

void ProfileFile::place(const QString& section, const QString& key, const QString& clean) {
    QByteArray encoded;
    if (encoding_ == Encoding::Windows1250) {
        bool fits = true;
        encoded = Windows1250::encode(clean, &fits);
        if (!fits) // the code page cannot hold it: keep the text, not the code page
            switchToUtf8();
    }
    if (encoding_ == Encoding::Utf8)
        encoded = clean.toUtf8();

    const QByteArray eol = lineEnding();
    const int sectionLine = findSection(section);
    if (sectionLine >= 0) {
        const int keyLine = findKey(sectionLine, key);
        if (keyLine >= 0) {
            const Line& line = lines_[keyLine];
            content_.replace(line.valueStart, line.valueEnd - line.valueStart, encoded);
        } else {
            // After the last non-blank line of the section: blank lines that separate it
            // from the next section stay where they are.
            int after = sectionLine;
            for (int i = sectionLine + 1; i < lines_.size() && !lines_[i].section; ++i) {
                bool blank = true;
                for (int p = lines_[i].start; p < lines_[i].end && blank; ++p)
                    blank = isBlank(content_[p]);
                if (!blank)
                    after = i;
            }
            const Line& line = lines_[after];
            QByteArray insert;
            if (line.next == line.end) // last line without its ending
                insert += eol;
            insert += key.toUtf8() + '=' + encoded + eol;
            content_.insert(line.next, insert);
        }
    } else {
        QByteArray append;
        if (!lines_.isEmpty() && lines_.back().next == lines_.back().end)
            append += eol;
        append += '[' + section.toUtf8() + ']' + eol + key.toUtf8() + '=' + encoded + eol;
        content_ += append;
    }
    parse();
}

ProfileFile ProfileFile::load(const QString& path) {
    QFile file(path);
    QByteArray content;
    if (file.open(QIODevice::ReadOnly))
        content = file.readAll();
    return ProfileFile(content);
}

ProfileFile::WriteResult ProfileFile::writeFile(const QString& path,
                                                const QVector<Entry>& entries) {
    const QFileInfo info(path);
    QByteArray content;
    if (info.exists()) {
        if (info.isDir())
            return {false, QStringLiteral("%1 je složka, ne soubor.").arg(path)};
        // The owner's write bit too: the superuser may write anything, but a file its owner
        // made read-only is meant to stay as it is.
        if (!info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner))
            return {false, QStringLiteral("Soubor %1 je jen pro čtení.").arg(path)};
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {false,
                    QStringLiteral("Soubor %1 nelze přečíst (%2).").arg(path, file.errorString())};
        content = file.readAll();
    }
    ProfileFile profile(content);
    for (const Entry& entry : entries)
        profile.setValue(entry.section, entry.key, entry.value);

    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return {
            false,
            QStringLiteral("Soubor %1 nelze otevřít pro zápis (%2).").arg(path, out.errorString())};
    // Flush before committing: a commit whose buffered bytes did not fit on the disk would
    // otherwise put an empty file in place of the settings.
    if (out.write(profile.bytes()) != profile.bytes().size() || !out.flush()) {
        const QString reason = out.errorString();
        out.cancelWriting();
        return {false, QStringLiteral("Zápis do souboru %1 se nezdařil (%2). "
                                      "Na disku možná není dost místa.")
                           .arg(path, reason)};
    }
    if (!out.commit())
        return {
            false,
            QStringLiteral("Zápis do souboru %1 se nezdařil (%2).").arg(path, out.errorString())};
    return {};
}
