#pragma once

#include "ui/Control.h"
#include "ui/Event.h"

// A check box whose caption wraps at word boundaries inside its box, beside the box it
// is checked in.
class CheckBox : public Control {
  public:
    Event Click; // checked or cleared, by the user or the program

    virtual void setChecked(bool checked) = 0;
    virtual bool isChecked() const = 0;
};
