#include "warning/Form1.h"

#include "ui/Twips.h"

#include <QLabel>
#include <QPushButton>

FormWindow* Form1::createWindow() {
    auto* window = new FormWindow(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                  Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    window->setWindowTitle(QStringLiteral("Varování!"));
    window->setFixedSize(Twips::toPixels(5085), Twips::toPixels(1305));
    buildControls(*window, 0);
    QWidget::setTabOrder(Command1, Command2);
    QWidget::setTabOrder(Command2, Command3);
    Command1->setFocus();
    return window;
}

void Form1::Form_Load() {
    playWarningSound();
    composeMessage();
}
