// The two warning windows: layout, focus, sound, message and their three buttons.
#include "TestProgram.h"

#include <QGuiApplication>
#include <QScreen>

class WarningTest : public QObject {
    Q_OBJECT

  private slots:
    void layout_data() {
        // The controls: Image1, Label1, Command1, Command2, Command3.
        columns<QByteArray, QRect, QList<QRect>>("flag", "window", "controls");
        // clang-format off
        QTest::newRow("Form1") << QByteArray("0") << QRect(-1, -1, 339, 87) << QList<QRect>{{8, 8, 32, 32}, {48, 8, 280, 45}, {8, 56, 73, 25}, {88, 56, 73, 25}, {256, 56, 73, 25}};
        QTest::newRow("Form4") << QByteArray("1") << QGuiApplication::primaryScreen()->geometry() << QList<QRect>{{24, 24, 32, 32}, {64, 24, 280, 45}, {24, 72, 73, 25}, {104, 72, 73, 25}, {272, 72, 73, 25}};
        // clang-format on
    }
    void layout() {
        QFETCH(QByteArray, flag);
        QFETCH(QRect, window);
        QFETCH(QList<QRect>, controls);
        TestProgram t("[data]\r\n1=60\r\n2=" + flag + "\r\n");
        t.showWarning();
        WarningForm& f = t.warning();
        QWidget* w = f.window();
        QVERIFY(w->isVisible());
        if (window.x() < 0)
            QCOMPARE(w->size(), window.size());
        else
            QCOMPARE(w->geometry(), window);
        const QList<QWidget*> widgets{f.Image1, f.Label1, f.Command1, f.Command2, f.Command3};
        for (int i = 0; i < widgets.size(); ++i)
            QCOMPARE(widgets[i]->geometry(), controls[i]);
        QCOMPARE((QStringList{f.Command1->text(), f.Command2->text(), f.Command3->text()}),
                 (QStringList{"OK", "Nastavení", "Ukončit !"}));
        QCOMPARE(f.Image1->pixmap().size(), QSize(32, 32));
        QVERIFY(f.Label1->wordWrap());
        QCOMPARE(f.Label1->textFormat(), Qt::PlainText);
        for (QPushButton* b : {f.Command1, f.Command2, f.Command3}) {
            // No default button: Enter acts on the focused button only.
            QCOMPARE(b->isDefault(), b == w->focusWidget());
            QVERIFY(b->toolTip().isEmpty());
        }
        QVERIFY(!w->windowIcon().isNull());
        QCOMPARE(w->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
        if (flag == "0") {
            QCOMPARE(w->windowTitle(), QStringLiteral("Varování!"));
            QVERIFY(!(w->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint |
                                          Qt::WindowSystemMenuHint)));
        } else {
            QVERIFY(w->windowFlags() & Qt::FramelessWindowHint);
        }
        Layout::verifyAllTextsFit(w);
    }

    void focusAndTabOrder_data() { layout_data(); }
    void focusAndTabOrder() {
        QFETCH(QByteArray, flag);
        TestProgram t("[data]\r\n1=60\r\n2=" + flag + "\r\n");
        t.showWarning();
        WarningForm& f = t.warning();
        const QList<QWidget*> expected = flag == "1"
                                             ? QList<QWidget*>{f.Command3, f.Command2, f.Command1}
                                             : QList<QWidget*>{f.Command1, f.Command2, f.Command3};
        QCOMPARE(f.window()->focusWidget(), expected.first());
        QCOMPARE(Layout::tabOrder(expected.first()), expected);
    }

    void loadPlaysProgramFolderSoundAndComposes() {
        TestProgram t("[texts]\r\n1=Sedíte\r\n2=Vstaňte.\r\n[data]\r\n1=45\r\n");
        t.showWarning();
        QCOMPARE(t.platform.sounds, QStringList{t.dir.filePath("s.wav")});
        QCOMPARE(t->form1.Label1->text(), QStringLiteral("Sedíte 45 minut. Vstaňte."));
    }

    void okRestartsTheCount() {
        TestProgram t; // interval 1
        t->start();
        QCOMPARE(t.ticksToWarning(10), 6);
        t.event([&] { t->form1.Command1_Click(); });
        QVERIFY(t->form3.isLoaded());
        QCOMPARE(t->form3.window()->pos(), QPoint(0, 0));
        QCOMPARE(t.ticksToWarning(10), 6);
        QCOMPARE(t.platform.sounds.size(), 2);
    }

    void quitEndsWithoutWriting() {
        TestProgram t;
        t.showWarning();
        t.event([&] { t->form1.Command3_Click(); });
        QVERIFY(t.platform.ended);
        QCOMPARE(t.platform.endStatus, 0);
        QCOMPARE(t.ini(), t.written);
    }

