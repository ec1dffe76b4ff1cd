#pragma once

#include <QScrollBar>

// A horizontal scroll bar whose keys move it as the user expects from a desktop scroll
// bar: Left, Up and Page Up towards the minimum, Right, Down and Page Down towards the
// maximum, Home and End to either end. (Qt's own scroll bar inverts its key controls.)
class KeyScrollBar : public QScrollBar {
    Q_OBJECT
  public:
    explicit KeyScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {}

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};
