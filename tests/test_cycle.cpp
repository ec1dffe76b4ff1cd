// The monitor window and the reminder cycle, driven through its handlers.
#include "TestProgram.h"
#include "core/Messages.h"

#include <map>

using T = TestProgram<>;

TEST(monitorWindow) {
    T t;
    t->start();
    Form3& f = t->form3;
    CHECK(f.isLoaded());
    FakeWindow& w = fake(f.window());
    CHECK_EQ(w.shown, FakeWindow::Shown::Plainly);
    CHECK_EQ(w.box, (TwipsRect{0, 0, 120, 120}));
    CHECK(!w.style.titleBar && !w.style.takesKeyboard); // no border, leaves the keyboard be
    CHECK_EQ(w.back, Colour::Black);
    CHECK_EQ(w.title, u"Form3");
    CHECK_EQ(fake(f.Timer1).milliseconds, 10000);
    CHECK(f.Timer1->isEnabled());
    CHECK(!f.Label1->isVisible());
    CHECK_EQ(f.Label1->caption(), u"1");
    CHECK(t.runtime.boxes.empty());
    CHECK_EQ(t->shared.state.IniPath, t.iniPath());
    // A tick the toolkit reports once the square has been let go reaches nothing.
    int heard = 0;
    f.Timer1->Tick = [&] { ++heard; };
    f.Timer1->ticked();
    t.event([&] {
        f.unload();
        f.Timer1->ticked();
    });
    CHECK_EQ(heard, 1);
}

TEST(secondInstanceSaysSoAndEnds) {
    T t;
    t.system.alone = false; // another Vestrel runs from the folder
    CHECK_EQ(Program::run(t.runtime, t.system, t.fileSystem), 0);
    CHECK_EQ(t.runtime.boxes,
             (std::vector<FakeRuntime::Box>{{std::u16string(Messages::AlreadyRunning),
                                             MessageBoxStyle::OkInformation, u"Vestrel"}}));
    CHECK(t.runtime.windows.empty());
    CHECK_EQ(t.ini(), t.written);
}

TEST(missingFiles) {
    struct Row {
        const char* name;
        const char* missing;
        std::u16string firstLine;
    };
    const std::vector<Row> table{
        {"data.ini", "data.ini", u"Nebyl nalezen soubor data.ini, program bude ukončen."},
        {"s.wav", "s.wav", u"Nebyl nalezen soubor s.wav, program bude ukončen."}};
    Check::rows<Row>(table, [](const Row& row) {
        T t;
        std::filesystem::remove(t.dir / row.missing);
        t->start();
        CHECK(t.runtime.ended);
        const std::u16string text = row.firstLine +
                                    u"\r\nTento program (a mnoho dalších) lze stáhnou na " +
                                    std::u16string(Messages::MakerAddress);
        CHECK_EQ(t.runtime.boxes,
                 (std::vector<FakeRuntime::Box>{{text, MessageBoxStyle::OkCritical, u"CHYBA"}}));
        CHECK_EQ(t->shared.state.IniPath, u""); // nothing read, nothing written
        CHECK(t.system.sounds.empty());
    });
}

TEST(ticksToWarning) {
    struct Row {
        const char* name;
        std::string interval;
        bool czech;
        int ticks;
    };
    const std::vector<Row> table{
        {"1 minute", "1", false, 6},
        {"2.5 minutes", "2.5", false, 15},
        {"2,5 under Czech", "2,5", true, 15},
        {"60 minutes", "60", false, 360},
        {"2.55 never: 15.3 ticks", "2.55", false, -1},
        {"0 never", "0", false, -1},
        {"negative never", "-1", false, -1},
        {"one tick: six of .16666667 make exactly 1", ".16666667", false, 1},
        {"0.16666667 is read as 0.1666666: never", "0.16666667", false, -1}};
    Check::rows<Row>(table, [](const Row& row) {
        T t("[data]\r\n1=" + row.interval + "\r\n");
        if (row.czech)
            t.system.format = {u",", u"\u00a0"};
        t->start();
        CHECK_EQ(t.ticksToWarning(400), row.ticks);
        // The warning and the monitor are never loaded together.
        CHECK(!(t->form1.isLoaded() && t->form3.isLoaded()));
    });
}

TEST(clickShowsWarningAndOkRestarts) {
    T t("[data]\r\n1=60\r\n");
    t->start();
    for (int i = 0; i < 100; ++i)
        t.event([&] { t->form3.Timer1_Timer(); });
    t.event([&] { t->form3.window()->Click(); });
    CHECK(!t->form3.isLoaded());
    CHECK(t->form1.isLoaded());
    CHECK_EQ(t->form3.UnCas, 100.0f);
    t.event([&] { t->form1.Command1->Click(); });
    CHECK_EQ(t->form3.UnCas, 0.0f);
    CHECK(t->form3.isLoaded());
    CHECK(!t->form1.isLoaded());
    CHECK_EQ(t.ticksToWarning(400), 360);
}

TEST(flagChoosesWindow) {
    T t("[data]\r\n1=1\r\n2=1\r\n");
    t->start();
    CHECK_EQ(t.ticksToWarning(10), 6);
    CHECK(t->form4.isLoaded());
    CHECK(!t->form1.isLoaded());
    // A flag the program does not know keeps the last one: still full screen.
    t.writeIni("[data]\r\n1=1\r\n2=7\r\n");
    t.event([&] { t->form4.Command1_Click(); });
    CHECK_EQ(t.ticksToWarning(10), 6);
    CHECK(t->form4.isLoaded());
    t.writeIni("[data]\r\n1=1\r\n2=0\r\n");
    t.event([&] { t->form4.Command1_Click(); });
    CHECK_EQ(t.ticksToWarning(10), 6);
    CHECK(t->form1.isLoaded());
    CHECK(!t->form4.isLoaded());
}

