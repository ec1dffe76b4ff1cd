#pragma once

#include "ui/Appearance.h"
#include "ui/Control.h"
#include "ui/Event.h"

#include <string>

// A label: plain text (never markup) from its top-left corner, in its box or, sizing
// itself, as large as its text.
class Label : public Control {
  public:
    using Control::Control;

    Event Click; // the left button pressed and released on it

    // The toolkit's report: the user clicked it.
    void userClicked() { fire(Click); }

    virtual void setCaption(std::u16string_view caption) = 0;
    virtual std::u16string caption() const = 0;
    // Breaks the text at word boundaries to the box's width.
    virtual void setWordWrap(bool wrap) = 0;
    // Keeps the box the size of the text, its top-left corner where it is.
    virtual void setAutoSize(bool autoSize) = 0;
    // Fills the box with the colour behind the text.
    virtual void setBackColour(Colour colour) = 0;
    virtual void setForeColour(Colour colour) = 0;
    virtual void setFont(const Font& font) = 0;
    virtual void setMousePointer(MousePointer pointer) = 0;
};
