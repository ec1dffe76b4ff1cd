#pragma once

#include "ui/Control.h"
#include "ui/Event.h"

// A check box whose caption wraps at word boundaries inside its box, beside the box it
// is checked in.
class CheckBox : public Control {
  public:
    using Control::Control;

    Event Click; // checked or cleared, by the user or the program

    // Checks or clears it; a change is a Click, as when the user makes it.
    void setChecked(bool checked);
    virtual bool isChecked() const = 0;

    // The toolkit's report: the user checked or cleared it.
    void userToggled() { fire(Click); }

  protected:
    // Shows the new value, saying nothing of it.
    virtual void showChecked(bool checked) = 0;
};
