#pragma once

#include "core/System.h"

#include <QList>
#include <QRect>
#include <QString>

#include <functional>

class QWidget;

// What the windows ask of the platform beyond the system: message boxes, ending, the
// screens, and showing windows as the window manager at hand lets them. The real
// implementation is QtPlatform; tests pass a recording fake.
class Platform : public System {
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

    // Shows a modal message box with plain text and returns the button pressed.
    virtual int messageBox(const QString& text, int buttonsAndIcon, const QString& title) = 0;
    // Ends the program at once; never returns.
    [[noreturn]] virtual void end(int status = 0) = 0;
    // The primary screen's rectangle in logical pixels.
    virtual QRect screenGeometry() = 0;
    // The rectangles of the other screens; `changed` is called when screens come or go.
    virtual QList<QRect> otherScreens() = 0;
    virtual void watchScreens(QObject& owner, std::function<void()> changed) = 0;
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
};
