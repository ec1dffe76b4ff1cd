#include "linux/SoundReport.h"

#include "ui/Platform.h"

#include <QPushButton>

SoundReport::SoundReport(Platform& platform, const QString& text)
    : QMessageBox(QMessageBox::Critical, QStringLiteral("Zvuk"), text, QMessageBox::Ok),
      platform_(platform) {
    setTextFormat(Qt::PlainText);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::NonModal); // the warning's buttons stay usable beside it
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    platform.takeKeyboardWhenOffered(*this);
}

void SoundReport::mousePressEvent(QMouseEvent* event) {
    platform_.takeKeyboard(*this);
    QMessageBox::mousePressEvent(event);
}
