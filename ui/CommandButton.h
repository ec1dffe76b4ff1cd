#pragma once

#include "ui/Control.h"
#include "ui/Event.h"

#include <string>

// A push button. Enter and Space press the focused button. Enter elsewhere in the window
// presses the default button, where there is one, and Escape the cancel button; while there
// is a default button, the one Enter would press is marked as such.
class CommandButton : public Control {
  public:
    explicit CommandButton(Window& window);

    Event Click; // pressed, by the mouse or a key

    virtual std::u16string caption() const = 0;
    void setDefault(bool isDefault);
    void setCancel(bool isCancel);
    bool isDefault() const;
    bool isCancel() const;

    // The toolkit's report: the user pressed it (the mouse, Space, Enter on it).
    void userPressed() { fire(Click); }
    // Shows it as the button Enter presses, or not.
    virtual void markAsDefault(bool marked) = 0;
};
