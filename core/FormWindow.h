#pragma once

#include <QWidget>

#include <functional>

// The top-level widget of a form. The window manager's close request (Alt+F4) never
// destroys it on its own: the form decides, through onCloseRequest. Enter and Escape
// that no control takes go to the form's default and cancel actions, and a click on
// the bare client area to onClick.
class FormWindow : public QWidget {
    Q_OBJECT
  public:
    explicit FormWindow(Qt::WindowFlags flags);

    // The windows' own font: a sans face with Arial's metrics (Liberation Sans on Linux,
    // Arial on Windows) at a fixed pixel size, so that every text fits the box the layout
    // gives it whatever the desktop's font settings. `bold` is the about panel's heading face.
    static QFont defaultFont();
    // The icon of every window and message box.
    static QIcon applicationIcon();
    static QFont headingFont();

    std::function<void()> onCloseRequest;
    std::function<void()> onEnter;
    std::function<void()> onEscape;
    std::function<void()> onClick;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
