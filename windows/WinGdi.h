#pragma once

#include "ui/Appearance.h"

#include <windows.h>

#include <map>
#include <utility>

// The fonts and brushes the windows draw with: each made when first asked for and kept for
// the run.
class WinGdi {
  public:
    WinGdi() = default;
    ~WinGdi();
    WinGdi(const WinGdi&) = delete;
    WinGdi& operator=(const WinGdi&) = delete;

    // The windows' face (Arial) at a size and weight, for a DPI.
    HFONT font(const Font& font, unsigned dpi);
    // A brush of a colour.
    HBRUSH brush(Colour colour);

  private:
    std::map<std::pair<int, unsigned>, HFONT> fonts_; // by (tenths of a point and weight, dpi)
    std::map<Colour, HBRUSH> brushes_;
};
