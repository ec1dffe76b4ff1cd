#pragma once

#include <functional>

class Platform;

// Runs one event handler: the single place where a run-time error that nothing handled is
// shown to the user, after which the program ends.
void runGuarded(Platform& platform, const std::function<void()>& handler);
