#include "linux/ReportBox.h"

#include "linux/QtConvert.h"
#include "linux/QtRuntime.h"
#include "ui/Runtime.h"

#include <QPushButton>
#include <QScreen>

ReportBox::ReportBox(QtRuntime& runtime, const QString& text, const QString& title)
    : QMessageBox(QMessageBox::Critical, title, text, QMessageBox::Ok), runtime_(runtime) {
    setTextFormat(Qt::PlainText);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::NonModal); // the warning's buttons stay usable beside it
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    button(QMessageBox::Ok)->setText(qt(MessageBoxButtons::Ok));
    runtime.takeKeyboardWhenOffered(*this);
}

void ReportBox::mousePressEvent(QMouseEvent* event) {
    runtime_.takeKeyboard(*this);
    QMessageBox::mousePressEvent(event);
}

void ReportBox::showEvent(QShowEvent* event) {
    QMessageBox::showEvent(event);
    const TwipsRect size = twips(QRect(QPoint(), frameSize()));
    move(pixels(Report::place(twips(screen()->availableGeometry()), size.width, size.height))
             .topLeft());
}
