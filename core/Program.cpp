#include "core/Program.h"

#include "core/RuntimeError.h"
#include "platform/Platform.h"

// The pictures live in the library, which the linker would otherwise leave out.
static void initResources() {
    Q_INIT_RESOURCE(resources);
}

Program::Program(Platform& p)
    : platform(p), form3(*this), form1(*this), form4(*this), form2(*this) {
    initResources();
}

Program::~Program() = default;

void Program::start() {
    run([this] { form3.show(); });
}

void Program::run(const std::function<void()>& handler) {
    try {
        try {
            handler();
        } catch (const RuntimeError& error) {
            platform.messageBox(error.userMessage(), Platform::MbOkCritical,
                                QStringLiteral("Vestrel"));
            platform.end(1);
        }
    } catch (const Platform::Ended&) {
        // The platform could not end the process itself; nothing more runs here.
    }
}
