#pragma once

#include "Check.h"
#include "FakeRuntime.h"
#include "FakeSystem.h"
#include "PlatformFiles.h"
#include "app/Program.h"
#include "core/Files.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>

// A program folder of its own with data.ini and s.wav, a fake runtime and system, the
// platform's own files, and the program.
template <typename TheRuntime = FakeRuntime> struct TestProgram {
    std::filesystem::path dir;
    TheRuntime runtime;
    FakeSystem system;
    PlatformFileSystem fileSystem;
    Files files{fileSystem};
    std::unique_ptr<Program> program;

    const std::string written; // the settings as the test wrote them, before the program ran

    explicit TestProgram(std::string ini = "[texts]\r\n1=A\r\n2=B\r\n[data]\r\n1=1\r\n2=0\r\n")
        : dir(std::filesystem::temp_directory_path() /
              ("vestrel-test-" + std::to_string(std::random_device()()))),
          written(std::move(ini)) {
        std::filesystem::create_directory(dir);
        system.folder = dir.u16string();
        writeIni(written);
        write("s.wav", {});
        program = std::make_unique<Program>(runtime, system, files);
    }
    ~TestProgram() {
        program.reset();
        settle();
        std::error_code ignored;
        std::filesystem::permissions(dir / "data.ini", std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(dir, ignored);
    }

    // A file of the folder, named as the program names it.
    std::u16string path(const char* name) const {
        return system.folder + u"/" + std::u16string(name, name + std::strlen(name));
    }
    std::u16string iniPath() const { return path("data.ini"); }
    void write(const char* name, const std::string& bytes) const {
        std::ofstream(dir / name, std::ios::binary | std::ios::trunc) << bytes;
    }
    void writeIni(const std::string& bytes) const { write("data.ini", bytes); }
    std::string ini() const {
        std::ifstream in(dir / "data.ini", std::ios::binary);
        return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
    }

    // The warning window the full-screen flag chooses.
    WarningForm& warning() {
        return program->shared.state.HideDesktop == ReminderState::True
                   ? static_cast<WarningForm&>(program->form4)
                   : program->form1;
    }

    Program* operator->() { return program.get(); }

    // Runs a handler as the event loop would, through the guard, then lets the windows let
    // go of go, as the loop would.
    template <typename F> void event(F handler) {
        runGuarded(runtime, handler);
        settle();
    }
    void settle();
    // Starts the program and clicks the monitor: up comes the warning the flag selects.
    void showWarning() {
        program->start();
        event([this] { program->form3.Form_Click(); });
    }
    // Opens the settings dialog from the warning, brought up first if none is; `during` acts
    // while the dialog is modal.
    void inDialog(const std::function<void(Form2&)>& during) {
        if (!warning().isLoaded())
            showWarning();
        const int runs = modalRuns();
        setDuringModal([&] { during(program->form2); });
        event([this] { warning().Command2_Click(); });
        setDuringModal(nullptr);
        CHECK(modalRuns() > runs); // the settings dialog opened
    }
    // Ticks until the monitor gives way to a warning; returns the number of ticks, or -1.
    int ticksToWarning(int limit) {
        for (int i = 1; i <= limit; ++i) {
            event([this] { program->form3.Timer1_Timer(); });
            if (!program->form3.isLoaded())
                return i;
        }
        return -1;
    }

    int modalRuns();
    void setDuringModal(std::function<void()> during);
};

template <> inline void TestProgram<FakeRuntime>::settle() {
    runtime.settle();
}
template <> inline int TestProgram<FakeRuntime>::modalRuns() {
    return runtime.modalRuns;
}
template <> inline void TestProgram<FakeRuntime>::setDuringModal(std::function<void()> during) {
    runtime.duringModal = during ? [during](Window&) { during(); } : std::function<void(Window&)>();
}

// What the forms' controls are on the fake runtime, for the tests to read them.
inline FakeWindow& fake(Window* w) {
    return *static_cast<FakeWindow*>(w);
}
template <typename T> auto& fake(T* control) {
    if constexpr (std::is_same_v<T, Label>)
        return *static_cast<FakeLabel*>(control);
    else if constexpr (std::is_same_v<T, CommandButton>)
        return *static_cast<FakeButton*>(control);
    else if constexpr (std::is_same_v<T, TextBox>)
        return *static_cast<FakeTextBox*>(control);
    else if constexpr (std::is_same_v<T, CheckBox>)
        return *static_cast<FakeCheckBox*>(control);
    else if constexpr (std::is_same_v<T, HScrollBar>)
        return *static_cast<FakeScrollBar*>(control);
    else if constexpr (std::is_same_v<T, Line>)
        return *static_cast<FakeLine*>(control);
    else if constexpr (std::is_same_v<T, Timer>)
        return *static_cast<FakeTimer*>(control);
    else
        return *static_cast<FakeControl<T>*>(control);
}
