#pragma once

#include "ui/Twips.h"

#include <string_view>

// What every control on a form has: a place in twips within its window, visibility, a tool
// tip, a name for screen readers and the keyboard focus. Controls belong to their window
// and go with it.
class Control {
  public:
    virtual ~Control() = default;

    virtual void setGeometry(const TwipsRect& box) = 0;
    virtual TwipsRect geometry() const = 0;
    virtual void setVisible(bool visible) = 0;
    virtual bool isVisible() const = 0;
    virtual void setToolTip(std::u16string_view tip) = 0;
    virtual void setAccessibleName(std::u16string_view name) = 0;
    virtual void setFocus() = 0;
};
