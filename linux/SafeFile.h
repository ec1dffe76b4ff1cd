#pragma once

#include "core/FileErrors.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <string>

// Reading and replacing a small file safely: only a regular file is read or replaced (a
// FIFO never blocks, a device is never read), a crash leaves the old file or the new one,
// never part of either, and the file keeps its owner, group, mode, links and extended
// attributes. Failures come back as a Czech sentence for the user.
namespace SafeFile {

// Far beyond any settings file: a larger one is refused, not read.
constexpr qsizetype MaxSize = FileErrors::MaxSize;

// The file's bytes. A missing file reads as empty; so does one that cannot be read, and
// then `error` says why.
std::string read(const QString& path, QString* error = nullptr);
// Reads the file (a missing one as empty), lets `edit` make the new bytes from the old and
// puts them in its place. Returns why that failed, or nothing.
QString replace(const QString& path, const std::function<std::string(std::string)>& edit);
// Where a symbolic link points, however long; empty when the path is no link.
QByteArray linkTarget(const QByteArray& path);
// The path as the user knows it. A folder reached through an open descriptor
// (/proc/self/fd/N) is shown by its name, decoded as far as it goes.
QString shownPath(const QString& path);

} // namespace SafeFile
