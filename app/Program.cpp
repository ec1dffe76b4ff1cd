#include "app/Program.h"

#include "core/RuntimeError.h"
#include "platform/Platform.h"

// The pictures live in the library, which the linker would otherwise leave out.
static void initResources() {
    Q_INIT_RESOURCE(resources);
}

Program::Program(Platform& p)
    : platform(p), form3(*this, p), form1(*this, p), form4(*this, p), form2(*this, p) {
    initResources();
}

Program::~Program() = default;

void Program::start() {
    runGuarded(platform, [this] { form3.show(); });
}
