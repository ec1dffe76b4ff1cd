// The two warning windows: layout, focus, sound, message and their three buttons.
#include "Geometry.h"
#include "TestProgram.h"
#include "chime/ChimeReply.h"

using T = TestProgram<>;

namespace {

// The two warnings, by the full-screen flag.
struct Flag {
    const char* name;
    std::string flag;
};
const std::vector<Flag> Warnings{{"Form1", "0"}, {"Form4", "1"}};

} // namespace

TEST(layout) {
    struct Row {
        const char* name;
        std::string flag;
        TwipsRect window;
        int offset;
    };
    const std::vector<Row> table{{"Form1", "0", Geometry::Form1, 0},
                                 {"Form4", "1", {0, 0, 12000, 12000}, Geometry::Form4Offset}};
    Check::rows<Row>(table, [](const Row& row) {
        T t("[data]\r\n1=60\r\n2=" + row.flag + "\r\n");
        t.showWarning();
        WarningForm& f = t.warning();
        FakeWindow& w = fake(f.window());
        CHECK_EQ(w.shown, FakeWindow::Shown::AsWarning);
        CHECK_EQ(w.box, row.window);
        for (const auto& [control, box] : Geometry::warning(f, row.offset))
            CHECK_EQ(control->geometry(), box);
        CHECK_EQ((std::vector<std::u16string>{f.Command1->caption(), f.Command2->caption(),
                                              f.Command3->caption()}),
                 (std::vector<std::u16string>{u"OK", u"Nastavení", u"Ukončit !"}));
        CHECK(fake(f.Label1).wordWrap);
        CHECK_EQ(fake(f.Image1).name, u"Výstraha"); // what a screen reader says of it
        for (CommandButton* b : {f.Command1, f.Command2, f.Command3}) {
            // No default button: Enter acts on the focused button only; no Escape either.
            CHECK(!b->isDefault() && !b->isCancel());
            CHECK(fake(b).tip.empty());
        }
        CHECK(w.style.onTop && !w.style.takesKeyboard);
        CHECK_EQ(w.style.titleBar, row.flag == "0");
        CHECK_EQ(w.style.fullScreen, row.flag == "1");
        CHECK_EQ(w.title, row.flag == "0" ? u"Varování!" : u"Form4");
    });
}

TEST(focusAndTabOrder) {
    Check::rows<Flag>(Warnings, [](const Flag& row) {
        T t("[data]\r\n1=60\r\n2=" + row.flag + "\r\n");
        t.showWarning();
        WarningForm& f = t.warning();
        const std::vector<Control*> expected =
            row.flag == "1" ? std::vector<Control*>{f.Command3, f.Command2, f.Command1}
                            : std::vector<Control*>{f.Command1, f.Command2, f.Command3};
        CHECK_EQ(fake(f.window()).focus, expected.front());
        CHECK_EQ(fake(f.window()).tabOrder, expected);
    });
}

TEST(loadPlaysProgramFolderSoundAndComposes) {
    T t("[texts]\r\n1=Sedíte\r\n2=Vstaňte.\r\n[data]\r\n1=45\r\n");
    t.showWarning();
    CHECK_EQ(t.system.sounds, std::vector<std::u16string>{t.path("s.wav")});
    CHECK_EQ(t->form1.Label1->caption(), u"Sedíte 45 minut. Vstaňte.");
}

TEST(unplayableChimeIsReportedOneReportAtATime) {
    T t;
    t.showWarning();
    t.system.soundFailed(u"Zvukový server neodpovídá.");
    CHECK_EQ(t.runtime.reports.size(), 1u);
    CHECK_EQ(t.runtime.reports[0]->box, (FakeRuntime::Box{u"Zvuk varování nelze přehrát.\n"
                                                          u"Zvukový server neodpovídá.",
                                                          MessageBoxStyle::OkCritical, u"Zvuk"}));
    t.event([&] { t->form1.Command1_Click(); }); // the report stays, the warning comes again
    t.showWarning();
    t.system.soundFailed(u"Zvukový server neodpovídá.");
    CHECK_EQ(t.runtime.reports.size(), 1u); // read or not, one is enough: above all again
    CHECK_EQ(t.runtime.reports[0]->raised, 1);
    t.runtime.reports[0]->open = false; // the user closes it
    // Low on the screen, clear of the warning in the middle; a tall one still below the top.
    CHECK_EQ(Report::place({0, 0, 15360, 11520}, 7500, 1500), (TwipsRect{3930, 8580, 7500, 1500}));
    CHECK_EQ(Report::place({-50, 30, 15360, 11520}, 7500, 11000).top, 30);
    t.system.soundFailed(u"Počítač nemá žádný zvukový výstup.");
    CHECK_EQ(t.runtime.reports.size(), 2u);
}

