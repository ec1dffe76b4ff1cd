#pragma once

#include "ui/Label.h"
#include "windows/WinControl.h"

#include <optional>

// A label as a STATIC control: plain text (no & prefixes), see-through unless it is given a
// back colour. The mouse goes through it to its window, which passes a click on to it.
class WinLabel final : public WinControl<Label> {
  public:
    WinLabel(WinWindow& window, std::u16string_view caption);

    void setCaption(std::u16string_view caption) override;
    std::u16string caption() const override { return caption_; }
    void setWordWrap(bool wrap) override;
    void setAutoSize(bool autoSize) override;
    void setBackColour(Colour colour) override {
        back_ = colour;
        redraw();
    }
    void setForeColour(Colour colour) override {
        fore_ = colour;
        redraw();
    }
    void setFont(const Font& font) override;
    void setMousePointer(MousePointer pointer) override { pointer_ = pointer; }

    void clicked() override;
    HBRUSH colours(HDC dc) override;
    HCURSOR cursor() const override;
    void relayout() override;

  protected:
    HFONT font() const override;

  private:
    void redraw();
    // Sizes the box to the text, from its top-left corner.
    void fitText();

    std::u16string caption_;
    bool wrap_ = false;
    bool autoSize_ = false;
    std::optional<Colour> back_;
    std::optional<Colour> fore_;
    std::optional<Font> font_;
    MousePointer pointer_ = MousePointer::Default;
};
