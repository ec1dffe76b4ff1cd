// The settings dialog: live editing, saving, the prompt, the about panel and its layout.
#include "Geometry.h"
#include "TestProgram.h"
#include "core/Messages.h"
#include "core/Text.h"

using T = TestProgram<>;

namespace {

std::u16string summary(int minutes) {
    return u"Zobrazit výstražné okno jednou za " + Text::integer(minutes) + u" minut.";
}
const std::u16string Prompt = u"Pokud chcete provedené zněny uložit klikněte na tlačítko ANO, "
                              u"pokud si přejete okno zavřít bez uložení klikněte na NE";
const std::u16string Default1(Messages::DefaultText1);
const std::u16string Default2(Messages::DefaultText2);
const std::string DefaultTexts = "[texts]\r\n1=U po\xe8\xedta\xe8"
                                 "e u\x9e sed\xedte d\xe9le jak\r\n"
                                 "2=Doporu\xe8uji pr\xe1\x63i odlo\x9eit a prot\xe1hnout se.\r\n";

// Closes the dialog as "Zavřít" does after a save: without the prompt.
void leave(Form2& d) {
    d.Saved = ReminderState::True;
    d.Command2_Click();
}

} // namespace

TEST(loadShowsStoredValues) {
    T t("[texts]\r\n1=Už\r\n2=Dost.\r\n[data]\r\n1=45\r\n2=1\r\n");
    t.inDialog([&](Form2& d) {
        CHECK_EQ(fake(d.window()).shown, FakeWindow::Shown::Modally);
        CHECK_EQ(d.Text1->text(), u"Už");
        CHECK_EQ(d.Text2->text(), u"Dost.");
        CHECK_EQ(d.HScroll1->value(), 45);
        CHECK(d.Check1->isChecked());
        CHECK_EQ(d.Label4->caption(), u"Už 45 minut. Dost.");
        CHECK_EQ(d.Label1->caption(), summary(45));
        CHECK_EQ(d.Saved, ReminderState::False);
        CHECK_EQ(fake(d.window()).focus, static_cast<Control*>(d.HScroll1));
    });
    CHECK_EQ(t.runtime.modalRuns, 1);
}

TEST(markupShownLiterally) {
    T t("[texts]\r\n1=<b>x</b>\r\n2=<img src=a.png>\r\n[data]\r\n1=5\r\n");
    t.inDialog([&](Form2& d) {
        CHECK_EQ(d.Label4->caption(), u"<b>x</b> 5 minut. <img src=a.png>");
        leave(d);
    });
}

TEST(closeUnchangedAsks) {
    struct Row {
        const char* name;
        MessageBoxAnswer answer;
        std::string ini;
    };
    const std::vector<Row> table{
        {"Ne", MessageBoxAnswer::No, "[data]\r\n1=60\r\n"},
        {"Ano", MessageBoxAnswer::Yes, "[data]\r\n1=60\r\n2=0\r\n[texts]\r\n1=...\r\n2=...\r\n"}};
    Check::rows<Row>(table, [](const Row& row) {
        T t("[data]\r\n1=60\r\n");
        t.runtime.answers = {row.answer};
        t.inDialog([&](Form2& d) { d.Command2_Click(); });
        CHECK_EQ(t.runtime.boxes, (std::vector<FakeRuntime::Box>{
                                      {Prompt, MessageBoxStyle::YesNoExclamation, u"Varování"}}));
        CHECK(!t->form2.isLoaded());
        CHECK(t->form1.isLoaded()); // back to the same warning
        CHECK_EQ(t.ini(), row.ini);
    });
}

TEST(saveThenEditThenClose) {
    T t("[texts]\r\n1=A\r\n2=B\r\n[data]\r\n1=1\r\n2=0\r\n");
    t.inDialog([&](Form2& d) {
        d.Text1->setText(u"Saved");
        d.Command1_Click();
        CHECK_EQ(d.Saved, ReminderState::True);
        d.Text1->setText(u"Unsaved");
        CHECK_EQ(t->form1.Label1->caption(), u"Unsaved 1 minut. B");
        d.Command2_Click();
    });
    CHECK(t.runtime.boxes.empty());
    CHECK(!t->form2.isLoaded());
    CHECK_EQ(t->shared.state.MessageText1, u"Unsaved");
    CHECK_EQ(t.ini(), "[texts]\r\n1=Saved\r\n2=B\r\n[data]\r\n1=1\r\n2=0\r\n");
    t.event([&] { t->form1.Command1_Click(); });
    CHECK_EQ(t.ticksToWarning(10), 6);
    CHECK_EQ(t->form1.Label1->caption(), u"Saved 1 minut. B");
}

