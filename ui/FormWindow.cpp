#include "ui/FormWindow.h"

#include "ui/Twips.h"

#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPixmap>
#include <QTimer>

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

void FormWindow::paintBlack() {
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
}

QLabel* FormWindow::addWarningPicture(int left, int top) {
    auto* picture = new QLabel(this);
    picture->setGeometry(Twips::rect(left, top, 480, 480));
    picture->setPixmap(QPixmap(QStringLiteral(":/warning.gif")));
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setTextFormat(Qt::PlainText);
    picture->setAccessibleName(QStringLiteral("Výstraha"));
    return picture;
}

void FormWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    emit closeRequested();
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
    // The keypad's Enter arrives with the keypad modifier: it counts as plain Enter.
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const auto signal = enter ? &FormWindow::enterPressed : &FormWindow::escapePressed;
    if (plain && (enter || event->key() == Qt::Key_Escape) &&
        isSignalConnected(QMetaMethod::fromSignal(signal)))
        return (this->*signal)();
    QWidget::keyPressEvent(event);
}

void FormWindow::mousePressEvent(QMouseEvent* event) {
    if (isSignalConnected(QMetaMethod::fromSignal(&FormWindow::pressed)))
        emit pressed();
    QWidget::mousePressEvent(event);
}

void FormWindow::changeEvent(QEvent* event) {
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

void FormWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        isSignalConnected(QMetaMethod::fromSignal(&FormWindow::clicked))) {
        emit clicked();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}
