// The yardstick: the least a Qt 6 Widgets program can do to look like Vestrel at rest —
// an 8 x 8 frameless black window at (0, 0) and a ten-second timer.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Tool | Qt::FramelessWindowHint);
    window.setWindowTitle(QStringLiteral("minimal"));
    window.setFixedSize(8, 8);
    window.move(0, 0);
    window.setStyleSheet(QStringLiteral("background: black"));
    window.show();
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.start(10000);
    return app.exec();
}
