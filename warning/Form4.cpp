#include "warning/Form4.h"

#include "ui/Platform.h"
#include "ui/Twips.h"

#include <QLabel>
#include <QPushButton>

FormWindow* Form4::createWindow() {
    auto* window = new FormWindow(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                                  Qt::WindowDoesNotAcceptFocus);
    window->setWindowTitle(QStringLiteral("Form4"));
    window->setAccessibleName(QStringLiteral("Varování"));
    window->setGeometry(0, 0, Twips::toPixels(5565), Twips::toPixels(1815));
    window->paintBlack();
    buildControls(*window, 240);
    QPalette text = Label1->palette();
    text.setColor(QPalette::WindowText, Qt::white);
    Label1->setPalette(text);
    QWidget::setTabOrder(Command3, Command2);
    QWidget::setTabOrder(Command2, Command1);
    Command3->setFocus();
    return window;
}

void Form4::Form_Load() {
    playWarningSound();
    window()->setGeometry(platform_.screenGeometry());
    composeMessage();
}

void Form4::showWindow(FormWindow& window) {
    // Full screen, so that the window manager keeps it above panels and task bars.
    window.setWindowState(window.windowState() | Qt::WindowFullScreen);
    WarningForm::showWindow(window);
    coverOtherScreens();
    platform_.watchScreens(window, guarded(&Form4::coverOtherScreens));
}

void Form4::coverOtherScreens() {
    FormWindow* warning = window();
    if (!warning)
        return;
    // Children of the warning's window, so they go with it.
    for (FormWindow* cover :
         warning->findChildren<FormWindow*>(QString(), Qt::FindDirectChildrenOnly))
        cover->deleteLater();
    for (const QRect& screen : platform_.otherScreens()) {
        auto* cover = new FormWindow(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                                     Qt::WindowDoesNotAcceptFocus);
        cover->setParent(warning, cover->windowFlags());
        cover->setWindowTitle(QStringLiteral("Zakrytá obrazovka"));
        cover->paintBlack();
        cover->setGeometry(screen);
        cover->setWindowState(Qt::WindowFullScreen);
        cover->setAttribute(Qt::WA_ShowWithoutActivating);
        platform_.keepOffTaskbar(*cover);
        platform_.showWarning(*cover);
    }
}
