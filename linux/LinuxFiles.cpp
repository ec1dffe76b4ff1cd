#include "linux/LinuxFiles.h"

#include "linux/SafeFile.h"

QByteArray LinuxFiles::read(const QString& path, QString* error) {
    return SafeFile::read(path, error);
}

QString LinuxFiles::replace(const QString& path,
                            const std::function<QByteArray(const QByteArray&)>& edit) {
    return SafeFile::replace(path, edit);
}

QString LinuxFiles::shownPath(const QString& path) {
    return SafeFile::shownPath(path);
}
