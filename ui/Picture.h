#pragma once

#include "ui/Control.h"

// The warning sign, 32 by 32 pixels: the one picture the windows show.
class Picture : public Control {
  public:
    static constexpr int SizeTwips = 480; // its width and height

    using Control::Control;
};
