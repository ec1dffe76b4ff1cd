#pragma once

#include "linux/QtCheckBox.h"

#include <QAbstractButton>
#include <QDebug>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QtTest>

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
    QString name;
    QRect box = w->rect();
    QRect need;
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->text().isEmpty())
            return true;
        name = label->objectName().isEmpty() ? label->text() : label->objectName();
        const int flags = label->wordWrap() ? Qt::TextWordWrap : 0;
        need.setSize(
            metrics.boundingRect(QRect(0, 0, box.width(), 10000), flags, label->text()).size());
    } else if (const auto* check = dynamic_cast<const QtCheckBox*>(w)) {
        name = check->text();
        box = check->captionRect();
        need = metrics.boundingRect(box, QtCheckBox::CaptionFlags, check->text());
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        name = button->text();
        need.setSize({metrics.horizontalAdvance(name) + 8, metrics.height() + 4});
    } else {
        return true;
    }
    QDebug(why).noquote() << name << "needs" << need.size() << "in" << box.size();
    return box.contains(need);
}

inline void verifyAllTextsFit(QWidget* window) {
    const QString family = QFontInfo(window->font()).family();
    QVERIFY2(family.contains("Liberation") || family.contains("Arial"), qPrintable(family));
    for (QWidget* w : window->findChildren<QWidget*>()) {
        QString why;
        QVERIFY2(textFits(w, &why), qPrintable(why));
    }
}

} // namespace Layout
