#include "monitor/Form3.h"

#include "core/Messages.h"
#include "core/RuntimeError.h"
#include "core/Shared.h"
#include "core/System.h"
#include "core/Text.h"
#include "ui/Label.h"
#include "ui/Runtime.h"
#include "ui/Timer.h"

#include <cmath>
#include <utility>

std::unique_ptr<Window> Form3::createWindow() {
    // Clicked, never typed into: it leaves the keyboard with the program the user types in.
    std::unique_ptr<Window> window = runtime_.createWindow({.takesKeyboard = false});
    window->setCaption(u"Form3");
    window->setGeometry({0, 0, 120, 120});
    window->setBackColour(Colour::Black);
    on(window->Click, &Form3::Form_Click);

    Timer1 = window->addTimer(TickMilliseconds);
    on(Timer1->Tick, &Form3::Timer1_Timer, Kind::News);
    return window;
}

void Form3::beforeUnload() {
    Timer1->setEnabled(false);
}

void Form3::Form_Load() {
    showLoadedWindow();
    window()->setGeometry({0, 0, 120, 120});
    // Named once shown: a name or a caption given before wakes the accessibility bridge, whose
    // session-bus round trips would then hold up the square's first showing.
    window()->setAccessibleName(u"Vestrel – počítadlo přestávky");
    // The scratch label too: a control made before the showing would hold it up.
    Label1 = window()->addLabel(u"", {480, 480, 480, 195});
    Label1->setVisible(false);

    const std::u16string folder = system_.programFolder();
    if (!system_.fileExists(folder + u"/data.ini")) {
        MissingFile = u"ini";
        ReportMissingFile();
    }
    if (!system_.fileExists(folder + u"/s.wav")) {
        MissingFile = u"wav";
        ReportMissingFile();
    }

    ReminderState& state = shared_.state;
    state.IniPath = folder + u"/data.ini";
    const std::u16string unreadable = state.LoadSettings(shared_.files, system_.numberFormat());
    // The scratch label keeps the interval text as a label shows it: up to the first NUL.
    Label1->setCaption(ReminderState::UpToNul(state.IntervalText));
    shared_.presence.restart(state.BreakMinutes, state.IdleIsAway, state.HoldWhenBusy);
    warningWaits = false;
    if (!unreadable.empty()) // the defaults stand in for what could not be read
        messageBox(unreadable, MessageBoxStyle::OkCritical, u"Vestrel");
}

void Form3::ReportMissingFile() {
    const std::u16string secondLine =
        u"Tento program (a mnoho dalších) lze stáhnou na " + std::u16string(Messages::MakerAddress);
    const std::u16string_view title = u"CHYBA";
    if (MissingFile == u"ini")
        messageBox(u"Nebyl nalezen soubor data.ini, program bude ukončen.\r\n" + secondLine,
                   MessageBoxStyle::OkCritical, title);
    if (MissingFile == u"wav")
        messageBox(u"Nebyl nalezen soubor s.wav, program bude ukončen.\r\n" + secondLine,
                   MessageBoxStyle::OkCritical, title);
    runtime_.end(0);
}

void Form3::Timer1_Timer() {
    followPresence();
    if (!isLoaded())
        return;
    UnCas += 1.0f;
    const float target = shared_.state.IntervalMinutes * 6.0f;
    if (std::isinf(target))
        throw RuntimeError(RuntimeError::Overflow, Text::number(shared_.state.IntervalMinutes));
    // No chime into an empty room, none over a presentation: it waits.
    if (target == UnCas && (shared_.presence.away() || shared_.presence.busy()))
        warningWaits = true;
    else if (target == UnCas)
        ShowWarning();
}

void Form3::followPresence() {
    if (!isLoaded())
        return; // a warning is up: its "OK" starts the count afresh
    switch (shared_.presence.look()) {
    case Presence::Change::BackAfterBreak:
        UnCas = 0.0f;
        warningWaits = false;
        break;
    default:
        break;
    }
    // A warning that waited comes once the user is back and no longer busy.
    if (warningWaits && !shared_.presence.away() && !shared_.presence.busy()) {
        warningWaits = false;
        ShowWarning();
    }
}

void Form3::Form_Click() {
    ShowWarning();
}

void Form3::ShowWarning() {
    unload();
    const std::int16_t hideDesktop = shared_.state.HideDesktop;
    if (hideDesktop == ReminderState::True)
        FullScreenWarningDue();
    if (hideDesktop == ReminderState::False)
        StandardWarningDue();
}

void Form3::countAgain() {
    UnCas = 0.0f;
    show();
}
