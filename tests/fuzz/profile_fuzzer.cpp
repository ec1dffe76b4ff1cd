// Fuzzes the settings file reader and writer. Input: one byte choosing the entry, one byte
// giving the length of the value to write, the value (UTF-8), then the file's bytes.
// Every read must stay within its buffer; the written value must read back as itself,
// the way a profile read returns it (blanks trimmed, one pair of quotes removed, line
// breaks as blanks), cut to the buffer. An input that takes over two seconds fails too.
#include "core/ProfileFile.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

const char* const Sections[] = {"texts", "data"};
const char* const Keys[] = {"1", "2"};
const int Sizes[] = {100, 10, 5};

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == QChar(0x1a);
}

QString asRead(QString value) {
    for (QChar& c : value)
        if (c == u'\r' || c == u'\n' || c == QChar(0))
            c = u' ';
    qsizetype first = 0;
    qsizetype last = value.size();
    while (first < last && isBlank(value[first]))
        ++first;
    while (last > first && isBlank(value[last - 1]))
        --last;
    value = value.mid(first, last - first);
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

// A read cut to the buffer never keeps half of a character.
QString cut(QString value, int bufferSize) {
    value.truncate(bufferSize - 1);
    if (!value.isEmpty() && value.back().isHighSurrogate())
        value.chop(1);
    return value;
}

void check(bool ok) {
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const int entry = data[0] % 4;
    const std::size_t valueLength = std::min<std::size_t>(data[1], size - 2);
    const QString value =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 2), qsizetype(valueLength));
    const QByteArray content(reinterpret_cast<const char*>(data + 2 + valueLength),
                             qsizetype(size - 2 - valueLength));
    const QString section = QString::fromLatin1(Sections[entry / 2]);
    const QString key = QString::fromLatin1(Keys[entry % 2]);

    const ProfileFile before(content);
    for (const char* s : Sections)
        for (const char* k : Keys)
            for (int bufferSize : Sizes) {
                const QString read = before.read(QString::fromLatin1(s), QString::fromLatin1(k),
                                                 QStringLiteral("..."), bufferSize);
                check(read.size() <= bufferSize - 1 && !read.contains(QChar(0)));
            }

    ProfileFile written(content);
    written.setValue(section, key, value);
    const ProfileFile after(written.bytes());
    const QString expected = asRead(value);
    check(after.value(section, key) == expected);
    for (int bufferSize : Sizes)
        check(after.read(section, key, QStringLiteral("..."), bufferSize) ==
              cut(expected, bufferSize));
    return 0;
}