    void keysOnOpeningFocus_data() {
        columns<QByteArray, int, bool>("flag", "key", "ends");
        // clang-format off
        QTest::newRow("Form1 Enter restarts") << QByteArray("0") << int(Qt::Key_Return) << false;
        QTest::newRow("Form1 Space restarts") << QByteArray("0") << int(Qt::Key_Space) << false;
        QTest::newRow("Form4 Enter ends") << QByteArray("1") << int(Qt::Key_Return) << true;
        QTest::newRow("Form4 Space ends") << QByteArray("1") << int(Qt::Key_Space) << true;
        QTest::newRow("Form1 keypad Enter restarts") << QByteArray("0") << int(Qt::Key_Enter) << false;
        QTest::newRow("Form4 keypad Enter ends") << QByteArray("1") << int(Qt::Key_Enter) << true;
        // clang-format on
    }
    void keysOnOpeningFocus() {
        QFETCH(int, key);
        QFETCH(bool, ends);
        TestProgram t("[data]\r\n1=60\r\n2=" + cell<QByteArray>("flag") + "\r\n");
        t.showWarning();
        WarningForm& f = t.warning();
        QTest::keyClick(f.window()->focusWidget(), Qt::Key(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(t.platform.ended, ends);
        QCOMPARE(t->form3.isLoaded(), !ends);
        QCOMPARE(f.isLoaded(), ends);
    }

    void closeRequestIsIgnored() {
        TestProgram t;
        t.showWarning();
        QVERIFY(!t->form1.window()->close());
        QVERIFY(t->form1.isLoaded());
        QVERIFY(t->form1.window()->isVisible());
        QVERIFY(!t.platform.ended);
    }

    void shownOnTopWithoutTakingKeyboard_data() { layout_data(); }
    void shownOnTopWithoutTakingKeyboard() {
        QFETCH(QByteArray, flag);
        TestProgram t("[data]\r\n1=60\r\n2=" + flag + "\r\n");
        t.showWarning();
        QWidget* w = t.warning().window();
        QVERIFY(w->testAttribute(Qt::WA_ShowWithoutActivating));
        QVERIFY(w->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(w->windowFlags() & Qt::WindowDoesNotAcceptFocus);
        QTest::mouseClick(t.warning().Label1, Qt::LeftButton); // the user gives it the keyboard
        QCOMPARE(t.platform.keyboardGivenTo, QList<QWidget*>{w});
        w->setWindowState(w->windowState() | Qt::WindowMinimized); // back at once
        QTRY_VERIFY(!(w->windowState() & Qt::WindowMinimized));
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowState() & Qt::WindowFullScreen, flag == "1" ? Qt::WindowFullScreen : 0);
    }

    void alreadyLoadedIsOnlyShown() {
        TestProgram t;
        t->start();
        t->form1.load();
        t->form1.Label1->setText("stale");
        t.event([&] { t->form3.Form_Click(); });
        QVERIFY(t->form1.window()->isVisible());
        QCOMPARE(t->form1.Label1->text(), QStringLiteral("stale"));
        QCOMPARE(t.platform.sounds.size(), 1); // from the explicit load only
    }

    void markupShownLiterally() {
        TestProgram t("[texts]\r\n1=<b>x</b>\r\n2=<img src=a.png>\r\n[data]\r\n1=1\r\n");
        t.showWarning();
        QCOMPARE(t->form1.Label1->text(), QStringLiteral("<b>x</b> 1 minut. <img src=a.png>"));
        QCOMPARE(t->form1.Label1->textFormat(), Qt::PlainText);
    }

    void fullScreenIsBlackWithWhiteText() {
        TestProgram t("[data]\r\n1=1\r\n2=1\r\n");
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        t.platform.screen = screen;
        t.showWarning();
        QWidget* w = t->form4.window();
        QCOMPARE(w->geometry(), screen);
        const QImage image = w->grab().toImage();
        QCOMPARE(image.pixelColor(screen.center()), QColor(Qt::black));
        QCOMPARE(image.pixelColor(screen.bottomRight()), QColor(Qt::black));
        QCOMPARE(t->form4.Label1->palette().color(QPalette::WindowText), QColor(Qt::white));
        bool white = false;
        const QRect label = t->form4.Label1->geometry();
        for (int y = label.top(); y <= label.bottom() && !white; ++y)
            for (int x = label.left(); x <= label.right() && !white; ++x)
                white = image.pixelColor(x, y).lightness() > 200;
        QVERIFY(white);
    }
};

QTEST_MAIN(WarningTest)
#include "test_warning.moc"
