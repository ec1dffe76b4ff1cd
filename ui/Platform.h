#pragma once

#include "core/System.h"

#include <QList>
#include <QRect>
#include <QString>

#include <functional>

class QObject;
class QWidget;

// The buttons and icon of a message box, by the values the system's message boxes give them.
enum class MessageBoxStyle {
    OkCritical = 16,       // "OK", the stop sign
    YesNoExclamation = 52, // "Ano" and "Ne", the exclamation mark
    OkInformation = 64,    // "OK", the information sign
};
// The button that closed a message box.
enum class MessageBoxAnswer { Ok = 1, Yes = 6, No = 7 };

// What the windows ask of the platform beyond the system: message boxes, ending, the
// screens, and showing windows as the window manager at hand lets them. The real
// implementation is QtPlatform; tests pass a recording fake.
class Platform : public System {
  public:
    // What end() throws where it cannot end the process (a test's platform): the event
    // boundary lets it pass quietly, so nothing after the end runs.
    struct Ended {};

    // Shows a modal message box with plain text and returns the button pressed.
    virtual MessageBoxAnswer messageBox(std::u16string_view text, MessageBoxStyle style,
                                        std::u16string_view title) = 0;
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
