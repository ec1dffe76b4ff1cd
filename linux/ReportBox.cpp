#include "linux/ReportBox.h"

#include "linux/QtConvert.h"
#include "linux/QtRuntime.h"
#include "ui/Runtime.h"

#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

ReportBox::ReportBox(QtRuntime& runtime, const QString& text, const QString& title)
    : QMessageBox(QMessageBox::Critical, title, text, QMessageBox::NoButton), runtime_(runtime) {
    setTextFormat(Qt::PlainText);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::NonModal); // the warning's buttons stay usable beside it
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    // Of our own text: a standard button takes the toolkit's again when the language changes.
    setDefaultButton(addButton(qt(MessageBoxButtons::Ok), QMessageBox::AcceptRole));
    runtime.takeKeyboardWhenOffered(*this);
}

void ReportBox::mousePressEvent(QMouseEvent* event) {
    runtime_.takeKeyboard(*this);
    QMessageBox::mousePressEvent(event);
}

void ReportBox::showEvent(QShowEvent* event) {
    QMessageBox::showEvent(event);
    if (event->spontaneous()) // restored: where the user left it
        return;
    const TwipsRect size = twips(QRect(QPoint(), frameSize()));
    move(pixels(Report::place(twips(screen()->availableGeometry()), size.width, size.height))
             .topLeft());
}
