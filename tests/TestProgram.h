#pragma once

#include "FakePlatform.h"
#include "Layout.h"
#include "TestData.h"
#include "app/Program.h"
#include "linux/LinuxFiles.h"
#include "settings/ClickLabel.h" // the forms' controls, for the tests to work them
#include "settings/KeyScrollBar.h"
#include "settings/WrapCheckBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

// A program folder of its own with data.ini and s.wav, a fake platform and the program.
struct TestProgram {
    QTemporaryDir dir;
    FakePlatform platform;
    LinuxFiles files;
    std::unique_ptr<Program> program;

    const QByteArray written; // the settings as the test wrote them, before the program ran

    explicit TestProgram(
        const QByteArray& ini = "[texts]\r\n1=A\r\n2=B\r\n[data]\r\n1=1\r\n2=0\r\n")
        : written(ini) {
        platform.folder = dir.path();
        writeIni(ini);
        writeAll(dir.filePath("s.wav"), {});
        program = std::make_unique<Program>(platform, files);
    }
    ~TestProgram() {
        program.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QString iniPath() const { return QDir(platform.folder).filePath("data.ini"); }
    void writeIni(const QByteArray& bytes) const { writeAll(iniPath(), bytes); }
    QByteArray ini() const { return readAll(iniPath()); }

    // The warning window the full-screen flag chooses.
    WarningForm& warning() {
        return program->state.HideDesktop == ReminderState::True
                   ? static_cast<WarningForm&>(program->form4)
                   : program->form1;
    }

    Program* operator->() { return program.get(); }

    // Runs a handler as the event loop would, through the guard, then lets the posted
    // events (repaints, deferred deletes) through as the loop would.
    template <typename F> void event(F handler) {
        runGuarded(platform, handler);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
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
        const int runs = platform.modalRuns;
        platform.duringModal = [&](QWidget&) { during(program->form2); };
        event([this] { warning().Command2_Click(); });
        platform.duringModal = nullptr;
        QVERIFY2(platform.modalRuns > runs, "the settings dialog did not open");
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
};
