#pragma once

#include "ui/Appearance.h"
#include "ui/Event.h"
#include "ui/Twips.h"

#include <initializer_list>
#include <string>
#include <vector>

class CheckBox;
class CommandButton;
class Control;
class HScrollBar;
class Label;
class Line;
class Picture;
class TextBox;
class Timer;

// How a window looks and behaves before it is shown.
struct WindowStyle {
    bool titleBar = false;     // a title bar with no buttons on it; false: no border at all
    bool onTop = false;        // above the other programs' windows
    bool takesKeyboard = true; // false: never takes the keyboard as it appears, only when the
                               // user asks for it (a click into it, the desktop's switcher)
    bool fullScreen = false;   // over the whole of its screen, task bars and panels included
};

// The window of a form. It has no task-bar entry, and the user cannot resize, minimise or
// maximise it. A close request (Alt+F4) never closes it on its own: it is only announced.
// It owns its controls; the window and its controls are made by the runtime, which draws
// them and reports what the user does. What the window makes of that (which button a key
// presses, which events still reach the form) is the same on every desktop, and is here.
class Window {
  public:
    Window() = default;
    virtual ~Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    Event Click;          // the left button pressed and released on its bare client area
    Event MouseDown;      // a button pressed on it anywhere but on a button control
    Event QueryUnload;    // the desktop asks to close it
    Event ScreensChanged; // screens came, went, changed their order or their size

    // The desktop's offer of the keyboard to a window sooner than this after it appeared is
    // the desktop's own doing: no one sees a window and reaches it with a click or the window
    // switcher within a quarter of a second.
    static constexpr int ReactionMilliseconds = 250;

    virtual Label* addLabel(std::u16string_view caption, const TwipsRect& box) = 0;
    virtual CommandButton* addCommandButton(std::u16string_view caption, const TwipsRect& box) = 0;
    virtual TextBox* addTextBox(std::u16string_view text, const TwipsRect& box) = 0;
    virtual CheckBox* addCheckBox(std::u16string_view caption, const TwipsRect& box) = 0;
    virtual HScrollBar* addHScrollBar(const TwipsRect& box) = 0;
    // The warning sign, named "Výstraha" for screen readers.
    Picture* addWarningPicture(int left, int top);
    // A horizontal line from (left, y) to (right, y), one pixel thick, named "Oddělovač".
    Line* addLine(int left, int right, int y, Colour colour);
    // Started at once; it ticks while it is enabled and the window exists.
    virtual Timer* addTimer(int milliseconds) = 0;

    virtual void setCaption(std::u16string_view caption) = 0;
    virtual std::u16string caption() const = 0;
    // Its outer place and size on the screen.
    virtual void setGeometry(const TwipsRect& box) = 0;
    // Its size; the desktop places it.
    virtual void setSize(int width, int height) = 0;
    virtual TwipsRect geometry() const = 0;
    virtual void setBackColour(Colour colour) = 0;
    virtual void setAccessibleName(std::u16string_view name) = 0;
    // The order Tab visits the controls in.
    void setTabOrder(std::initializer_list<Control*> order);

    // Shows it as any window.
    virtual void show() = 0;
    // Shows it on top of the others without taking the keyboard from the program the user is
    // typing in, as the desktop at hand lets that be done.
    virtual void showAsWarning() = 0;
    // Shows it modally, active: the program's other windows take no input meanwhile. Returns
    // when the window has been destroyed.
    virtual void showModal() = 0;
    virtual bool isVisible() const = 0;
    // At the user's request (a click into it), gives it the keyboard.
    virtual void takeKeyboard() = 0;
    // Hides it and destroys it with its controls once the event at hand is over: safe from
    // inside one of its own events. Its events reach the form no more.
    void destroyLater();

    // The keys the window acts on when the control with the focus does not.
    enum class Key { Enter, Escape };
    // Enter presses the focused button, or else the default one; Escape the cancel button.
    // Returns whether a button took the key.
    bool keyPressed(Key key);
    // The button Enter presses now, or none.
    CommandButton* buttonForEnter() const;
    // The toolkit's report: the focus moved. The button Enter would press is marked.
    void focusMoved();
    // Raises one of its events, or one of its controls', unless it has been let go.
    void fire(const Event& event) const;

  protected:
    virtual Picture* makeWarningPicture(int left, int top) = 0;
    virtual Line* makeLine(int left, int right, int y, Colour colour) = 0;
    // Whether the form has let it go (destroyLater).
    bool isGone() const { return gone_; }
    // The control with the keyboard focus, when the focus is on this window.
    virtual Control* focusedControl() const = 0;
    // Puts `next` after `previous` in the Tab order, or first when there is no previous.
    virtual void placeInTabOrder(Control* previous, Control& next) = 0;
    // Hides the window and destroys it once the event at hand is over.
    virtual void hideAndDestroyLater() = 0;

  private:
    friend class CommandButton;

    // Marks the button Enter presses now as such, when there is a default button.
    void markButtonForEnter();

    std::vector<CommandButton*> buttons_;
    CommandButton* default_ = nullptr; // pressed by Enter off the buttons
    CommandButton* cancel_ = nullptr;  // pressed by Escape
    bool gone_ = false;                // destroyLater() was called
};