TEST(defaultTextsAfterEdits) {
    T t("[texts]\r\n1=A\r\n2=B\r\n[data]\r\n1=30\r\n2=0\r\n");
    t.inDialog([&](Form2& d) {
        d.Text1->setText(u"x");
        d.Text2->setText(u"y");
        d.Command4_Click();
        CHECK_EQ(d.Text1->text(), Default1);
        CHECK_EQ(d.Text2->text(), Default2);
        const std::u16string warning = Default1 + u" 30 minut. " + Default2;
        CHECK_EQ(d.Label4->caption(), warning);
        CHECK_EQ(t->form1.Label1->caption(), warning);
        CHECK_EQ(t->shared.state.IntervalMinutes, 30.0f);
        CHECK_EQ(d.Saved, ReminderState::False);
        leave(d);
    });
    CHECK_EQ(t.ini(), t.written);
}

TEST(sliderStepsAndRefresh) {
    T t("[data]\r\n1=60\r\n");
    t.inDialog([&](Form2& d) {
        d.HScroll1->setValue(61);
        CHECK_EQ(t->shared.state.IntervalMinutes, 61.0f);
        CHECK_EQ(d.Label1->caption(), summary(61));
        d.HScroll1->setValue(100);
        CHECK_EQ(d.Label4->caption(), u"... 100 minut. ...");
        d.HScroll1->setValue(500);
        CHECK_EQ(d.HScroll1->value(), 180);
        d.HScroll1->setValue(-4);
        CHECK_EQ(d.HScroll1->value(), 1);
        CHECK_EQ(d.Label1->caption(), summary(1));
        d.Check1->setChecked(true);
        CHECK_EQ(t->shared.state.HideDesktop, ReminderState::True);
        d.Check1->setChecked(false);
        CHECK_EQ(t->shared.state.HideDesktop, ReminderState::False);
        leave(d);
    });
}

TEST(openedFromFullScreenWarning) {
    T t("[texts]\r\n1=A\r\n2=B\r\n[data]\r\n1=5\r\n2=1\r\n");
    t.inDialog([&](Form2& d) {
        d.Text1->setText(u"Edited");
        CHECK_EQ(d.Label4->caption(), u"Edited 5 minut. B");
        leave(d);
    });
    CHECK_EQ(t.system.sounds.size(), 1u); // the warning's own, not replayed
    CHECK(!t->form1.isLoaded());
    CHECK_EQ(t->form4.Label1->caption(), u"A 5 minut. B");
    // Next cycle with the flag cleared: the standard warning loads, with its sound.
    t.writeIni("[texts]\r\n1=A\r\n2=B\r\n[data]\r\n1=5\r\n2=0\r\n");
    t.event([&] { t->form4.Command1_Click(); });
    t.event([&] { t->form3.Form_Click(); });
    CHECK_EQ(t.system.sounds.size(), 2u);
    CHECK_EQ(t->form1.Label1->caption(), u"A 5 minut. B");
}

TEST(webLink) {
    T t;
    t.inDialog([&](Form2& d) {
        d.Text1->setText(u"changed");
        CHECK_EQ(d.Label8->caption(), Messages::MakerAddress);
        CHECK_EQ(fake(d.Label8).pointer, MousePointer::WhatsThis);
        d.Label8->Click();
    });
    CHECK_EQ(t.system.urls, std::vector<std::u16string>{std::u16string(Messages::MakerAddress)});
    CHECK(!t->form2.isLoaded());
    CHECK(t.runtime.boxes.empty());
    CHECK_EQ(t.ini(), t.written);
}

