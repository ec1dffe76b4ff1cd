#include "app/Program.h"

#include "core/System.h"

Program::Program(Runtime& r, System& s, Files& f)
    : runtime(r), system(s), files(f), presence(s), form3(*this, r, s), form1(*this, r, s),
      form4(*this, r, s), form2(*this, r, s) {}

void Program::start() {
    const Event loadTheMonitor = form3.guarded(&Form3::show);
    loadTheMonitor();
    system.watchSession(form3.guarded(&Form3::followPresence, Form::Kind::News));
}
