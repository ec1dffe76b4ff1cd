#pragma once

#include "ui/Control.h"
#include "ui/Event.h"

#include <string>

// A one-line text box.
class TextBox : public Control {
  public:
    using Control::Control;

    Event Change; // the text changed, typed or set

    // The toolkit's report: the text changed.
    void textWasChanged() { fire(Change); }

    virtual void setText(std::u16string_view text) = 0;
    virtual std::u16string text() const = 0;
    virtual void setMaxLength(int units) = 0; // in UTF-16 units
};
