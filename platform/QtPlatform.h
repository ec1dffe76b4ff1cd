#pragma once

#include "platform/Platform.h"

#include "platform/SoundPlayer.h"

#include <memory>

// The real platform: Qt's widgets, Qt Multimedia for the sound, the desktop services.
class QtPlatform final : public Platform {
public:
    QtPlatform() = default;
    ~QtPlatform() override;

    int messageBox(const QString& text, int buttonsAndIcon, const QString& title) override;
    [[noreturn]] void end(int status = 0) override;
    void playSound(const QString& path) override;
    void openUrl(const QString& url) override;
    QRect screenGeometry() override;
    QString programFolder() override;
    bool fileExists(const QString& path) override;
    QLocale locale() override;
    void runModal(QWidget& window) override;

private:
    void reportSoundError(const QString& reason);

    // Loaded on the first warning, so that Qt Multimedia and its audio back end cost
    // nothing while the program only counts. It outlives the warning windows, so
    // closing a window does not cut the sound off.
    std::unique_ptr<SoundPlayer> sound_;
    bool soundLoadFailed_ = false;
};
