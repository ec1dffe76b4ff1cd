#include "app/Program.h"
#include "windows/WinFileSystem.h"
#include "windows/WinRuntime.h"
#include "windows/WinSystem.h"

// The program takes no command line.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WinRuntime runtime(instance);
    WinSystem system(runtime);
    WinFileSystem fileSystem;
    return Program::run(runtime, system, fileSystem);
}