TEST(intervalOutsideSlider) {
    // "memory" follows the slider only through a change.
    struct Row {
        const char* name;
        std::string interval;
        int slider;
        float memory;
    };
    const std::vector<Row> table{
        {"missing key: 3600", "", 180, 180.0f},
        {"0", "1=0\r\n", 1, 1.0f},
        {"negative", "1=-7\r\n", 1, 1.0f},
        {"beyond 16 bits", "1=1e9\r\n", 180, 180.0f},
        {"half to even", "1=2.5\r\n", 2, 2.0f},
        {"rounded to the slider's own 60: no change", "1=59.6\r\n", 60, 59.6f}};
    Check::rows<Row>(table, [](const Row& row) {
        T t("[data]\r\n" + row.interval);
        t.inDialog([&](Form2& d) {
            CHECK_EQ(d.HScroll1->value(), row.slider);
            CHECK_EQ(t->shared.state.IntervalMinutes, row.memory);
            leave(d);
        });
        CHECK(!t.runtime.ended);
    });
}

TEST(failedSaveIsReported) {
    T t("[data]\r\n1=60\r\n");
    std::filesystem::permissions(t.dir / "data.ini", std::filesystem::perms::owner_read);
    t.runtime.answers = {MessageBoxAnswer::Yes, MessageBoxAnswer::No};
    t.inDialog([&](Form2& d) {
        d.Text1->setText(u"new");
        d.Command1_Click();
        CHECK_EQ(d.Saved, ReminderState::False);
        CHECK_EQ(t.runtime.boxes.size(), 1u);
        CHECK(t.runtime.boxes[0].text.starts_with(u"Nastavení se nepodařilo uložit."));
        CHECK(t.runtime.boxes[0].text.find(u"jen pro čtení") != std::u16string::npos);
        d.Command2_Click(); // asks; "Ano" fails again: the dialog stays, nothing lost
        CHECK_EQ(t.runtime.boxes.size(), 3u);
        CHECK(d.isLoaded());
        d.Command2_Click(); // "Ne"
        CHECK(!d.isLoaded());
    });
    CHECK_EQ(t.ini(), "[data]\r\n1=60\r\n");
}

TEST(whatIsNoSettingsFileIsNeitherReadNorReplaced) {
    // Every platform gives the same answers, in the same order: a file made read-only is
    // that, whatever its size.
    const auto readOnly = [](T& t) {
        std::filesystem::permissions(t.dir / "data.ini", std::filesystem::perms::owner_read);
    };
    const auto large = [](T& t) { std::filesystem::resize_file(t.dir / "data.ini", 65 << 20); };
    struct Row {
        const char* name;
        std::function<void(T&)> make;
        const char16_t* read;     // what the read says, in part
        const char16_t* replaced; // what the save says
    };
    const std::vector<Row> table{{"missing: read as empty, made",
                                  [](T& t) { std::filesystem::remove(t.dir / "data.ini"); }, u"",
                                  u""},
                                 {"a folder",
                                  [](T& t) {
                                      std::filesystem::remove(t.dir / "data.ini");
                                      std::filesystem::create_directory(t.dir / "data.ini");
                                  },
                                  u"není obyčejný soubor", u"je složka, ne soubor"},
                                 {"read-only", readOnly, u"", u"je jen pro čtení"},
                                 {"over 64 MiB", large, u"má 65 MB", u"má 65 MB"},
                                 {"read-only and over 64 MiB", [&](T& t) { large(t), readOnly(t); },
                                  u"má 65 MB", u"je jen pro čtení"}};
    Check::rows<Row>(table, [](const Row& row) {
        T t("[data]\r\n1=60\r\n");
        row.make(t);
        std::u16string read;
        const std::string bytes = t.files.read(t.iniPath(), &read);
        const std::u16string replaced =
            t.files.replace(t.iniPath(), [](std::string old) { return old + "[x]\r\n"; });
        if (*row.read == 0)
            CHECK(read.empty());
        else
            CHECK(read.find(row.read) != std::u16string::npos && bytes.empty());
        CHECK(replaced.empty() == (*row.replaced == 0) &&
              replaced.find(row.replaced) != std::u16string::npos);
        CHECK_EQ(std::filesystem::is_regular_file(t.dir / "data.ini") &&
                     t.ini().ends_with("[x]\r\n"),
                 *row.replaced == 0);
    });
}

