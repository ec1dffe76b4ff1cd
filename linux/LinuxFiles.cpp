#include "linux/LinuxFiles.h"

#include "linux/SafeFile.h"

namespace {

QString qt(std::u16string_view text) {
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}

} // namespace

std::string LinuxFiles::read(std::u16string_view path, std::u16string* error) {
    QString why;
    const QByteArray bytes = SafeFile::read(qt(path), &why);
    if (error)
        *error = why.toStdU16String();
    return bytes.toStdString();
}

std::u16string LinuxFiles::replace(std::u16string_view path,
                                   const std::function<std::string(const std::string&)>& edit) {
    return SafeFile::replace(qt(path),
                             [&edit](const QByteArray& stored) {
                                 return QByteArray::fromStdString(edit(stored.toStdString()));
                             })
        .toStdU16String();
}

std::u16string LinuxFiles::shownPath(std::u16string_view path) {
    return SafeFile::shownPath(qt(path)).toStdU16String();
}
