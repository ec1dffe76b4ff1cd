#include "linux/LinuxFiles.h"

#include "linux/SafeFile.h"

namespace {

QString qt(std::u16string_view text) {
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}

} // namespace

std::string LinuxFiles::read(std::u16string_view path, std::u16string* error) {
    QString why;
    std::string bytes = SafeFile::read(qt(path), &why);
    if (error)
        *error = why.toStdU16String();
    return bytes;
}

std::u16string LinuxFiles::replace(std::u16string_view path,
                                   const std::function<std::string(std::string)>& edit) {
    return SafeFile::replace(qt(path), edit).toStdU16String();
}

std::u16string LinuxFiles::shownPath(std::u16string_view path) {
    return SafeFile::shownPath(qt(path)).toStdU16String();
}