TEST(chimeHelpersWordsAndEndBecomeOneReason) {
    struct Row {
        std::vector<std::string> output; // as it comes, in parts
        int status;
        bool crashed;
        std::u16string reason;
    };
    const std::u16string helper = u"Zvukový program (/opt/v/vestrel_chime) ";
    const std::u16string babble = u"posílá nesrozumitelnou odpověď, byl ukončen.";
    const std::vector<Row> rows{
        {{"started\n"}, 0, false, u""},
        {{"star", "ted"}, 0, false, u""},                  // a last line without its line end
        {{"started\nsound server gone\n"}, 0, false, u""}, // played all the same
        {{"started\n Přehrávání přerušeno. \n"}, 1, false, u"Přehrávání přerušeno."},
        {{"Nelze číst /proc/7/fd/3/s.wav.\n"}, 1, false, u"Nelze číst /home/s.wav."}, // as known
        {{}, 0, false, helper + u"skončil, aniž zvuk přehrál."},
        {{"\n\n"}, 3, false, helper + u"skončil s chybou 3."},
        {{"started\n"}, 9, true, helper + u"skončil nečekaně (signál 9)."},
        {{std::string(ChimeReply::MaxOutputBytes, '-'), "-"}, 0, false, helper + babble},
    };
    for (const Row& row : rows) {
        ChimeReply reply(u"/opt/v/vestrel_chime", u"/proc/7/fd/3/s.wav", u"/home/s.wav");
        std::u16string reason;
        for (const std::string& part : row.output)
            if (reason.empty())
                reason = reply.take(part);
        CHECK_EQ(reason.empty() ? reply.ended(row.status, row.crashed) : reason, row.reason);
    }
    const ChimeReply reply(u"/opt/v/vestrel_chime", u"s.wav", u"s.wav");
    CHECK_EQ(reply.notStarted(false), helper + u"chybí.");
    CHECK_EQ(reply.notStarted(true), helper + u"nelze spustit.");
}

TEST(okRestartsTheCount) {
    T t; // interval 1
    t->start();
    CHECK_EQ(t.ticksToWarning(10), 6);
    t.event([&] { t->form1.Command1_Click(); });
    CHECK(t->form3.isLoaded());
    CHECK_EQ(t->form3.window()->geometry(), (TwipsRect{0, 0, 120, 120}));
    CHECK_EQ(t.ticksToWarning(10), 6);
    CHECK_EQ(t.system.sounds.size(), 2u);
}

TEST(quitEndsWithoutWriting) {
    T t;
    t.showWarning();
    t.event([&] { t->form1.Command3_Click(); });
    CHECK(t.runtime.ended);
    CHECK_EQ(t.runtime.endStatus, 0);
    CHECK_EQ(t.ini(), t.written);
}

TEST(keysOnOpeningFocus) {
    struct Row {
        const char* name;
        std::string flag;
        FakeWindow::Key key;
        bool ends;
    };
    using K = FakeWindow::Key;
    const std::vector<Row> table{{"Form1 Enter restarts", "0", K::Enter, false},
                                 {"Form1 Space restarts", "0", K::Space, false},
                                 {"Form4 Enter ends", "1", K::Enter, true},
                                 {"Form4 Space ends", "1", K::Space, true},
                                 {"Form1 Escape does nothing", "0", K::Escape, false},
                                 {"Form4 Escape does nothing", "1", K::Escape, false}};
    Check::rows<Row>(table, [](const Row& row) {
        T t("[data]\r\n1=60\r\n2=" + row.flag + "\r\n");
        t.showWarning();
        WarningForm& f = t.warning();
        t.event([&] { fake(f.window()).press(row.key); });
        CHECK_EQ(t.runtime.ended, row.ends);
        const bool restarts = !row.ends && row.key != K::Escape;
        CHECK_EQ(t->form3.isLoaded(), restarts);
        CHECK_EQ(f.isLoaded(), !restarts);
    });
}

