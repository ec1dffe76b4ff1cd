#include "warning/WarningForm.h"

#include "app/Program.h"
#include "core/Messages.h"
#include "ui/Platform.h"
#include "ui/QtText.h"
#include "ui/Twips.h"

#include <QLabel>
#include <QPushButton>

namespace {

QPushButton* button(FormWindow& window, const QString& text, const QRect& geometry) {
    auto* b = new QPushButton(text, &window);
    b->setGeometry(geometry);
    b->setAutoDefault(true); // Enter, like Space, acts on the focused button
    return b;
}

} // namespace

void WarningForm::buildControls(FormWindow& window, int offset) {
    Image1 = window.addWarningPicture(120 + offset, 120 + offset);

    Label1 = new QLabel(qt(Messages::DesignedWarning()), &window);
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setGeometry(Twips::rect(720 + offset, 120 + offset, 4200, 675));

    Command1 =
        button(window, QStringLiteral("OK"), Twips::rect(120 + offset, 840 + offset, 1095, 375));
    Command2 = button(window, QStringLiteral("Nastavení"),
                      Twips::rect(1320 + offset, 840 + offset, 1095, 375));
    Command3 = button(window, QStringLiteral("Ukončit !"),
                      Twips::rect(3840 + offset, 840 + offset, 1095, 375));

    on(Command1, &QPushButton::clicked, &WarningForm::Command1_Click);
    on(Command2, &QPushButton::clicked, &WarningForm::Command2_Click);
    on(Command3, &QPushButton::clicked, &WarningForm::Command3_Click);
    on(&window, &FormWindow::pressed, &WarningForm::Form_MouseDown);
}

void WarningForm::showWindow(FormWindow& window) {
    // Made with Qt::WindowDoesNotAcceptFocus, which window managers honour where some
    // ignore a user time of 0, the only other way of saying it. Keys meant for another
    // program must never press a button the user has not seen.
    window.setAttribute(Qt::WA_ShowWithoutActivating);
    platform_.takeKeyboardWhenOffered(window);
    platform_.showWarning(window);
    window.raise();
}

void WarningForm::playWarningSound() {
    // The file the monitor checked: the program folder's, whatever the current directory.
    platform_.playSound(platform_.programFolder() + u"/s.wav");
}

void WarningForm::composeMessage() {
    Label1->setText(qt(Messages::ComposeWarning(program_.state, platform_.numberFormat())));
}

void WarningForm::Form_MouseDown() {
    platform_.takeKeyboard(*window());
}

void WarningForm::Command1_Click() {
    program_.form3.UnCas = 0.0f;
    unload();
    program_.form3.show();
}

void WarningForm::Command2_Click() {
    program_.form2.showModal();
}

void WarningForm::Command3_Click() {
    platform_.end(0);
}
