#pragma once

#include "core/Shared.h"
#include "monitor/Form3.h"
#include "settings/Form2.h"
#include "warning/Form1.h"
#include "warning/Form4.h"

#include <memory>
#include <string_view>

class FileSystem;
class Files;
class Runtime;
class System;

// The whole program, its composition root: the state the forms share and the one object of
// each form, built by main or by a test with its own runtime, system and files. It alone
// knows all the forms, and carries what one form's events ask of another.
class Program {
  public:
    Program(Runtime& runtime, System& system, Files& files);

    // The whole run on a platform's parts, from the start to the end; returns the exit status.
    // A second Vestrel started from the same folder says so and ends.
    static int run(Runtime& runtime, System& system, FileSystem& fileSystem);

    // Loads the start-up form, the monitor, and from then on follows the session.
    void start();

    Runtime& runtime;
    System& system;
    Shared shared;
    Form3 form3; // the monitor: the black square that counts
    Form1 form1; // the standard warning window
    Form4 form4; // the full-screen warning
    Form2 form2; // the settings dialog

  private:
    // Reports a chime that could not be played: one report at a time, which a further
    // failure brings above all (the full-screen warning too) while the user has not read it.
    void reportSound(std::u16string_view reason);

    std::unique_ptr<Report> soundReport_;
};
