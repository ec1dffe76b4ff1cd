#pragma once

#include "core/Presence.h"
#include "core/ReminderState.h"

class Files;
class System;

// What the forms share for the whole run: the reminder's values, whether the user sits at the
// computer, and the settings file they are read from and saved to.
struct Shared {
    Shared(System& system, Files& settingsFile) : files(settingsFile), presence(system) {}

    Files& files;
    ReminderState state;
    Presence presence;
};
