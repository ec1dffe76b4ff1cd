#pragma once

#include "settings/WrapCheckBox.h"

#include <QAbstractButton>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QTest>
#include <QWidget>

// Checks shared by the window layout tests.
namespace Layout {

// The widgets that take the keyboard focus with Tab, in the order Tab visits them,
// starting from `first`.
inline QList<QWidget*> tabOrder(QWidget* first) {
    QList<QWidget*> order;
    QWidget* w = first;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled())
            order.append(w);
        w = w->nextInFocusChain();
    } while (w && w != first && order.size() < 50);
    return order;
}

// True when the control's text is drawn inside its box, nothing cut off.
inline bool textFits(const QWidget* w, QString* why) {
    const QFontMetrics metrics(w->font());
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->text().isEmpty())
            return true;
        const int flags = label->wordWrap() ? Qt::TextWordWrap : 0;
        const QRect need =
            metrics.boundingRect(QRect(0, 0, label->width(), 10000), flags, label->text());
        *why = QStringLiteral("%1 needs %2x%3 in %4x%5")
                   .arg(label->objectName().isEmpty() ? label->text() : label->objectName())
                   .arg(need.width())
                   .arg(need.height())
                   .arg(label->width())
                   .arg(label->height());
        return need.width() <= label->width() && need.height() <= label->height();
    }
    if (const auto* check = qobject_cast<const WrapCheckBox*>(w)) {
        const QRect box = check->captionRect();
        const QRect need = metrics.boundingRect(box, WrapCheckBox::CaptionFlags, check->text());
        *why = QStringLiteral("%1 needs %2x%3 in %4x%5")
                   .arg(check->text())
                   .arg(need.width())
                   .arg(need.height())
                   .arg(box.width())
                   .arg(box.height());
        return box.contains(need);
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        const QSize hint = button->sizeHint();
        const int textWidth = metrics.horizontalAdvance(button->text());
        *why = QStringLiteral("%1 needs %2 (hint %3x%4) in %5x%6")
                   .arg(button->text())
                   .arg(textWidth)
                   .arg(hint.width())
                   .arg(hint.height())
                   .arg(button->width())
                   .arg(button->height());
        return textWidth + 8 <= button->width() && metrics.height() + 4 <= button->height();
    }
    return true;
}

inline void verifyAllTextsFit(QWidget* window) {
    QVERIFY2(QFontInfo(window->font()).family().contains(QStringLiteral("Liberation")) ||
                 QFontInfo(window->font()).family().contains(QStringLiteral("Arial")),
             qPrintable(QFontInfo(window->font()).family()));
    for (QWidget* w : window->findChildren<QWidget*>()) {
        QString why;
        QVERIFY2(textFits(w, &why), qPrintable(why));
    }
}

} // namespace Layout
