#pragma once

// Window and control geometry is kept in twips, as the layouts give it: 1440 to the inch,
// 15 to the pixel at 96 dots per inch. Each runtime turns it into its own pixels.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool operator==(const TwipsRect&) const = default;
};

namespace Twips {

constexpr int PerPixel = 15; // at 96 dots per inch

// Twips as pixels at 96 dots per inch, to the nearest pixel (halves away from zero, so that
// a screen left of the primary one comes back where it was).
constexpr int toPixels(int twips) {
    return twips >= 0 ? (twips + PerPixel / 2) / PerPixel : -((-twips + PerPixel / 2) / PerPixel);
}

} // namespace Twips
