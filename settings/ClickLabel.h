#pragma once

#include <QLabel>

// A plain-text label that reports a click on it, for the settings dialog's web link.
class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
