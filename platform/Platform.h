#pragma once

#include <QList>
#include <QLocale>
#include <QRect>
#include <QString>

#include <functional>

class QWidget;

// Everything the program asks of the world outside its own process: message boxes,
// ending, sound, the browser, the screens, the program folder, the file system's existence
// test, the clocks and what the session says about the user. The real implementation is
// QtPlatform; tests pass a recording fake.
class Platform {
  public:
    // Button-and-icon values of the message boxes the program shows.
    static constexpr int MbOkCritical = 16;
    static constexpr int MbYesNoExclamation = 52;
    static constexpr int MbOkInformation = 64;
    // Answers of a message box.
    static constexpr int IdOk = 1;
    static constexpr int IdYes = 6;
    static constexpr int IdNo = 7;

    // What end() throws where it cannot end the process (a test's platform): the event
    // boundary lets it pass quietly, so nothing after the end runs.
    struct Ended {};

    virtual ~Platform() = default;

    // Shows a modal message box with plain text and returns the button pressed.
    virtual int messageBox(const QString& text, int buttonsAndIcon, const QString& title) = 0;
    // Ends the program at once; never returns.
    [[noreturn]] virtual void end(int status = 0) = 0;
    // Starts playing a wave file and returns at once.
    virtual void playSound(const QString& path) = 0;
    // Opens a web page in the desktop's browser.
    virtual void openUrl(const QString& url) = 0;
    // The primary screen's rectangle in logical pixels.
    virtual QRect screenGeometry() = 0;
    // The rectangles of the other screens; `changed` is called when screens come or go.
    virtual QList<QRect> otherScreens() = 0;
    virtual void watchScreens(QObject& owner, std::function<void()> changed) = 0;
    // The folder of the executable, without a trailing separator (except at the root).
    virtual QString programFolder() = 0;
    // True when the path names an existing ordinary, non-hidden file.
    virtual bool fileExists(const QString& path) = 0;
    // The user's locale for number conversions.
    virtual QLocale locale() = 0;
    // Before each showing of a window: keeps it off task bars and pagers.
    virtual void keepOffTaskbar(QWidget& window) = 0;
    // Shows a warning window, or one of its screen covers, as the window manager at hand
    // lets it: on top, full screen where its state says so, taking no keyboard, offering no
    // minimise button.
    virtual void showWarning(QWidget& window) = 0;
    // At the user's request (a click into it), gives the keyboard to a window made with
    // Qt::WindowDoesNotAcceptFocus, which may take it from now on.
    virtual void takeKeyboard(QWidget& window) = 0;
    // From now on the same when the window manager offers the window the keyboard at the
    // user's request (its window switcher); never as the window appears.
    virtual void takeKeyboardWhenOffered(QWidget& window) = 0;
    // Shows the window modally: returns when the window has been unloaded.
    virtual void runModal(QWidget& window) = 0;

    // Microseconds since the machine started, the time it slept included.
    virtual qint64 clockMicroseconds() = 0;
    // Microseconds the machine has spent suspended or hibernated since it started.
    virtual qint64 sleptMicroseconds() = 0;
    // Whether the desktop says the session is locked (its screen saver active).
    virtual bool sessionLocked() = 0;
    // Microseconds since the user's last keyboard or mouse input, or -1 where the desktop
    // does not say.
    virtual qint64 idleMicroseconds() = 0;
    // From now on calls `changed` whenever the session is locked or unlocked.
    virtual void watchSession(std::function<void()> changed) = 0;
};
