#pragma once

#include "ui/Form.h"

#include <string>

class Label;
class Timer;

// The monitor: an 8 x 8 black square in the top-left corner of the screen. It checks the
// program's files, reads the settings and counts ten-second ticks; when the count reaches
// the interval, or the user clicks it, it gives way to the warning window.
class Form3 : public Form {
  public:
    static constexpr int TickMilliseconds = 10000;

    using Form::Form;

    // Ten-second ticks since the last "OK" in a warning window.
    float UnCas = 0.0f;
    // Which required file the start-up check missed: "ini" or "wav".
    std::u16string MissingFile;
    // The count reached the interval while the user was away or busy.
    bool warningWaits = false;

    void Form_Load() override; // checks the files, reads the settings
    void Timer1_Timer();       // one tick: the warning when the count reaches the interval
    void Form_Click();         // a click on the square: the warning at once
    // Follows the user's comings and goings while the square counts: a break starts the
    // count again; a warning that fell due while the user was away or busy comes when they
    // are back and free.
    void followPresence();
    // "OK" in a warning: the count starts again from nothing and the square comes back.
    void countAgain();

    Event StandardWarningDue;   // the warning is to be shown: the standard window
    Event FullScreenWarningDue; // or the full-screen one

    Label* Label1 = nullptr; // scratch for the settings reads; never seen
    Timer* Timer1 = nullptr; // the ten-second tick

  protected:
    std::unique_ptr<Window> createWindow() override;
    void beforeUnload() override;

  private:
    void ReportMissingFile(); // says which file is missing and ends
    void ShowWarning();       // gives way to the warning the flag chooses
};
