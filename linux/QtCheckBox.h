#pragma once

#include "linux/QtControl.h"
#include "ui/CheckBox.h"

#include <QCheckBox>

// A check box as a QCheckBox whose caption wraps at word boundaries inside its box, beside
// the indicator, as a narrow and tall check box of the layout needs ("Skrýt plochu").
class QtCheckBox final : public QtControl<CheckBox, QCheckBox> {
  public:
    QtCheckBox(QtWindow& window, std::u16string_view caption);

    bool isChecked() const override { return QCheckBox::isChecked(); }

    // Where the caption is drawn, inside the widget.
    QRect captionRect() const;
    // Flags the caption is drawn with.
    static constexpr int CaptionFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;

  protected:
    void showChecked(bool checked) override;
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

  private:
    QRect indicatorRect() const;

    bool showing_ = false; // the value shown is the program's, not the user's
};
