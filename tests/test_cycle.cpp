// The monitor window and the reminder cycle, driven through its handlers.
#include "TestProgram.h"
#include "core/Messages.h"

class CycleTest : public QObject {
    Q_OBJECT

  private slots:
    void monitorWindow() {
        TestProgram t;
        t->start();
        Form3& f = t->form3;
        QVERIFY(f.isLoaded());
        QVERIFY(f.window()->isVisible());
        QCOMPARE(f.window()->geometry(), QRect(0, 0, 8, 8));
        QVERIFY(f.window()->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(f.window()->windowFlags() & Qt::WindowType_Mask, Qt::Tool); // no task-bar entry
        QImage black(8, 8, QImage::Format_ARGB32);
        black.fill(Qt::black);
        QCOMPARE(f.window()->grab().toImage().convertToFormat(QImage::Format_ARGB32), black);
        QCOMPARE(f.Timer1->interval(), 10000);
        QCOMPARE(f.Timer1->timerType(), Qt::PreciseTimer);
        QVERIFY(f.Timer1->isActive());
        QVERIFY(!f.Label1->isVisible());
        QCOMPARE(f.Label1->text(), QStringLiteral("1"));
        QVERIFY(t.platform.boxes.isEmpty());
        QCOMPARE(qt(t->state.IniPath), t.iniPath());
    }

    void missingFiles_data() {
        columns<QString, QString>("missing", "firstLine");
        // clang-format off
        QTest::newRow("data.ini") << "data.ini" << "Nebyl nalezen soubor data.ini, program bude ukončen.";
        QTest::newRow("s.wav") << "s.wav" << "Nebyl nalezen soubor s.wav, program bude ukončen.";
        // clang-format on
    }
    void missingFiles() {
        TestProgram t;
        QFile::remove(t.dir.filePath(cell<QString>("missing")));
        t->start();
        QVERIFY(t.platform.ended);
        const QString text = cell<QString>("firstLine") +
                             "\r\nTento program (a mnoho dalších) lze stáhnou na " +
                             qt(Messages::MakerAddress);
        QCOMPARE(t.platform.boxes,
                 FakePlatform::Boxes({{text, MessageBoxStyle::OkCritical, "CHYBA"}}));
        QCOMPARE(qt(t->state.IniPath), QString()); // nothing read, nothing written
        QVERIFY(t.platform.sounds.isEmpty());
    }

    void ticksToWarning_data() {
        columns<QByteArray, bool, int>("interval", "czech", "ticks");
        // clang-format off
        QTest::newRow("1 minute") << QByteArray("1") << false << 6;
        QTest::newRow("2.5 minutes") << QByteArray("2.5") << false << 15;
        QTest::newRow("2,5 under Czech") << QByteArray("2,5") << true << 15;
        QTest::newRow("60 minutes") << QByteArray("60") << false << 360;
        QTest::newRow("2.55 never: 15.3 ticks") << QByteArray("2.55") << false << -1;
        QTest::newRow("0 never") << QByteArray("0") << false << -1;
        QTest::newRow("negative never") << QByteArray("-1") << false << -1;
        QTest::newRow("one tick: six of .16666667 make exactly 1") << QByteArray(".16666667") << false << 1;
        QTest::newRow("0.16666667 is read as 0.1666666: never") << QByteArray("0.16666667") << false << -1;
        // clang-format on
    }
    void ticksToWarning() {
        TestProgram t("[data]\r\n1=" + cell<QByteArray>("interval") + "\r\n");
        if (cell<bool>("czech"))
            t.platform.userLocale = QLocale(QLocale::Czech, QLocale::CzechRepublic);
        t->start();
        QTEST(t.ticksToWarning(400), "ticks");
        // The warning and the monitor are never loaded together: one gives way to the other.
        QVERIFY(!(t->form1.isLoaded() && t->form3.isLoaded()));
    }

    void clickShowsWarningAndOkRestarts() {
        TestProgram t("[data]\r\n1=60\r\n");
        t->start();
        for (int i = 0; i < 100; ++i)
            t.event([&] { t->form3.Timer1_Timer(); });
        t.event([&] { t->form3.Form_Click(); });
        QVERIFY(!t->form3.isLoaded());
        QVERIFY(t->form1.isLoaded());
        QCOMPARE(t->form3.UnCas, 100.0f);
        t.event([&] { t->form1.Command1_Click(); });
        QCOMPARE(t->form3.UnCas, 0.0f);
        QVERIFY(t->form3.isLoaded());
        QVERIFY(!t->form1.isLoaded());
        QCOMPARE(t.ticksToWarning(400), 360);
    }

    void flagChoosesWindow() {
        TestProgram t("[data]\r\n1=1\r\n2=1\r\n");
        t->start();
        QCOMPARE(t.ticksToWarning(10), 6);
        QVERIFY(t->form4.isLoaded());
        QVERIFY(!t->form1.isLoaded());
        // A flag the program does not know keeps the last one: still full screen.
        t.writeIni("[data]\r\n1=1\r\n2=7\r\n");
        t.event([&] { t->form4.Command1_Click(); });
        QCOMPARE(t.ticksToWarning(10), 6);
        QVERIFY(t->form4.isLoaded());
        t.writeIni("[data]\r\n1=1\r\n2=0\r\n");
        t.event([&] { t->form4.Command1_Click(); });
        QCOMPARE(t.ticksToWarning(10), 6);
        QVERIFY(t->form1.isLoaded());
        QVERIFY(!t->form4.isLoaded());
    }

    void editedFileIsPickedUpNextCycle() {
        TestProgram t("[texts]\r\n1=Old\r\n2=x\r\n[data]\r\n1=1\r\n");
        t->start();
        t.writeIni("[texts]\r\n1=New\r\n2=y\r\n[data]\r\n1=2\r\n");
        QCOMPARE(t.ticksToWarning(20), 6); // this cycle still counts with what it read
        QCOMPARE(t->form1.Label1->text(), QStringLiteral("Old 1 minut. x"));
        t.event([&] { t->form1.Command1_Click(); });
        QCOMPARE(t.ticksToWarning(20), 12);
        QCOMPARE(t->form1.Label1->text(), QStringLiteral("New 2 minut. y"));
    }

    void missingSoundAtRestartEnds() {
        TestProgram t;
        t.showWarning();
        QFile::remove(t.dir.filePath("s.wav"));
        t.event([&] { t->form1.Command1_Click(); });
        QVERIFY(t.platform.ended);
        QCOMPARE(t.platform.boxes.size(), 1);
        QVERIFY(t.platform.boxes[0].text.startsWith("Nebyl nalezen soubor s.wav"));
    }

    void badSettingEndsWithClearMessage() {
        TestProgram t("[data]\r\n1=60 minut\r\n");
        t->start();
        QVERIFY(t.platform.ended);
        QCOMPARE(t.platform.endStatus, 1);
        QCOMPARE(t.platform.boxes.size(), 1);
        const QString text = t.platform.boxes[0].text;
        QVERIFY2(text.contains("13") && text.contains(QStringLiteral("„60 minut“")) &&
                     text.contains(t.iniPath()) && text.contains("[data]"),
                 qPrintable(text));
        QCOMPARE(t.ini(), t.written);
    }

    void timerKeepsTime() {
        // A real tick, shortened: the precise timer fires on its grid, not late by its slack.
        TestProgram t("[data]\r\n1=.16666667\r\n");
        t->start();
        t->form3.Timer1->setInterval(50);
        QElapsedTimer clock;
        clock.start();
        QTRY_VERIFY_WITH_TIMEOUT(t->form1.isLoaded(), 2000);
        QVERIFY(clock.elapsed() >= 45);
    }

    void timeAwayIsABreak_data() {
        // data: keys 3 and 4 after an interval of 1 minute; seen: the events up to the warning,
        // marked "!". t: a tick; s, S: the machine sleeps 30 s, 2 min; L, U: the session locked,
        // unlocked; k: a key pressed (with 4=1, no input for the break is time away).
        columns<QByteArray, QString, QString>("data", "events", "seen");
        // clang-format off
        QTest::newRow("sleep shorter than the break: the count goes on") << QByteArray("3=1") << "ttttstt" << "ttttstt!";
        QTest::newRow("sleep of a break: the count starts again") << QByteArray("3=1") << "ttttStttttt" << "ttttStttttt!";
        QTest::newRow("a warning due while locked waits for the unlock") << QByteArray("3=1") << "tttLtttU" << "tttLtttU!";
        QTest::newRow("a lock of a break: no warning, the count starts again") << QByteArray("3=1") << "tttLttttttttUtttttt" << "tttLttttttttUtttttt!";
        QTest::newRow("no input for a break, when asked: the count starts again") << QByteArray("3=1\r\n4=1") << "kttttttttktttkttt" << "kttttttttktttkttt!";
        QTest::newRow("no input, when not asked: still sitting") << QByteArray("3=1") << "ktttttt" << "ktttttt!";
        QTest::newRow("a lock heard on waking from a sleep of a break: the count starts again") << QByteArray("3=1") << "tttSLUtttttt" << "tttSLUtttttt!";
        QTest::newRow("no break length: machine time as before") << QByteArray("3=0") << "ttttStLtU" << "ttttStLt!";
        // clang-format on
    }
    void timeAwayIsABreak() {
        TestProgram t("[data]\r\n1=1\r\n2=0\r\n" + cell<QByteArray>("data") + "\r\n");
        FakePlatform& p = t.platform;
        t->start();
        qint64 lastInput = -1;
        QString log;
        const QHash<QChar, qint64> seconds{{u't', 10}, {u's', 30}, {u'S', 120}};
        for (const QChar event : cell<QString>("events")) {
            p.clock += seconds.value(event) * 1000000;
            if (event == u's' || event == u'S')
                p.slept += seconds.value(event) * 1000000;
            if (event == u'k')
                lastInput = p.clock;
            p.idle = lastInput < 0 ? -1 : p.clock - lastInput;
            if (event == u'L' || event == u'U') {
                p.locked = event == u'L';
                t.event(p.sessionChanged);
            }
            if (event == u't')
                t.event([&] { t->form3.Timer1_Timer(); });
            log += event;
            if (!t->form3.isLoaded())
                break;
        }
        QTEST(t->form3.isLoaded() ? log : log + u'!', "seen");
    }
};

QTEST_MAIN(CycleTest)
#include "test_cycle.moc"
