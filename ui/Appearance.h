#pragma once

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

// A size and weight of the windows' one sans face (Arial's metrics).
struct Font {
    double points = 8.25;
    bool bold = false;
};

// The mouse pointer over a control.
enum class MousePointer { Default, WhatsThis };
