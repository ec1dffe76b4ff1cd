#pragma once

#include "ui/Picture.h"
#include "windows/WinControl.h"

// The warning sign, drawn from its icon at the size the DPI asks for; its transparent pixels
// show the window's colour.
class WinPicture final : public WinControl<Picture> {
  public:
    WinPicture(WinWindow& window, int left, int top);
    ~WinPicture() override;

    bool showsText() const override { return false; }
    void relayout() override;

  private:
    HICON icon_ = nullptr;
};
