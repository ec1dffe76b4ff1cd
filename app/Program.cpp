#include "app/Program.h"

#include "core/Files.h"
#include "core/Messages.h"
#include "core/System.h"
#include "ui/Label.h"

Program::Program(Runtime& r, System& s, Files& files)
    : runtime(r), system(s), shared(s, files), form3(shared, r, s), form1(shared, r, s),
      form4(shared, r, s), form2(shared, r, s) {
    form3.StandardWarningDue = [this] { form1.show(); };
    form3.FullScreenWarningDue = [this] { form4.show(); };
    for (WarningForm* warning :
         {static_cast<WarningForm*>(&form1), static_cast<WarningForm*>(&form4)}) {
        warning->CountAgain = [this] { form3.countAgain(); };
        warning->ShowSettings = [this] { form2.show(); };
        warning->SoundFailed = [this](std::u16string_view reason) { reportSound(reason); };
    }
    // The standard warning behind the dialog follows the edits; it is never loaded for this,
    // which would play the sound and leave a stale window for a later cycle.
    form2.WarningComposed = [this](const std::u16string& warning) {
        if (form1.isLoaded())
            form1.Label1->setCaption(warning);
    };
}

void Program::reportSound(std::u16string_view reason) {
    if (soundReport_ && soundReport_->isOpen())
        return soundReport_->raise();
    soundReport_ = runtime.report(std::u16string(Messages::SoundFailed) + std::u16string(reason),
                                  Messages::SoundFailedTitle);
}

int Program::run(Runtime& runtime, System& system, FileSystem& fileSystem) {
    if (!system.claimProgramFolder()) {
        runtime.messageBox(Messages::AlreadyRunning, MessageBoxStyle::OkInformation, u"Vestrel");
        return 0;
    }
    Files files(fileSystem);
    Program program(runtime, system, files);
    program.start();
    return runtime.run();
}

void Program::start() {
    const Event loadTheMonitor = form3.guarded(&Form3::show);
    loadTheMonitor();
    system.watchSession(form3.guarded(&Form3::followPresence, Form::Kind::News));
}
