#pragma once

#include "ui/Platform.h"

#include "linux/Chime.h"

#include <QPointer>

#include <memory>

class KeyboardOffers;
class QMessageBox;
class SessionWatch;

// The real platform: Qt's widgets, the chime helper for the sound, the desktop services.
class QtPlatform final : public Platform {
  public:
    QtPlatform();
    ~QtPlatform() override;

    // Before the application object exists: in a Wayland session with XWayland at hand,
    // use X11, where windows may place themselves (the monitor sits in the corner).
    static void chooseWindowSystem();
    // Takes the program folder for this instance. False when another running instance of
    // the same user has it: two counters must not share one settings file. A lock left by
    // an instance that died is taken over; where no lock can be made we run all the same.
    bool claimProgramFolder();

    MessageBoxAnswer messageBox(std::u16string_view text, MessageBoxStyle style,
                                std::u16string_view title) override;
    [[noreturn]] void end(int status = 0) override;
    void playSound(std::u16string_view path) override;
    void openUrl(std::u16string_view url) override;
    QRect screenGeometry() override;
    QList<QRect> otherScreens() override;
    void watchScreens(QObject& owner, std::function<void()> changed) override;
    std::u16string programFolder() override;
    bool fileExists(std::u16string_view path) override;
    NumberFormat numberFormat() override;
    void keepOffTaskbar(QWidget& window) override;
    void showWarning(QWidget& window) override;
    void takeKeyboard(QWidget& window) override;
    void takeKeyboardWhenOffered(QWidget& window) override;
    void runModal(QWidget& window) override;
    std::int64_t clockMicroseconds() override;
    std::int64_t sleptMicroseconds() override;
    bool sessionLocked() override;
    std::int64_t idleMicroseconds() override;
    void watchSession(std::function<void()> changed) override;

  private:
    // The program folder, as Qt names files.
    QString folder();
    void reportSoundError(const QString& reason);

    // Made at the first warning. It outlives the warning windows, so closing a window does
    // not cut the sound off.
    std::unique_ptr<Chime> chime_;
    int lockDescriptor_ = -1;           // flock()ed for the whole run; the kernel frees it at exit
    QPointer<QMessageBox> soundReport_; // the open report of a sound that failed
    QString folder_;                    // found once, at the first call
    QPointer<SessionWatch> session_;    // what the desktop says of the session's lock
    std::unique_ptr<KeyboardOffers> offers_; // made at the first warning, on X11 only
};
