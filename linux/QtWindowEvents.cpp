// What a form's window makes of the events Qt sends it: close requests, the keys no control
// takes, the mouse, and a minimised window.
#include "linux/QtWindow.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

void QtWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    fire(QueryUnload);
}

void QtWindow::keyPressEvent(QKeyEvent* event) {
    // The keypad's Enter arrives with the keypad modifier: it counts as plain Enter.
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (plain && enter && keyPressed(Key::Enter))
        return;
    if (plain && event->key() == Qt::Key_Escape && keyPressed(Key::Escape))
        return;
    QWidget::keyPressEvent(event);
}

void QtWindow::mousePressEvent(QMouseEvent* event) {
    fire(MouseDown);
    QWidget::mousePressEvent(event);
}

void QtWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (Click && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        return fire(Click);
    QWidget::mouseReleaseEvent(event);
}

void QtWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !(windowState() & Qt::WindowMinimized))
        return;
    // Back from the event loop, not from inside the state change. The keyboard goes back
    // only to a window that had it: the dialog, or a warning the user was working in.
    const bool hadKeyboard = isActiveWindow() || isModal();
    QTimer::singleShot(0, this, [this, hadKeyboard] {
        if (!(windowState() & Qt::WindowMinimized))
            return;
        setWindowState(windowState() & ~Qt::WindowMinimized);
        raise();
        if (hadKeyboard && !(windowFlags() & Qt::WindowDoesNotAcceptFocus))
            activateWindow();
    });
}
