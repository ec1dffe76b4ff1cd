#include "app/Program.h"

#include "ui/Platform.h"

Program::Program(Platform& p, Files& f)
    : platform(p), files(f), presence(p), form3(*this, p), form1(*this, p), form4(*this, p),
      form2(*this, p) {
    Q_INIT_RESOURCE(resources); // the pictures: in a static library, linked only when named
}

void Program::start() {
    const std::function<void()> loadTheMonitor = form3.guarded(&Form3::show);
    loadTheMonitor();
    platform.watchSession(form3.guarded(&Form3::followPresence));
}
