#pragma once

#include <functional>

// What a control or a window calls when the user (or the program) sets off one of its
// events: a form's handler, connected through Form::on(). Empty until connected.
using Event = std::function<void()>;