TEST(closeRequestIsIgnored) {
    Check::rows<Flag>(Warnings, [](const Flag& row) {
        T t("[data]\r\n1=60\r\n2=" + row.flag + "\r\n");
        t.showWarning();
        WarningForm& f = t.warning();
        CHECK(!f.window()->QueryUnload); // Alt+F4 reaches no handler
        CHECK(f.isLoaded());
        // Under the modal dialog it takes nothing, whoever sends it; after it, all again.
        t.inDialog([&](Form2& d) {
            f.Command2->Click();
            f.Command1->Click();
            f.Command3->Click();
            CHECK(t.runtime.modalRuns == 1 && !t.runtime.ended && !t->form3.isLoaded());
            d.Saved = ReminderState::True;
            d.Command2_Click();
        });
        // What the toolkit reports of it once "OK" let it go reaches no handler: "Ukončit !"
        // pressed in the same turn of the event loop ends nothing.
        CommandButton* quit = f.Command3;
        t.event([&] {
            f.Command1->userPressed();
            quit->userPressed();
        });
        CHECK(t->form3.isLoaded() && !t.runtime.ended);
    });
}

TEST(clickIntoItGivesTheKeyboard) {
    Check::rows<Flag>(Warnings, [](const Flag& row) {
        T t("[data]\r\n1=60\r\n2=" + row.flag + "\r\n");
        t.showWarning();
        Window* w = t.warning().window();
        CHECK(t.runtime.keyboardGivenTo.empty());
        t.event([&] { w->MouseDown(); });
        CHECK_EQ(t.runtime.keyboardGivenTo, std::vector<Window*>{w});
    });
}

TEST(alreadyLoadedIsOnlyShown) {
    T t;
    t->start();
    t->form1.load();
    t->form1.Label1->setCaption(u"stale");
    t.event([&] { t->form3.Form_Click(); });
    CHECK(t->form1.window()->isVisible());
    CHECK_EQ(t->form1.Label1->caption(), u"stale");
    CHECK_EQ(t.system.sounds.size(), 1u); // from the explicit load only
}

TEST(markupShownLiterally) {
    T t("[texts]\r\n1=<b>x</b>\r\n2=<img src=a.png>\r\n[data]\r\n1=1\r\n");
    t.showWarning();
    CHECK_EQ(t->form1.Label1->caption(), u"<b>x</b> 1 minut. <img src=a.png>");
}

TEST(fullScreenIsBlackWithWhiteText) {
    T t("[data]\r\n1=1\r\n2=1\r\n");
    t.runtime.screen = {0, 0, 19200, 16200};
    t.showWarning();
    CHECK_EQ(t->form4.window()->geometry(), t.runtime.screen);
    CHECK_EQ(fake(t->form4.window()).back, Colour::Black);
    CHECK_EQ(fake(t->form4.Label1).fore, Colour::White);
}

TEST(otherScreensCovered) {
    // Every other screen under a black window of its own while the full-screen warning is
    // up, following the screens as they come and go.
    T t("[data]\r\n1=1\r\n2=1\r\n");
    t.runtime.others = {{19200, 0, 12000, 9000}};
    t.showWarning();
    const auto covers = [&] {
        std::vector<TwipsRect> shown;
        for (FakeWindow* w : t.runtime.windows)
            if (w->title == u"Zakrytá obrazovka" && w->shown == FakeWindow::Shown::AsWarning &&
                w->back == Colour::Black && w->style.fullScreen && !w->style.takesKeyboard)
                shown.push_back(w->box);
        return shown;
    };
    CHECK_EQ(covers(), t.runtime.others);
    t.runtime.others = {{-12000, 0, 12000, 9000}, {19200, 0, 9000, 12000}};
    t.event([&] { t->form4.window()->ScreensChanged(); });
    CHECK_EQ(covers(), t.runtime.others);
    t.inDialog([&](Form2& d) { // a change while the dialog is open, followed once it is closed
        t.runtime.others.pop_back();
        t->form4.window()->ScreensChanged();
        d.Saved = ReminderState::True;
        d.Command2_Click();
    });
    t.settle();
    CHECK_EQ(covers(), t.runtime.others);
    t.event([&] { t->form4.Command1_Click(); });
    CHECK(covers().empty());
}

CHECK_MAIN
