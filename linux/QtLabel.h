#pragma once

#include "linux/QtControl.h"
#include "ui/Label.h"

#include <QLabel>

// A label as a plain-text QLabel that reports a click on it.
class QtLabel final : public QtControl<Label, QLabel> {
  public:
    QtLabel(QtWindow& window, std::u16string_view caption);

    void setCaption(std::u16string_view caption) override;
    std::u16string caption() const override { return ::text(QLabel::text()); }
    void setWordWrap(bool wrap) override { QLabel::setWordWrap(wrap); }
    void setAutoSize(bool autoSize) override;
    void setBackColour(Colour colour) override;
    void setForeColour(Colour colour) override { setColour(QPalette::WindowText, colour); }
    void setFont(const Font& font) override;
    void setMousePointer(MousePointer pointer) override;

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool autoSize_ = false;
};
