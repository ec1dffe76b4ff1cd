#pragma once

#include "ui/Event.h"
#include "ui/Twips.h"

#include <string_view>

class Window;

// What every control on a form has: a place in twips within its window, visibility, a tool
// tip, a name for screen readers and the keyboard focus. Controls belong to their window
// and go with it; the window's toolkit makes and draws them.
class Control {
  public:
    explicit Control(Window& window) : parent_(window) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    virtual void setGeometry(const TwipsRect& box) = 0;
    virtual TwipsRect geometry() const = 0;
    virtual void setVisible(bool visible) = 0;
    virtual bool isVisible() const = 0;
    virtual void setToolTip(std::u16string_view tip) = 0;
    virtual void setAccessibleName(std::u16string_view name) = 0;
    virtual void setFocus() = 0;

  protected:
    // Raises one of its events, unless its window has been let go.
    void fire(const Event& event) const;

    Window& parent_; // the window it is on
};
