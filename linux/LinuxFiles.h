#pragma once

#include "core/Files.h"

// The settings file on Linux: read and replaced through SafeFile.
class LinuxFiles final : public Files {
  public:
    std::string read(const QString& path, QString* error) override;
    QString replace(const QString& path,
                    const std::function<std::string(const std::string&)>& edit) override;
    QString shownPath(const QString& path) override;
};
