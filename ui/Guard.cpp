#include "ui/Guard.h"

#include "core/RuntimeError.h"
#include "ui/Platform.h"

void runGuarded(Platform& platform, const std::function<void()>& handler) {
    try {
        try {
            handler();
        } catch (const RuntimeError& error) {
            platform.messageBox(error.userMessage(), MessageBoxStyle::OkCritical, u"Vestrel");
            platform.end(1);
        }
    } catch (const Platform::Ended&) {
        // The platform could not end the process itself; nothing more runs here.
    }
}
