#include "monitor/Form3.h"

#include "app/Program.h"
#include "core/Messages.h"
#include "core/RuntimeError.h"
#include "core/Text.h"
#include "ui/Platform.h"
#include "ui/QtText.h"
#include "ui/Twips.h"

#include <QLabel>
#include <QTimer>

#include <cmath>
#include <utility>

FormWindow* Form3::createWindow() {
    // Clicked, never typed into: it leaves the keyboard with the program the user types in.
    auto* window =
        new FormWindow(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    window->setWindowTitle(QStringLiteral("Form3"));
    window->setFixedSize(Twips::toPixels(120), Twips::toPixels(120));
    window->move(0, 0);
    window->paintBlack();
    on(window, &FormWindow::clicked, &Form3::Form_Click);

    // Its caption comes with the load, after the showing (see Form_Load).
    Label1 = new QLabel(window);
    Label1->setTextFormat(Qt::PlainText);
    Label1->setGeometry(Twips::rect(480, 480, 480, 195));
    Label1->setAutoFillBackground(true);
    Label1->hide();

    // A precise timer keeps to the ten-second grid: an hour is 360 ticks, not 360 ticks
    // plus the slack of each.
    Timer1 = new QTimer(window);
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(TickMilliseconds);
    on(Timer1, &QTimer::timeout, &Form3::Timer1_Timer);
    Timer1->start();
    return window;
}

void Form3::beforeUnload() {
    Timer1->stop();
}

void Form3::Form_Load() {
    showLoadedWindow();
    window()->move(0, 0);
    // Named once shown: a name or a caption given before wakes the accessibility bridge, whose
    // session-bus round trips would then hold up the square's first showing.
    window()->setAccessibleName(QStringLiteral("Vestrel – počítadlo přestávky"));

    const std::u16string folder = platform_.programFolder();
    if (!platform_.fileExists(folder + u"/data.ini")) {
        MissingFile = u"ini";
        ReportMissingFile();
    }
    if (!platform_.fileExists(folder + u"/s.wav")) {
        MissingFile = u"wav";
        ReportMissingFile();
    }

    ReminderState& state = program_.state;
    state.IniPath = folder + u"/data.ini";
    const std::u16string unreadable = state.LoadSettings(program_.files, platform_.numberFormat());
    // The scratch label keeps the interval text as a label shows it: up to the first NUL.
    Label1->setText(qt(ReminderState::UpToNul(state.IntervalText)));
    program_.presence.restart(state.BreakMinutes, state.IdleIsAway);
    warningWaits = false;
    if (!unreadable.empty()) // the defaults stand in for what could not be read
        platform_.messageBox(unreadable, MessageBoxStyle::OkCritical, u"Vestrel");
}

void Form3::ReportMissingFile() {
    const std::u16string secondLine =
        u"Tento program (a mnoho dalších) lze stáhnou na " + std::u16string(Messages::MakerAddress);
    const std::u16string_view title = u"CHYBA";
    if (MissingFile == u"ini")
        platform_.messageBox(u"Nebyl nalezen soubor data.ini, program bude ukončen.\r\n" +
                                 secondLine,
                             MessageBoxStyle::OkCritical, title);
    if (MissingFile == u"wav")
        platform_.messageBox(u"Nebyl nalezen soubor s.wav, program bude ukončen.\r\n" + secondLine,
                             MessageBoxStyle::OkCritical, title);
    platform_.end(0);
}

void Form3::Timer1_Timer() {
    followPresence();
    if (!isLoaded())
        return;
    UnCas += 1.0f;
    const float target = program_.state.IntervalMinutes * 6.0f;
    if (std::isinf(target))
        throw RuntimeError(RuntimeError::Overflow, Text::number(program_.state.IntervalMinutes));
    if (target == UnCas && program_.presence.away())
        warningWaits = true; // no chime into an empty room
    else if (target == UnCas)
        ShowWarning();
}

void Form3::followPresence() {
    if (!isLoaded())
        return; // a warning is up: its "OK" starts the count afresh
    switch (program_.presence.look()) {
    case Presence::Change::BackAfterBreak:
        UnCas = 0.0f;
        warningWaits = false;
        break;
    case Presence::Change::BackSoon:
        if (std::exchange(warningWaits, false))
            ShowWarning();
        break;
    default:
        break;
    }
}

void Form3::Form_Click() {
    ShowWarning();
}

void Form3::ShowWarning() {
    unload();
    const std::int16_t hideDesktop = program_.state.HideDesktop;
    if (hideDesktop == ReminderState::True)
        program_.form4.show();
    if (hideDesktop == ReminderState::False)
        program_.form1.show();
}
