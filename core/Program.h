#pragma once

#include "core/Form3.h"
#include "core/ReminderState.h"
#include "settings/Form2.h"
#include "warning/Form1.h"
#include "warning/Form4.h"

#include <QString>

#include <functional>

class Platform;

// The whole program: the shared reminder state and the one object of each form. Built
// by main, or by a test with its own platform.
class Program {
  public:
    // The maker's web page: named in the missing-file message and opened by the settings
    // dialog's link.
    static inline const QString MakerAddress = QStringLiteral("https://vestrel.example.org/");

    explicit Program(Platform& platform);
    ~Program();

    // Loads the start-up form, the monitor.
    void start();
    // Runs one event handler. A run-time error that nothing handled is reported to the user
    // and ends the program.
    void run(const std::function<void()>& handler);

    Platform& platform;
    ReminderState state;
    Form3 form3;
    Form1 form1;
    Form4 form4;
    Form2 form2;
};
