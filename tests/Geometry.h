#pragma once

// Each window's layout in twips, as the user must see it, written once for the tests of every
// runtime: the fake keeps the twips, the Qt runtime's pixels are derived from them.

#include "settings/Form2.h"
#include "ui/CheckBox.h"
#include "ui/CommandButton.h"
#include "ui/HScrollBar.h"
#include "ui/Label.h"
#include "ui/Line.h"
#include "ui/Picture.h"
#include "ui/TextBox.h"
#include "ui/Twips.h"
#include "warning/WarningForm.h"

#include <utility>
#include <vector>

namespace Geometry {

// The standard warning window's size.
constexpr TwipsRect Form1{0, 0, 5085, 1305};
// The full-screen warning's controls sit this far right and down of the standard one's.
constexpr int Form4Offset = 240;

// A warning's controls in their places: Image1, Label1, Command1, Command2, Command3.
inline std::vector<std::pair<Control*, TwipsRect>> warning(WarningForm& f, int offset) {
    const auto at = [offset](int left, int top, int width, int height) {
        return TwipsRect{left + offset, top + offset, width, height};
    };
    return {{f.Image1, at(120, 120, 480, 480)},
            {f.Label1, at(720, 120, 4200, 675)},
            {f.Command1, at(120, 840, 1095, 375)},
            {f.Command2, at(1320, 840, 1095, 375)},
            {f.Command3, at(3840, 840, 1095, 375)}};
}

// The settings dialog's width, its height folded and unfolded.
constexpr int DialogWidth = 5760;
constexpr int DialogHeight = 3225;
constexpr int DialogExpandedHeight = 4935;

// The dialog's controls of a fixed size in their places; the last four only when unfolded.
inline std::vector<std::pair<Control*, TwipsRect>> dialog(Form2& d) {
    return {{d.Label1, {120, 120, 5520, 195}},     {d.HScroll1, {120, 360, 5535, 255}},
            {d.Line1, {120, 720, 5520, 15}},       {d.Label2, {120, 840, 5595, 195}},
            {d.Text1, {240, 1080, 5415, 285}},     {d.Text2, {240, 1440, 5415, 285}},
            {d.Label4, {240, 2040, 4200, 675}},    {d.Check1, {4560, 2040, 1095, 495}},
            {d.Command1, {120, 2760, 1215, 375}},  {d.Command2, {1440, 2760, 1215, 375}},
            {d.Command4, {2760, 2760, 1215, 375}}, {d.Command3, {4440, 2760, 1215, 375}},
            {d.Line2, {120, 3240, 5520, 15}},      {d.Line3, {120, 3255, 5520, 15}},
            {d.Line4, {120, 3270, 5520, 15}},      {d.Image1, {120, 3360, 480, 480}}};
}

// The labels that size themselves, by their top-left corner.
inline std::vector<std::pair<Label*, std::pair<int, int>>> dialogCorners(Form2& d) {
    return {{d.Label3, {120, 1800}}, {d.Label5, {840, 3360}}, {d.Label6, {840, 3720}},
            {d.Label7, {840, 3960}}, {d.Label8, {840, 4320}}, {d.Label9, {120, 4680}}};
}

} // namespace Geometry
