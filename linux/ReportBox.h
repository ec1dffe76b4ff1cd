#pragma once

#include <QMessageBox>

class QtRuntime;

// A report beside the program's windows (a chime that could not be played). It stays on top
// beside the warning it comes with and, like that warning, takes the keyboard only when the
// user asks for it (a click into it, a switcher): typing meant for another program must not
// close it unread. It deletes itself when closed.
class ReportBox final : public QMessageBox {
  public:
    ReportBox(QtRuntime& runtime, const QString& text, const QString& title);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    // Placed as it is shown, at its final size, before the window manager sees it.
    void showEvent(QShowEvent* event) override;

  private:
    QtRuntime& runtime_;
};
