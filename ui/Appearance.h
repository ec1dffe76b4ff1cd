#pragma once

#include <cmath>
#include <optional>

// The looks a form gives its windows and controls, by what they are; each runtime turns
// them into its own colours, fonts and pointers.

// A colour: the desktop's own for text and for button shadows, or a fixed one.
enum class Colour {
    WindowText,   // the desktop's text colour
    ButtonShadow, // the desktop's colour of a button's shaded edge
    Black,
    White,
    Grey,      // 128, 128, 128
    LightGrey, // 224, 224, 224
};

// A colour by its red, green and blue, 0 to 255 each.
struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
};

// A fixed colour's red, green and blue; none for the desktop's own colours.
constexpr std::optional<Rgb> fixedRgb(Colour colour) {
    switch (colour) {
    case Colour::WindowText:
    case Colour::ButtonShadow:
        break;
    case Colour::Black:
        return Rgb{0, 0, 0};
    case Colour::White:
        return Rgb{255, 255, 255};
    case Colour::Grey:
        return Rgb{128, 128, 128};
    case Colour::LightGrey:
        return Rgb{224, 224, 224};
    }
    return std::nullopt;
}

// A size and weight of the windows' one sans face (Arial's metrics).
struct Font {
    double points = 8.25;
    bool bold = false;

    // Its height in pixels at `dpi` dots per inch: 11 for 8.25 points at 96.
    int pixels(unsigned dpi) const { return int(std::lround(points * dpi / 72)); }
};

// The mouse pointer over a control.
enum class MousePointer { Default, WhatsThis };
