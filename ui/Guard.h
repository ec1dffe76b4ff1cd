#pragma once

#include <functional>

class Runtime;

// Runs one event handler: the single place where a run-time error that nothing handled is
// shown to the user, after which the program ends.
void runGuarded(Runtime& runtime, const std::function<void()>& handler);
