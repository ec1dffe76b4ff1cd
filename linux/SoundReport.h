#pragma once

#include <QMessageBox>

class QtRuntime;

// The report of a chime that could not be played. It stays on top beside the warning it
// comes with and, like that warning, takes the keyboard only when the user asks for it (a
// click into it, a switcher): typing meant for another program must not close it unread.
class SoundReport final : public QMessageBox {
  public:
    SoundReport(QtRuntime& runtime, const QString& text);

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QtRuntime& runtime_;
};
