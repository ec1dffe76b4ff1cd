#pragma once

#include "ui/Runtime.h"

#include <memory>

class KeyboardOffers;
class QWidget;

// The forms drawn with Qt's widgets, placed and shown as the window manager at hand lets them.
class QtRuntime : public Runtime {
  public:
    QtRuntime();
    ~QtRuntime() override;

    // Before the application object exists: in a Wayland session with XWayland at hand,
    // use X11, where windows may place themselves (the monitor sits in the corner).
    static void chooseWindowSystem();

    std::unique_ptr<Window> createWindow(const WindowStyle& style) override;
    MessageBoxAnswer messageBox(std::u16string_view text, MessageBoxStyle style,
                                std::u16string_view title) override;
    std::unique_ptr<Report> report(std::u16string_view text, std::u16string_view title) override;
    int run() override;
    [[noreturn]] void end(int status = 0) override;
    TwipsRect primaryScreen() override;
    std::vector<TwipsRect> otherScreens() override;

    // Before each showing of a window: keeps it off task bars and pagers.
    void keepOffTaskbar(QWidget& window);
    // At the user's request (a click into it), gives the keyboard to a window made with
    // Qt::WindowDoesNotAcceptFocus, which may take it from now on.
    void takeKeyboard(QWidget& window);
    // From now on the same when the window manager offers the window the keyboard at the
    // user's request (its window switcher); never as the window appears.
    void takeKeyboardWhenOffered(QWidget& window);

  private:
    std::unique_ptr<KeyboardOffers> offers_; // made at the first warning, on X11 only
};