TEST(exactBytesOfSaves) {
    T t(""); // interval 3600, texts "..."
    // What saves cut short left (the first two) goes with the next save; the user's files, and
    // the file of a save under way (the last, just written), stay.
    const std::vector<const char*> beside{
        "data.ini.984426878.tmp", "data.ini.7.tmp",  "data.ini.backup", "data.ini.12.tmp.txt",
        "data.ini..tmp",          "data.ini.x1.tmp", "other.ini.5.tmp", "data.ini.5.tmp"};
    for (const char* name : beside) {
        t.write(name, "x");
        std::filesystem::last_write_time(t.dir / name,
                                         std::filesystem::file_time_type::clock::now() -
                                             std::chrono::hours(name != beside[7]));
    }
    t.inDialog([&](Form2& d) {
        d.Command4_Click();
        d.HScroll1->setValue(60);
        d.Command1_Click();
        CHECK_EQ(t.ini(), DefaultTexts + "[data]\r\n1=60\r\n2=0\r\n");
        d.HScroll1->setValue(45);
        d.Check1->setChecked(true);
        d.Command1_Click();
        CHECK_EQ(t.ini(), DefaultTexts + "[data]\r\n1=45\r\n2=1\r\n");
        d.Command2_Click();
    });
    CHECK(!t.runtime.ended);
    CHECK(t.runtime.boxes.empty());
    for (const char* name : beside)
        CHECK_EQ(std::filesystem::exists(t.dir / name), name != beside[0] && name != beside[1]);
}

TEST(saveKeepsTheFilesOtherName) {
    T t("[data]\r\n1=60\r\n");
    std::filesystem::create_hard_link(t.dir / "data.ini", t.dir / "other.ini");
    t.inDialog([&](Form2& d) {
        d.HScroll1->setValue(45);
        d.Command1_Click();
        d.Command2_Click();
    });
    std::ifstream other(t.dir / "other.ini", std::ios::binary);
    CHECK_EQ(std::string(std::istreambuf_iterator<char>(other), {}), t.ini());
    CHECK(t.ini().find("1=45") != std::string::npos);
}

TEST(keyboardAndCloseRequest) {
    using K = FakeWindow::Key;
    T t("[data]\r\n1=60\r\n");
    t.inDialog([&](Form2& d) {
        FakeWindow& w = fake(d.window());
        w.press(K::Escape); // the about panel, not closing
        CHECK_EQ(w.box.height, Form2::ExpandedHeightTwips);
        d.Text1->setFocus();
        w.press(K::Escape);
        CHECK_EQ(w.box.height, Form2::CollapsedHeightTwips);
        CHECK(d.isLoaded());
        w.press(K::Enter); // saves
        CHECK_EQ(d.Saved, ReminderState::True);
        CHECK(t.ini().find("[texts]") != std::string::npos);
        d.Saved = 0;
        d.Command2->setFocus();
        w.press(K::Enter); // the focused button: "Zavřít", which asks
        CHECK_EQ(t.runtime.boxes.size(), 1u);
        CHECK(!d.isLoaded());
    });
    T u("[data]\r\n1=60\r\n");
    u.inDialog([&](Form2& d) {
        d.window()->QueryUnload(); // Alt+F4: goes through "Zavřít", prompt included
        CHECK_EQ(u.runtime.boxes.size(), 1u);
        CHECK_EQ(u.runtime.boxes[0].text, Prompt);
        CHECK(!d.isLoaded());
    });
    // While the prompt waits, the dialog is blocked: another close request or a click sent
    // by another program is dropped, and "Ano" saves through the dialog that is still there.
    T v("[data]\r\n1=60\r\n");
    v.runtime.answers = {MessageBoxAnswer::Yes, MessageBoxAnswer::No};
    v.inDialog([&](Form2& d) {
        d.Text1->setText(u"Kept");
        v.runtime.duringBox = [&] {
            d.window()->QueryUnload();
            d.Command4->Click();
        };
        d.window()->QueryUnload();
        CHECK_EQ(v.runtime.boxes.size(), 1u);
        CHECK(!d.isLoaded());
        CHECK(v.ini().find("1=Kept") != std::string::npos);
    });
}

