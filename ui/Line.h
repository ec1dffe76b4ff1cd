#pragma once

#include "ui/Control.h"

// A horizontal line one pixel thick, a rule or part of a groove.
class Line : public Control {
  public:
    using Control::Control;
};
