#include "linux/QtCheckBox.h"

#include "linux/QtWindow.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

QtCheckBox::QtCheckBox(QtWindow& window, std::u16string_view caption) : QtControl(window, &window) {
    QCheckBox::setText(qt(caption));
    // By the mouse, Space or a screen reader; not when the program sets it.
    connect(this, &QCheckBox::toggled, this, [this] {
        if (!showing_)
            userToggled();
    });
}

void QtCheckBox::showChecked(bool checked) {
    showing_ = true;
    QCheckBox::setChecked(checked);
    showing_ = false;
}

QRect QtCheckBox::indicatorRect() const {
    const int w = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this);
    const int h = style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, this);
    return QRect(0, (height() - h) / 2, w, h);
}

QRect QtCheckBox::captionRect() const {
    const int left = indicatorRect().right() + 1 +
                     style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, this) / 2;
    return QRect(left, 0, width() - left, height());
}

void QtCheckBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.rect = indicatorRect();
    style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter, this);
    const QRect caption = captionRect();
    style()->drawItemText(&painter, caption, CaptionFlags, palette(), isEnabled(), text(),
                          QPalette::WindowText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect =
            fontMetrics().boundingRect(caption, CaptionFlags, text()).adjusted(-1, 0, 1, 0);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

bool QtCheckBox::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}
