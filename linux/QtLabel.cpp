#include "linux/QtLabel.h"

#include "linux/QtWindow.h"

#include <QMouseEvent>

#include <cmath>

QtLabel::QtLabel(QtWindow& window, std::u16string_view caption) : QtControl(window, &window) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QLabel::setText(qt(caption));
}

void QtLabel::setCaption(std::u16string_view caption) {
    QLabel::setText(qt(caption));
    if (autoSize_)
        adjustSize();
}

void QtLabel::setAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    if (autoSize_)
        adjustSize();
}

void QtLabel::setBackColour(Colour colour) {
    if (colour != Colour::ButtonShadow)
        return setColour(QPalette::Window, colour);
    // The desktop's own, following its theme while the window is open.
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Dark);
    setForegroundRole(QPalette::WindowText);
}

void QtLabel::setFont(const Font& font) {
    QFont face = QtWindow::defaultFont();
    face.setPixelSize(font.pixels(96));
    face.setBold(font.bold);
    QLabel::setFont(face);
    if (autoSize_)
        adjustSize();
}

void QtLabel::setMousePointer(MousePointer pointer) {
    setCursor(pointer == MousePointer::WhatsThis ? Qt::WhatsThisCursor : Qt::ArrowCursor);
}

void QtLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (Click && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint())) {
        userClicked();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}
