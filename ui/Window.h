#pragma once

#include "ui/Appearance.h"
#include "ui/Event.h"
#include "ui/Twips.h"

#include <initializer_list>
#include <string>

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
// It owns its controls; the window and its controls are made by the runtime.
class Window {
  public:
    virtual ~Window() = default;

    Event Click;          // the left button pressed and released on its bare client area
    Event MouseDown;      // a button pressed on it anywhere but on a button control
    Event QueryUnload;    // the desktop asks to close it
    Event ScreensChanged; // screens came, went or changed their order

    virtual Label* addLabel(std::u16string_view caption, const TwipsRect& box) = 0;
    virtual CommandButton* addCommandButton(std::u16string_view caption, const TwipsRect& box) = 0;
    virtual TextBox* addTextBox(std::u16string_view text, const TwipsRect& box) = 0;
    virtual CheckBox* addCheckBox(std::u16string_view caption, const TwipsRect& box) = 0;
    virtual HScrollBar* addHScrollBar(const TwipsRect& box) = 0;
    virtual Picture* addWarningPicture(int left, int top) = 0;
    // A horizontal line from (left, y) to (right, y), one pixel thick.
    virtual Line* addLine(int left, int right, int y, Colour colour) = 0;
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
    virtual void setTabOrder(std::initializer_list<Control*> order) = 0;

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
    virtual void destroyLater() = 0;
};
