#include "warning/WarningForm.h"

#include "core/Messages.h"
#include "core/Shared.h"
#include "core/System.h"
#include "ui/CommandButton.h"
#include "ui/Label.h"
#include "ui/Runtime.h"

void WarningForm::buildControls(Window& window, int offset) {
    Image1 = window.addWarningPicture(120 + offset, 120 + offset);

    Label1 = window.addLabel(Messages::DesignedWarning(), {720 + offset, 120 + offset, 4200, 675});
    Label1->setWordWrap(true);

    Command1 = window.addCommandButton(u"OK", {120 + offset, 840 + offset, 1095, 375});
    Command2 = window.addCommandButton(u"Nastavení", {1320 + offset, 840 + offset, 1095, 375});
    Command3 = window.addCommandButton(u"Ukončit !", {3840 + offset, 840 + offset, 1095, 375});

    on(Command1->Click, &WarningForm::Command1_Click);
    on(Command2->Click, &WarningForm::Command2_Click);
    on(Command3->Click, &WarningForm::Command3_Click);
    on(window.MouseDown, &WarningForm::Form_MouseDown);
}

void WarningForm::showWindow(Window& window) {
    // Keys meant for another program must never press a button the user has not seen.
    window.showAsWarning();
}

void WarningForm::playWarningSound() {
    // The file the monitor checked: the program folder's, whatever the current directory.
    system_.playSound(system_.programFolder() + u"/s.wav", [this](std::u16string_view reason) {
        if (SoundFailed)
            runGuarded(runtime_, [this, reason] { SoundFailed(reason); });
    });
}

void WarningForm::composeMessage() {
    Label1->setCaption(Messages::ComposeWarning(shared_.state, system_.numberFormat()));
}

void WarningForm::Form_MouseDown() {
    window()->takeKeyboard();
}

void WarningForm::Command1_Click() {
    unload();
    CountAgain();
}

void WarningForm::Command2_Click() {
    showModal(ShowSettings); // back when the dialog has been unloaded
}

void WarningForm::Command3_Click() {
    runtime_.end(0);
}
