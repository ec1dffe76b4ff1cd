#pragma once

#include <QWidget>

class QLabel;

// The top-level widget of a form. The window manager's close request (Alt+F4) never
// closes it on its own: it is only announced (closeRequested), and the form decides.
// Enter and Escape that no control takes, and a press or a click on the bare client area
// or on a label, are announced too when the form listens, and otherwise go where they
// would in any widget. A minimised window comes straight back: none has a task-bar entry
// that could bring it back.
class FormWindow : public QWidget {
    Q_OBJECT
  public:
    explicit FormWindow(Qt::WindowFlags flags);

    // The windows' own font: a sans face with Arial's metrics (Liberation Sans on Linux,
    // Arial on Windows) at a fixed pixel size, so that every text fits the box the layout
    // gives it whatever the desktop's font settings.
    static QFont defaultFont();
    // The about panel's heading face: the same, larger and bold.
    static QFont headingFont();
    // The icon of every window and message box.
    static QIcon applicationIcon();
    // Black behind the controls: the monitor's square and the full-screen warning.
    void paintBlack();
    // The warning sign of the warnings and the about panel, at a place in twips.
    QLabel* addWarningPicture(int left, int top);

  signals:
    void closeRequested();
    void enterPressed();
    void escapePressed();
    void pressed();
    void clicked();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
};
