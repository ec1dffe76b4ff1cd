#include "linux/LinuxFiles.h"

#include "linux/SafeFile.h"
#include "ui/QtText.h"

std::string LinuxFiles::read(std::u16string_view path, std::u16string* error) {
    QString why;
    const QByteArray bytes = SafeFile::read(qt(path), &why);
    if (error)
        *error = text(why);
    return bytes.toStdString();
}

std::u16string LinuxFiles::replace(std::u16string_view path,
                                   const std::function<std::string(const std::string&)>& edit) {
    return text(SafeFile::replace(qt(path), [&edit](const QByteArray& stored) {
        return QByteArray::fromStdString(edit(stored.toStdString()));
    }));
}

std::u16string LinuxFiles::shownPath(std::u16string_view path) {
    return text(SafeFile::shownPath(qt(path)));
}
