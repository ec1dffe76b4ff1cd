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

constexpr int PerInch = 1440;
constexpr int PerPixel = 15; // at 96 dots per inch

// `value` times `numerator` over `denominator`, to the nearest whole number (halves away from
// zero, so that a screen left of the primary one comes back where it was).
constexpr int scaled(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return int(product >= 0 ? (product + half) / denominator : -((-product + half) / denominator));
}

// Twips as pixels at `dpi` dots per inch, and back.
constexpr int toPixels(int twips, int dpi = 96) {
    return scaled(twips, dpi, PerInch);
}
constexpr int fromPixels(int pixels, int dpi = 96) {
    return scaled(pixels, PerInch, dpi);
}

} // namespace Twips
