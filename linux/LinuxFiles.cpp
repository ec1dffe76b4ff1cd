#include "linux/LinuxFiles.h"

#include "linux/SafeFile.h"

std::string LinuxFiles::read(const QString& path, QString* error) {
    return SafeFile::read(path, error).toStdString();
}

QString LinuxFiles::replace(const QString& path,
                            const std::function<std::string(const std::string&)>& edit) {
    return SafeFile::replace(path, [&edit](const QByteArray& stored) {
        return QByteArray::fromStdString(edit(stored.toStdString()));
    });
}

QString LinuxFiles::shownPath(const QString& path) {
    return SafeFile::shownPath(path);
}
