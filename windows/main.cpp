#include "app/Program.h"
#include "core/Files.h"
#include "core/Messages.h"
#include "windows/WinFileSystem.h"
#include "windows/WinRuntime.h"
#include "windows/WinSystem.h"

// The program takes no command line.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WinRuntime runtime(instance);
    WinSystem system(runtime);
    if (!system.claimProgramFolder()) {
        runtime.messageBox(Messages::AlreadyRunning, MessageBoxStyle::OkInformation, u"Vestrel");
        return 0;
    }
    WinFileSystem fileSystem;
    Files files(fileSystem);
    Program program(runtime, system, files);
    program.start();
    return runtime.run();
}