TEST(layout) {
    Check::rows<Check::Named>({{"collapsed"}, {"expanded"}}, [](const Check::Named& row) {
        const bool expanded = row.name == std::string("expanded");
        T t("[data]\r\n1=60\r\n");
        t.inDialog([&](Form2& d) {
            FakeWindow& w = fake(d.window());
            if (expanded)
                d.Command3_Click();
            CHECK_EQ(w.box.width, Geometry::DialogWidth);
            CHECK_EQ(w.box.height,
                     expanded ? Geometry::DialogExpandedHeight : Geometry::DialogHeight);
            CHECK_EQ(w.title, u"Nastavení");
            CHECK(w.style.titleBar && w.style.onTop && w.style.takesKeyboard);
            const std::vector<Control*> about{d.Line2, d.Line3, d.Line4, d.Image1};
            for (const auto& [control, box] : Geometry::dialog(d)) {
                CHECK_EQ(control->geometry(), box);
                const bool inside = box.bottom() <= w.box.height;
                CHECK_EQ(inside,
                         std::find(about.begin(), about.end(), control) == about.end() || expanded);
            }
            // The labels that size themselves: placed by their corner.
            for (const auto& [label, corner] : Geometry::dialogCorners(d)) {
                CHECK(fake(label).autoSize);
                CHECK_EQ(std::pair(label->geometry().left, label->geometry().top), corner);
            }
            CHECK_EQ(d.Label5->caption(), u"Vestrel v1.0.");
            for (Label* heading : {d.Label5, d.Label8})
                CHECK(fake(heading).font.bold && fake(heading).font.points == 9.75);
            CHECK_EQ(d.Label9->caption(), u"v1.0." + std::u16string(99, u' ') + u"Id.:40217");
            CHECK(fake(d.Label4).wordWrap);
            CHECK_EQ(fake(d.Label4).back, Colour::ButtonShadow);
            CHECK_EQ((std::vector<Colour>{fake(d.Line1).colour, fake(d.Line2).colour,
                                          fake(d.Line3).colour, fake(d.Line4).colour}),
                     (std::vector<Colour>{Colour::WindowText, Colour::WindowText, Colour::Grey,
                                          Colour::LightGrey}));
            CHECK_EQ(d.HScroll1->minimum(), 1);
            CHECK_EQ(d.HScroll1->maximum(), 180);
            CHECK_EQ(std::pair(fake(d.HScroll1).small, fake(d.HScroll1).large), std::pair(1, 1));
            CHECK_EQ(fake(d.Text1).maxLength, 32767);
            leave(d);
        });
    });
}

TEST(tabOrderAndTips) {
    T t("[data]\r\n1=60\r\n");
    t.inDialog([&](Form2& d) {
        CHECK_EQ(fake(d.window()).tabOrder,
                 (std::vector<Control*>{d.HScroll1, d.Text1, d.Text2, d.Command1, d.Command2,
                                        d.Command3, d.Command4, d.Check1}));
        const std::vector<std::pair<Control*, std::u16string>> tips{
            {d.Command1, u"Uloží nastavení"},
            {d.Command2, u"Zavře toto okno"},
            {d.Command3, u"O programu"},
            {d.Command4, u"Nastaví texty na původní"},
            {d.Check1, u"Zobrazí okno s varováním přes celou plochu"},
            {d.Label4, u"Takto bude vypadat zpráva v okně"}};
        std::size_t withTips = 0;
        for (const auto& control : fake(d.window()).controls) {
            const auto tip = std::find_if(tips.begin(), tips.end(),
                                          [&](const auto& p) { return p.first == control.get(); });
            const std::u16string expected = tip == tips.end() ? u"" : tip->second;
            withTips += !expected.empty();
            CHECK_EQ(dynamic_cast<FakeProperties&>(*control).tip, expected);
        }
        CHECK_EQ(withTips, tips.size());
        // Enter's button: "Uložit"; Escape's: "O programu".
        for (CommandButton* b : {d.Command1, d.Command2, d.Command3, d.Command4}) {
            CHECK_EQ(b->isDefault(), b == d.Command1);
            CHECK_EQ(b->isCancel(), b == d.Command3);
        }
        // and the one marked as Enter's: the focused button, else "Uložit".
        for (Control* focus : fake(d.window()).tabOrder) {
            focus->setFocus();
            const auto* focusedButton = dynamic_cast<CommandButton*>(focus);
            for (CommandButton* b : {d.Command1, d.Command2, d.Command3, d.Command4})
                CHECK_EQ(fake(b).marked, b == (focusedButton ? focusedButton : d.Command1));
        }
        leave(d);
    });
}

CHECK_MAIN
