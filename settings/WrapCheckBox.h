#pragma once

#include <QCheckBox>

// A check box whose caption wraps at word boundaries inside its box, beside the
// indicator, as a narrow and tall check box of the layout needs ("Skrýt plochu").
class WrapCheckBox : public QCheckBox {
    Q_OBJECT
  public:
    using QCheckBox::QCheckBox;

    // Where the caption is drawn, inside the widget.
    QRect captionRect() const;
    // Flags the caption is drawn with.
    static constexpr int CaptionFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

  private:
    QRect indicatorRect() const;
};
