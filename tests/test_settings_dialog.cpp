// The settings dialog: live editing, saving, the prompt, the about panel and its layout.
#include "TestProgram.h"
#include "core/Messages.h"

namespace {

const QString Summary = QStringLiteral("Zobrazit výstražné okno jednou za %1 minut.");
const QString Prompt =
    QStringLiteral("Pokud chcete provedené zněny uložit klikněte na tlačítko ANO, "
                   "pokud si přejete okno zavřít bez uložení klikněte na NE");

// Closes the dialog as "Zavřít" does after a save: without the prompt.
void leave(Form2& d) {
    d.Saved = ReminderState::True;
    d.Command2_Click();
}

} // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void loadShowsStoredValues() {
        TestProgram t("[texts]\r\n1=Už\r\n2=Dost.\r\n[data]\r\n1=45\r\n2=1\r\n");
        t.inDialog([&](Form2& d) {
            QVERIFY(d.window()->isVisible());
            QCOMPARE(d.window()->windowModality(), Qt::ApplicationModal);
            QCOMPARE(d.Text1->text(), QStringLiteral("Už"));
            QCOMPARE(d.Text2->text(), QStringLiteral("Dost."));
            QCOMPARE(d.HScroll1->value(), 45);
            QCOMPARE(d.Check1->checkState(), Qt::Checked);
            QCOMPARE(d.Label4->text(), QStringLiteral("Už 45 minut. Dost."));
            QCOMPARE(d.Label1->text(), Summary.arg(45));
            QCOMPARE(d.Saved, ReminderState::False);
            QCOMPARE(d.window()->focusWidget(), d.HScroll1);
        });
        QCOMPARE(t.platform.modalRuns, 1);
    }

    void markupShownLiterally() {
        TestProgram t("[texts]\r\n1=<b>x</b>\r\n2=<img src=a.png>\r\n[data]\r\n1=5\r\n");
        t.inDialog([&](Form2& d) {
            QCOMPARE(d.Label4->text(), QStringLiteral("<b>x</b> 5 minut. <img src=a.png>"));
            for (QLabel* label : d.window()->findChildren<QLabel*>())
                QCOMPARE(label->textFormat(), Qt::PlainText);
            const QImage shown = d.Label4->grab().toImage();
            d.Text1->setText("&lt;b&gt;x&lt;/b&gt;"); // were it rich text, this would draw the same
            QVERIFY(d.Label4->grab().toImage() != shown);
            leave(d);
        });
    }

    void closeUnchangedAsks_data() {
        columns<MessageBoxAnswer, QByteArray>("answer", "ini");
        // clang-format off
        QTest::newRow("Ne") << MessageBoxAnswer::No << QByteArray("[data]\r\n1=60\r\n");
        QTest::newRow("Ano") << MessageBoxAnswer::Yes << QByteArray("[data]\r\n1=60\r\n2=0\r\n[texts]\r\n1=...\r\n2=...\r\n");
        // clang-format on
    }
    void closeUnchangedAsks() {
        TestProgram t("[data]\r\n1=60\r\n");
        t.platform.answers = {cell<MessageBoxAnswer>("answer")};
        t.inDialog([&](Form2& d) { d.Command2_Click(); });
        QCOMPARE(t.platform.boxes,
                 FakePlatform::Boxes({{Prompt, MessageBoxStyle::YesNoExclamation, "Varování"}}));
        QVERIFY(!t->form2.isLoaded());
        QVERIFY(t->form1.isLoaded()); // back to the same warning
        QTEST(t.ini(), "ini");
    }

    void saveThenEditThenClose() {
        TestProgram t("[texts]\r\n1=A\r\n2=B\r\n[data]\r\n1=1\r\n2=0\r\n");
        t.inDialog([&](Form2& d) {
            d.Text1->setText("Saved");
            d.Command1_Click();
            QCOMPARE(d.Saved, ReminderState::True);
            d.Text1->setText("Unsaved");
            QCOMPARE(t->form1.Label1->text(), QStringLiteral("Unsaved 1 minut. B"));
            d.Command2_Click();
        });
        QVERIFY(t.platform.boxes.isEmpty());
        QVERIFY(!t->form2.isLoaded());
        QCOMPARE(qt(t->state.MessageText1), QStringLiteral("Unsaved"));
        QCOMPARE(t.ini(), QByteArray("[texts]\r\n1=Saved\r\n2=B\r\n[data]\r\n1=1\r\n2=0\r\n"));
        t.event([&] { t->form1.Command1_Click(); });
        QCOMPARE(t.ticksToWarning(10), 6);
        QCOMPARE(t->form1.Label1->text(), QStringLiteral("Saved 1 minut. B"));
    }

    void defaultTextsAfterEdits() {
        TestProgram t("[texts]\r\n1=A\r\n2=B\r\n[data]\r\n1=30\r\n2=0\r\n");
        t.inDialog([&](Form2& d) {
            d.Text1->setText("x");
            d.Text2->setText("y");
            d.Command4_Click();
            QCOMPARE(d.Text1->text(), Default1);
            QCOMPARE(d.Text2->text(), Default2);
            const QString warning = Default1 + QStringLiteral(" 30 minut. ") + Default2;
            QCOMPARE(d.Label4->text(), warning);
            QCOMPARE(t->form1.Label1->text(), warning);
            QCOMPARE(t->state.IntervalMinutes, 30.0f);
            QCOMPARE(d.Saved, ReminderState::False);
            leave(d);
        });
        QCOMPARE(t.ini(), t.written);
    }

    void sliderStepsAndDragRefresh() {
        TestProgram t("[data]\r\n1=60\r\n");
        t.inDialog([&](Form2& d) {
            d.HScroll1->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            QCOMPARE(t->state.IntervalMinutes, 61.0f);
            QCOMPARE(d.Label1->text(), Summary.arg(61));
            d.HScroll1->setSliderDown(true); // dragging the thumb
            d.HScroll1->setSliderPosition(100);
            QCOMPARE(d.Label4->text(), QStringLiteral("... 100 minut. ..."));
            d.HScroll1->setSliderPosition(179);
            QCOMPARE(t->state.IntervalMinutes, 179.0f);
            d.HScroll1->setSliderDown(false);
            d.HScroll1->setValue(500);
            QCOMPARE(d.HScroll1->value(), 180);
            d.HScroll1->setValue(-4);
            QCOMPARE(d.HScroll1->value(), 1);
            QCOMPARE(d.Label1->text(), Summary.arg(1));
            d.Check1->click();
            QCOMPARE(t->state.HideDesktop, ReminderState::True);
            d.Check1->click();
            QCOMPARE(t->state.HideDesktop, ReminderState::False);
            leave(d);
        });
    }

    void openedFromFullScreenWarning() {
        TestProgram t("[texts]\r\n1=A\r\n2=B\r\n[data]\r\n1=5\r\n2=1\r\n");
        t.inDialog([&](Form2& d) {
            d.Text1->setText("Edited");
            QCOMPARE(d.Label4->text(), QStringLiteral("Edited 5 minut. B"));
            leave(d);
        });
        QCOMPARE(t.platform.sounds.size(), 1); // the warning's own, not replayed
        QVERIFY(!t->form1.isLoaded());
        QCOMPARE(t->form4.Label1->text(), QStringLiteral("A 5 minut. B"));
        // Next cycle with the flag cleared: the standard warning loads, with its sound.
        t.writeIni("[texts]\r\n1=A\r\n2=B\r\n[data]\r\n1=5\r\n2=0\r\n");
        t.event([&] { t->form4.Command1_Click(); });
        t.event([&] { t->form3.Form_Click(); });
        QCOMPARE(t.platform.sounds.size(), 2);
        QCOMPARE(t->form1.Label1->text(), QStringLiteral("A 5 minut. B"));
    }

    void webLink() {
        TestProgram t;
        t.inDialog([&](Form2& d) {
            d.Text1->setText("changed");
            QCOMPARE(d.Label8->text(), qt(Messages::MakerAddress));
            QCOMPARE(d.Label8->cursor().shape(), Qt::WhatsThisCursor);
            QTest::mouseClick(d.Label8, Qt::LeftButton);
        });
        QCOMPARE(t.platform.urls, QStringList{qt(Messages::MakerAddress)});
        QVERIFY(!t->form2.isLoaded());
        QVERIFY(t.platform.boxes.isEmpty());
        QCOMPARE(t.ini(), t.written);
    }

    void intervalOutsideSlider_data() {
        // "memory" follows the slider only through a change.
        columns<QByteArray, int, float>("interval", "slider", "memory");
        // clang-format off
        QTest::newRow("missing key: 3600") << QByteArray() << 180 << 180.0f;
        QTest::newRow("0") << QByteArray("1=0\r\n") << 1 << 1.0f;
        QTest::newRow("negative") << QByteArray("1=-7\r\n") << 1 << 1.0f;
        QTest::newRow("beyond 16 bits") << QByteArray("1=1e9\r\n") << 180 << 180.0f;
        QTest::newRow("half to even") << QByteArray("1=2.5\r\n") << 2 << 2.0f;
        QTest::newRow("rounded to the slider's own 60: no change") << QByteArray("1=59.6\r\n") << 60 << 59.6f;
        // clang-format on
    }
    void intervalOutsideSlider() {
        TestProgram t("[data]\r\n" + cell<QByteArray>("interval"));
        t.inDialog([&](Form2& d) {
            QTEST(d.HScroll1->value(), "slider");
            QTEST(t->state.IntervalMinutes, "memory");
            leave(d);
        });
        QVERIFY(!t.platform.ended);
    }

    void failedSaveIsReported() {
        TestProgram t("[data]\r\n1=60\r\n");
        QFile::setPermissions(t.iniPath(), QFile::ReadOwner);
        t.platform.answers = {MessageBoxAnswer::Yes, MessageBoxAnswer::No};
        t.inDialog([&](Form2& d) {
            d.Text1->setText("new");
            d.Command1_Click();
            QCOMPARE(d.Saved, ReminderState::False);
            QCOMPARE(t.platform.boxes.size(), 1);
            QVERIFY(t.platform.boxes[0].text.startsWith("Nastavení se nepodařilo uložit."));
            QVERIFY(t.platform.boxes[0].text.contains(QStringLiteral("jen pro čtení")));
            d.Command2_Click(); // asks; "Ano" fails again: the dialog stays, nothing lost
            QCOMPARE(t.platform.boxes.size(), 3);
            QVERIFY(d.isLoaded());
            d.Command2_Click(); // "Ne"
            QVERIFY(!d.isLoaded());
        });
        QCOMPARE(t.ini(), QByteArray("[data]\r\n1=60\r\n"));
    }

    void exactBytesOfSaves() {
        TestProgram t(""); // interval 3600, texts "..."
        t.inDialog([&](Form2& d) {
            d.Command4_Click();
            d.HScroll1->setValue(60);
            d.Command1_Click();
            QCOMPARE(t.ini(), DefaultTexts + "[data]\r\n1=60\r\n2=0\r\n");
            d.HScroll1->setValue(45);
            d.Check1->setChecked(true);
            d.Command1_Click();
            QCOMPARE(t.ini(), DefaultTexts + "[data]\r\n1=45\r\n2=1\r\n");
            d.Command2_Click();
        });
        QVERIFY(!t.platform.ended);
        QVERIFY(t.platform.boxes.isEmpty());
    }

    void keyboardAndCloseRequest() {
        TestProgram t("[data]\r\n1=60\r\n");
        t.inDialog([&](Form2& d) {
            QWidget* w = d.window();
            QTest::keyClick(d.HScroll1, Qt::Key_Escape); // the about panel, not closing
            QCOMPARE(w->height(), 329);
            QTest::keyClick(d.Text1, Qt::Key_Escape);
            QCOMPARE(w->height(), 215);
            QVERIFY(d.isLoaded());
            QTest::keyClick(d.Text1, Qt::Key_Return); // saves
            QCOMPARE(d.Saved, ReminderState::True);
            QVERIFY(t.ini().contains("[texts]"));
            d.Saved = 0;
            QTest::keyClick(d.HScroll1, Qt::Key_Enter, Qt::KeypadModifier); // so does the keypad's
            QCOMPARE(d.Saved, ReminderState::True);
            d.Saved = 0;
            // The slider's keys, each from 60; the summary follows every one.
            const QList<std::pair<Qt::Key, int>> keys{{Qt::Key_Left, 59},   {Qt::Key_Up, 59},
                                                      {Qt::Key_Right, 61},  {Qt::Key_Down, 61},
                                                      {Qt::Key_PageUp, 59}, {Qt::Key_PageDown, 61},
                                                      {Qt::Key_Home, 1},    {Qt::Key_End, 180}};
            for (const auto& [key, minutes] : keys) {
                d.HScroll1->setValue(60);
                QTest::keyClick(d.HScroll1, key);
                QCOMPARE(t->state.IntervalMinutes, float(minutes));
                QCOMPARE(d.Label1->text(), Summary.arg(minutes));
            }
            QVERIFY(!w->close()); // Alt+F4: goes through "Zavřít", prompt included
            QCOMPARE(t.platform.boxes.size(), 1);
            QCOMPARE(t.platform.boxes[0].text, Prompt);
            QVERIFY(!d.isLoaded());
        });
    }

    void layout_data() {
        QTest::addColumn<bool>("expanded");
        // clang-format off
        QTest::newRow("collapsed") << false;
        QTest::newRow("expanded") << true;
        // clang-format on
    }
    void layout() {
        QFETCH(bool, expanded);
        TestProgram t("[data]\r\n1=60\r\n");
        t.inDialog([&](Form2& d) {
            QWidget* w = d.window();
            if (expanded)
                d.Command3_Click();
            QCOMPARE(w->size(), QSize(384, expanded ? 329 : 215));
            QCOMPARE(w->windowTitle(), QStringLiteral("Nastavení"));
            QVERIFY(!(w->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint)));
            QVERIFY(w->minimumSize() == w->maximumSize()); // fixed frame
            const QList<QWidget*> about{d.Line2, d.Line3, d.Line4, d.Image1};
            const QList<QPair<QWidget*, QRect>> boxes{
                {d.Label1, {8, 8, 368, 13}},      {d.HScroll1, {8, 24, 369, 17}},
                {d.Line1, {8, 48, 368, 1}},       {d.Label2, {8, 56, 373, 13}},
                {d.Text1, {16, 72, 361, 19}},     {d.Text2, {16, 96, 361, 19}},
                {d.Label4, {16, 136, 280, 45}},   {d.Check1, {304, 136, 73, 33}},
                {d.Command1, {8, 184, 81, 25}},   {d.Command2, {96, 184, 81, 25}},
                {d.Command4, {184, 184, 81, 25}}, {d.Command3, {296, 184, 81, 25}},
                {d.Line2, {8, 216, 368, 1}},      {d.Line3, {8, 217, 368, 1}},
                {d.Line4, {8, 218, 368, 1}},      {d.Image1, {8, 224, 32, 32}}};
            for (const auto& [widget, box] : boxes) {
                QCOMPARE(widget->geometry(), box);
                QCOMPARE(box.bottom() < w->height(), !about.contains(widget) || expanded);
            }
            // The labels that size themselves: placed by their corner, inside when expanded.
            const QList<QPair<QLabel*, QPoint>> autoSized{
                {d.Label3, {8, 120}},  {d.Label5, {56, 224}}, {d.Label6, {56, 248}},
                {d.Label7, {56, 264}}, {d.Label8, {56, 288}}, {d.Label9, {8, 312}}};
            for (const auto& [label, corner] : autoSized) {
                QCOMPARE(label->pos(), corner);
                QCOMPARE(label->size(), label->sizeHint());
                QCOMPARE(label->geometry().top() >= w->height(), label != d.Label3 && !expanded);
                if (expanded)
                    QVERIFY2(w->rect().contains(label->geometry()), qPrintable(label->text()));
            }
            QCOMPARE(d.Label5->text(), QStringLiteral("Vestrel v1.0."));
            QVERIFY(d.Label5->font().bold() && d.Label8->font().bold());
            QCOMPARE(d.Label9->text(), "v1.0." + QString(99, ' ') + "Id.:40217");
            QVERIFY(d.Label4->autoFillBackground() && d.Label4->wordWrap());
            QCOMPARE(d.Label4->backgroundRole(), QPalette::Dark);
            QCOMPARE(d.Label4->foregroundRole(), QPalette::WindowText);
            QCOMPARE(d.Line3->palette().color(QPalette::Window), QColor(128, 128, 128));
            QCOMPARE(d.Line4->palette().color(QPalette::Window), QColor(224, 224, 224));
            QCOMPARE(d.HScroll1->minimum(), 1);
            QCOMPARE(d.HScroll1->maximum(), 180);
            QCOMPARE(d.Image1->pixmap().size(), QSize(32, 32));
            Layout::verifyAllTextsFit(w);
            leave(d);
        });
    }

    void tabOrderAndTips() {
        TestProgram t("[data]\r\n1=60\r\n");
        t.inDialog([&](Form2& d) {
            QCOMPARE(Layout::tabOrder(d.HScroll1),
                     (QList<QWidget*>{d.HScroll1, d.Text1, d.Text2, d.Command1, d.Command2,
                                      d.Command3, d.Command4, d.Check1}));
            const QMap<QWidget*, QString> tips{
                {d.Command1, "Uloží nastavení"},
                {d.Command2, "Zavře toto okno"},
                {d.Command3, "O programu"},
                {d.Command4, "Nastaví texty na původní"},
                {d.Check1, "Zobrazí okno s varováním přes celou plochu"},
                {d.Label4, "Takto bude vypadat zpráva v okně"}};
            for (QWidget* w : d.window()->findChildren<QWidget*>())
                QCOMPARE(w->toolTip(), tips.value(w));
            // Enter's button is marked: the focused button, else "Uložit".
            const auto marked = [&] {
                QList<QPushButton*> all{d.Command1, d.Command2, d.Command3, d.Command4};
                all.removeIf([](QPushButton* b) { return !b->isDefault(); });
                return all;
            };
            QCOMPARE(marked(), QList<QPushButton*>{d.Command1});
            QApplication::setActiveWindow(d.window()); // as the window manager does at the click
            for (QWidget* focus : Layout::tabOrder(d.HScroll1)) {
                focus->setFocus();
                auto* button = qobject_cast<QPushButton*>(focus);
                QCOMPARE(marked(), QList<QPushButton*>{button ? button : d.Command1});
            }
            leave(d);
        });
    }
};

QTEST_MAIN(SettingsDialogTest)
#include "test_settings_dialog.moc"
