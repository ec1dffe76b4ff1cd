#include "ui/Guard.h"

#include "core/RuntimeError.h"
#include "ui/Runtime.h"

void runGuarded(Runtime& runtime, const std::function<void()>& handler) {
    try {
        try {
            handler();
        } catch (const RuntimeError& error) {
            runtime.messageBox(error.userMessage(), MessageBoxStyle::OkCritical, u"Vestrel");
            runtime.end(1);
        }
    } catch (const Runtime::Ended&) {
        // The runtime could not end the process itself; nothing more runs here.
    }
}