TEST(editedFileIsPickedUpNextCycle) {
    T t("[texts]\r\n1=Old\r\n2=x\r\n[data]\r\n1=1\r\n");
    t->start();
    t.writeIni("[texts]\r\n1=New\r\n2=y\r\n[data]\r\n1=2\r\n");
    CHECK_EQ(t.ticksToWarning(20), 6); // this cycle still counts with what it read
    CHECK_EQ(t->form1.Label1->caption(), u"Old 1 minut. x");
    t.event([&] { t->form1.Command1_Click(); });
    CHECK_EQ(t.ticksToWarning(20), 12);
    CHECK_EQ(t->form1.Label1->caption(), u"New 2 minut. y");
}

TEST(missingSoundAtRestartEnds) {
    T t;
    t.showWarning();
    std::filesystem::remove(t.dir / "s.wav");
    t.event([&] { t->form1.Command1_Click(); });
    CHECK(t.runtime.ended);
    CHECK_EQ(t.runtime.boxes.size(), 1u);
    CHECK(t.runtime.boxes[0].text.starts_with(u"Nebyl nalezen soubor s.wav"));
}

TEST(badSettingEndsWithClearMessage) {
    T t("[data]\r\n1=60 minut\r\n");
    t->start();
    CHECK(t.runtime.ended);
    CHECK_EQ(t.runtime.endStatus, 1);
    CHECK_EQ(t.runtime.boxes.size(), 1u);
    const std::u16string& text = t.runtime.boxes[0].text;
    for (const std::u16string& part : {std::u16string(u"13"), std::u16string(u"„60 minut“"),
                                       t.files.shownPath(t.iniPath()), std::u16string(u"[data]")})
        CHECK(text.find(part) != std::u16string::npos);
    CHECK_EQ(t.ini(), t.written);
}

TEST(timeAwayIsABreak) {
    // data: keys 3 and 4 after an interval of 1 minute; seen: the events up to the warning,
    // marked "!". t: a tick; s, S: the machine sleeps 30 s, 2 min; L, U: the session locked,
    // unlocked; k: a key pressed (with 4=1, no input for the break is time away); B, b: the
    // user starts and stops presenting; c: a click on the square.
    struct Row {
        const char* name;
        std::string data;
        std::string events;
        std::string seen;
    };
    // clang-format off
    const std::vector<Row> table{
        {"sleep shorter than the break: the count goes on", "3=1", "ttttstt", "ttttstt!"},
        {"sleep of a break: the count starts again", "3=1", "ttttStttttt", "ttttStttttt!"},
        {"a warning due while locked waits for the unlock", "3=1", "tttLtttU", "tttLtttU!"},
        {"a lock of a break: no warning, the count starts again", "3=1", "tttLttttttttUtttttt", "tttLttttttttUtttttt!"},
        {"no input for a break, when asked: the count starts again", "3=1\r\n4=1", "kttttttttktttkttt", "kttttttttktttkttt!"},
        {"no input, when not asked: still sitting", "3=1", "ktttttt", "ktttttt!"},
        {"a lock heard on waking from a sleep of a break: the count starts again", "3=1", "tttSLUtttttt", "tttSLUtttttt!"},
        {"no break length: machine time as before", "3=0", "ttttStLtU", "ttttStLt!"},
        {"a warning due while presenting waits for the end, the count going on", "3=1", "tBtttttttttbtt", "tBtttttttttbt!"},
        {"away wins over busy: a lock of a break starts the count again", "3=1", "tBLttttttttUbtttttt", "tBLttttttttUbtttttt!"},
        {"back soon, still presenting: the warning waits for the end", "3=5", "tttBLtttUttbtt", "tttBLtttUttbt!"},
        {"a click while presenting: at once", "3=1", "tBct", "tBc!"},
        {"key 5 off: warns regardless", "3=1\r\n5=0", "tBttttt", "tBttttt!"},
        // clang-format on
    };
    Check::rows<Row>(table, [](const Row& row) {
        T t("[data]\r\n1=1\r\n2=0\r\n" + row.data + "\r\n");
        FakeSystem& s = t.system;
        t->start();
        std::int64_t lastInput = -1;
        std::string log;
        const std::map<char, std::int64_t> seconds{{'t', 10}, {'s', 30}, {'S', 120}};
        for (const char event : row.events) {
            const std::int64_t passed = seconds.contains(event) ? seconds.at(event) * 1000000 : 0;
            s.clock += passed;
            if (event == 's' || event == 'S')
                s.slept += passed;
            if (event == 'k')
                lastInput = s.clock;
            s.idle = lastInput < 0 ? -1 : s.clock - lastInput;
            if (event == 'B' || event == 'b')
                s.busy = event == 'B';
            if (event == 'c')
                t.event([&] { t->form3.Form_Click(); });
            if (event == 'L' || event == 'U') {
                s.locked = event == 'L';
                t.event(s.sessionChanged);
            }
            if (event == 't')
                t.event([&] { t->form3.Timer1_Timer(); });
            log += event;
            if (!t->form3.isLoaded())
                break;
        }
        CHECK_EQ(t->form3.isLoaded() ? log : log + '!', row.seen);
    });
}

CHECK_MAIN
