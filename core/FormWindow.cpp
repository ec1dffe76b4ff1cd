#include "core/FormWindow.h"

#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>

#include "resources/vestrel_icon.xpm"

FormWindow::FormWindow(Qt::WindowFlags flags) : QWidget(nullptr, flags) {
    setFont(defaultFont());
    setWindowIcon(applicationIcon());
}

QIcon FormWindow::applicationIcon() {
    // From XPM source compiled in: no image-format plug-in is loaded for it at start-up.
    static const QPixmap icon(vestrel_icon);
    return QIcon(icon);
}

QFont FormWindow::defaultFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

QFont FormWindow::headingFont() {
    QFont font = defaultFont();
    font.setPixelSize(13); // 9.75 points at 96 dots per inch
    font.setBold(true);
    return font;
}

void FormWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (onCloseRequest)
        onCloseRequest();
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
    // The keypad's Enter arrives with the keypad modifier: it counts as plain Enter.
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && onEnter && plain) {
        onEnter();
        return;
    }
    if (event->key() == Qt::Key_Escape && onEscape && plain) {
        onEscape();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FormWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && onClick &&
        rect().contains(event->position().toPoint())) {
        onClick();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}
