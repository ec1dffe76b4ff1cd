// What the Qt runtime makes of the forms: pixels from twips, window flags, texts that fit
// their boxes, the keys, the mouse, focus and the timer, on the real widgets.
#include "Geometry.h"
#include "Layout.h"
#include "TestData.h"
#include "TestProgram.h"
#include "linux/QtRuntime.h"
#include "linux/QtTimer.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

// The Qt runtime, but for what would block a test or end it: message boxes are recorded and
// answered "Ne", the end is thrown.
class QtTestRuntime final : public QtRuntime {
  public:
    std::vector<std::u16string> boxes;
    MessageBoxAnswer messageBox(std::u16string_view text, MessageBoxStyle,
                                std::u16string_view) override {
        boxes.emplace_back(text);
        return MessageBoxAnswer::No;
    }
    [[noreturn]] void end(int) override {
        ended = true;
        throw Ended{};
    }
    bool ended = false;
    int modalRuns = 0;
};

using Q = TestProgram<QtTestRuntime>;

template <> void Q::settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
template <> int Q::modalRuns() {
    return runtime.modalRuns;
}
// The dialog runs its own event loop: the test acts from inside it, then closes the dialog.
template <> void Q::setDuringModal(std::function<void()> during) {
    if (during)
        QTimer::singleShot(0, [this, during] {
            ++runtime.modalRuns;
            during();
            program->form2.unload();
        });
}

namespace {

QWidget* widget(Control* control) {
    return dynamic_cast<QWidget*>(control);
}
QWidget* widget(Window* window) {
    return dynamic_cast<QWidget*>(window);
}
QRect rectOf(Control* control) {
    return widget(control)->geometry();
}
// Where a control of the layout must be, in Qt's pixels.
QRect pixelsOf(const TwipsRect& box) {
    return {Twips::toPixels(box.left), Twips::toPixels(box.top), Twips::toPixels(box.width),
            Twips::toPixels(box.height)};
}

} // namespace

class QtRuntimeTest : public QObject {
    Q_OBJECT

  private slots:
    void monitorAndTimer() {
        Q t;
        t->start();
        QWidget* w = widget(t->form3.window());
        QVERIFY(w->isVisible());
        QCOMPARE(w->geometry(), QRect(0, 0, 8, 8));
        QVERIFY(w->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(w->windowFlags() & Qt::WindowDoesNotAcceptFocus);
        QCOMPARE(w->windowFlags() & Qt::WindowType_Mask, Qt::Tool); // no task-bar entry
        QImage black(8, 8, QImage::Format_ARGB32);
        black.fill(Qt::black);
        QCOMPARE(w->grab().toImage().convertToFormat(QImage::Format_ARGB32), black);
        auto* timer = dynamic_cast<QtTimer*>(t->form3.Timer1);
        QCOMPARE(timer->timerType(), Qt::PreciseTimer);
        QCOMPARE(timer->QTimer::interval(), 10000);
        QVERIFY(timer->isActive());
        int changes = 0; // another resolution is a change of the screens, as on Windows
        t->form3.window()->ScreensChanged = [&] { ++changes; };
        emit QGuiApplication::primaryScreen()->geometryChanged(QRect(0, 0, 800, 600));
        QCOMPARE(changes, 1);
        // Screens left of and above the primary one come back where they were.
        QCOMPARE(pixels(twips(QRect(-1920, -7, 1920, 1080))), QRect(-1920, -7, 1920, 1080));
        // A real tick, shortened: the precise timer fires on its grid, not late by its slack.
        Q u("[data]\r\n1=.16666667\r\n");
        u->start();
        dynamic_cast<QtTimer*>(u->form3.Timer1)->setInterval(50);
        QElapsedTimer clock;
        clock.start();
        QTRY_VERIFY_WITH_TIMEOUT(u->form1.isLoaded(), 2000);
        QVERIFY(clock.elapsed() >= 45);
    }

    void warnings_data() {
        columns<QByteArray, QSize, int>("flag", "window", "offset");
        QTest::newRow("Form1") << QByteArray("0") << pixelsOf(Geometry::Form1).size() << 0;
        QTest::newRow("Form4") << QByteArray("1") << QGuiApplication::primaryScreen()->size()
                               << Geometry::Form4Offset;
    }
    void warnings() {
        QFETCH(QByteArray, flag);
        Q t("[data]\r\n1=60\r\n2=" + flag.toStdString() + "\r\n");
        t.runtime.boxes.clear();
        t.showWarning();
        WarningForm& f = t.warning();
        QWidget* w = widget(f.window());
        QVERIFY(w->isVisible());
        QTEST(w->size(), "window");
        for (const auto& [control, box] : Geometry::warning(f, cell<int>("offset")))
            QCOMPARE(rectOf(control), pixelsOf(box));
        QCOMPARE(static_cast<QLabel*>(widget(f.Image1))->pixmap().size(), QSize(32, 32));
        QCOMPARE(static_cast<QLabel*>(widget(f.Label1))->textFormat(), Qt::PlainText);
        QVERIFY(!w->windowIcon().isNull());
        QCOMPARE(w->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(!(w->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint |
                                      Qt::WindowSystemMenuHint)));
        QCOMPARE(bool(w->windowFlags() & Qt::FramelessWindowHint), flag == "1");
        QVERIFY(w->testAttribute(Qt::WA_ShowWithoutActivating));
        QVERIFY(w->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(w->windowFlags() & Qt::WindowDoesNotAcceptFocus);
        Layout::verifyAllTextsFit(w);
        // Focus and Tab as the layout orders them; the focused button is the one Enter presses.
        const QList<QWidget*> order =
            flag == "1" ? QList{widget(f.Command3), widget(f.Command2), widget(f.Command1)}
                        : QList{widget(f.Command1), widget(f.Command2), widget(f.Command3)};
        QCOMPARE(w->focusWidget(), order.first());
        QCOMPARE(Layout::tabOrder(order.first()), order);
        for (QWidget* b : order)
            QCOMPARE(static_cast<QPushButton*>(b)->isDefault(), b == w->focusWidget());
        QVERIFY(!w->close()); // Alt+F4 is only announced, and no one listens
        QVERIFY(f.isLoaded() && w->isVisible());
        w->setWindowState(w->windowState() | Qt::WindowMinimized); // back at once
        QTRY_VERIFY(!(w->windowState() & Qt::WindowMinimized));
        QCOMPARE(w->windowState() & Qt::WindowFullScreen, flag == "1" ? Qt::WindowFullScreen : 0);
        if (flag == "1") { // black, white text
            const QImage image = w->grab().toImage();
            QCOMPARE(image.pixelColor(w->rect().bottomRight()), QColor(Qt::black));
            bool white = false;
            const QRect label = rectOf(f.Label1);
            for (int y = label.top(); y <= label.bottom() && !white; ++y)
                for (int x = label.left(); x <= label.right() && !white; ++x)
                    white = image.pixelColor(x, y).lightness() > 200;
            QVERIFY(white);
        }
        QTest::mouseClick(widget(f.Label1), Qt::LeftButton); // the user gives it the keyboard
        QVERIFY(!(w->windowFlags() & Qt::WindowDoesNotAcceptFocus));
    }

    void warningKeys_data() {
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
    void warningKeys() {
        QFETCH(int, key);
        QFETCH(bool, ends);
        Q t("[data]\r\n1=60\r\n2=" + cell<QByteArray>("flag").toStdString() + "\r\n");
        t.showWarning();
        WarningForm& f = t.warning();
        QTest::keyClick(widget(f.window())->focusWidget(), Qt::Key(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        t.settle();
        QCOMPARE(t.runtime.ended, ends);
        QCOMPARE(t->form3.isLoaded(), !ends);
        QCOMPARE(f.isLoaded(), ends);
    }

    void dialog_data() {
        QTest::addColumn<bool>("expanded");
        QTest::newRow("collapsed") << false;
        QTest::newRow("expanded") << true;
    }
    void dialog() {
        QFETCH(bool, expanded);
        Q t("[data]\r\n1=60\r\n");
        t.inDialog([&](Form2& d) {
            QWidget* w = widget(d.window());
            QCOMPARE(w->windowModality(), Qt::ApplicationModal);
            if (expanded)
                QTest::keyClick(widget(d.HScroll1), Qt::Key_Escape); // the about panel
            QCOMPARE(w->size(),
                     pixelsOf({0, 0, Geometry::DialogWidth,
                               expanded ? Geometry::DialogExpandedHeight : Geometry::DialogHeight})
                         .size());
            QVERIFY(w->minimumSize() == w->maximumSize()); // fixed frame
            QVERIFY(!(w->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint)));
            for (const auto& [control, box] : Geometry::dialog(d))
                QCOMPARE(rectOf(control), pixelsOf(box));
            // The labels that size themselves: placed by their corner, inside when expanded.
            for (Label* label : {d.Label3, d.Label5, d.Label6, d.Label7, d.Label8, d.Label9}) {
                QWidget* l = widget(label);
                QCOMPARE(l->size(), l->sizeHint());
                if (expanded)
                    QVERIFY(w->rect().contains(l->geometry()));
            }
            for (const auto& [label, corner] : Geometry::dialogCorners(d))
                QCOMPARE(widget(label)->pos(),
                         QPoint(Twips::toPixels(corner.first), Twips::toPixels(corner.second)));
            QVERIFY(widget(d.Label5)->font().bold() && widget(d.Label8)->font().pixelSize() == 13);
            QCOMPARE(widget(d.Label8)->cursor().shape(), Qt::WhatsThisCursor);
            QCOMPARE(widget(d.Label4)->backgroundRole(), QPalette::Dark);
            QVERIFY(widget(d.Label4)->autoFillBackground());
            QCOMPARE(widget(d.Line3)->palette().color(QPalette::Window), QColor(128, 128, 128));
            QCOMPARE(widget(d.Line4)->palette().color(QPalette::Window), QColor(224, 224, 224));
            for (QLabel* label : w->findChildren<QLabel*>())
                QCOMPARE(label->textFormat(), Qt::PlainText);
            Layout::verifyAllTextsFit(w);
            d.Saved = ReminderState::True;
        });
    }

    void questionIsAnsweredByItsButtonsAlone() {
        // Escape and a close request leave the question open, as on Windows: neither may
        // answer "Ne" and throw the dialog's edits away.
        QtRuntime runtime;
        QWidget dialog; // the window the user works in: the question comes over it
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        bool stayed = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QTest::keyClick(box, Qt::Key_Escape);
            box->close();
            stayed = box->isVisible() && box->parentWidget() == &dialog;
            for (QAbstractButton* button : box->buttons())
                if (button->text() == QStringLiteral("Ano"))
                    button->click();
        });
        QCOMPARE(runtime.messageBox(u"?", MessageBoxStyle::YesNoExclamation, u"Varování"),
                 MessageBoxAnswer::Yes);
        QVERIFY(stayed);
    }

    void dialogKeysMouseAndFocus() {
        Q t("[data]\r\n1=60\r\n");
        t.inDialog([&](Form2& d) {
            QWidget* w = widget(d.window());
            auto* text1 = static_cast<QLineEdit*>(widget(d.Text1));
            std::unique_ptr<QMenu> menu(text1->createStandardContextMenu()); // at a right click
            QStringList items;
            for (const QAction* action : menu->actions())
                items << action->text().section(QLatin1Char('\t'), 0, 0);
            QCOMPARE(
                items.join(QLatin1Char('|')),
                QStringLiteral("&Zpět|&Znovu||Vyj&mout|&Kopírovat|V&ložit|Odstranit||Vybrat vše"));
            QCOMPARE(QScrollBar::tr("Scroll here"), QStringLiteral("Posunout sem"));
            QTest::keyClick(text1, Qt::Key_Escape);
            QCOMPARE(w->height(), 329);
            QTest::keyClick(text1, Qt::Key_Escape);
            QCOMPARE(w->height(), 215);
            QTest::keyClick(text1, Qt::Key_Return); // saves
            QCOMPARE(d.Saved, ReminderState::True);
            d.Saved = 0;
            QTest::keyClick(widget(d.HScroll1), Qt::Key_Enter, Qt::KeypadModifier); // the keypad's
            QCOMPARE(d.Saved, ReminderState::True);
            d.Saved = 0;
            // The slider's keys, each from 60, and a drag of its thumb.
            auto* slider = static_cast<QScrollBar*>(widget(d.HScroll1));
            const QList<std::pair<Qt::Key, int>> keys{{Qt::Key_Left, 59},   {Qt::Key_Up, 59},
                                                      {Qt::Key_Right, 61},  {Qt::Key_Down, 61},
                                                      {Qt::Key_PageUp, 59}, {Qt::Key_PageDown, 61},
                                                      {Qt::Key_Home, 1},    {Qt::Key_End, 180}};
            for (const auto& [key, minutes] : keys) {
                slider->setValue(60);
                QTest::keyClick(slider, key);
                QCOMPARE(t->shared.state.IntervalMinutes, float(minutes));
            }
            slider->setSliderDown(true);
            slider->setSliderPosition(100);
            QCOMPARE(d.Label4->caption(), u"... 100 minut. ...");
            slider->setSliderDown(false);
            QWidget* check = widget(d.Check1);
            QTest::mouseClick(check, Qt::LeftButton, {},
                              check->rect().bottomRight()); // the caption
            QCOMPARE(t->shared.state.HideDesktop, ReminderState::True);
            static_cast<QCheckBox*>(check)->toggle(); // as a screen reader's action does
            QCOMPARE(t->shared.state.HideDesktop, ReminderState::False);
            // The preview is plain text: were it rich text, these would draw the same.
            const QImage shown = widget(d.Label4)->grab().toImage();
            d.Text1->setText(u"&lt;b&gt;...&lt;/b&gt;");
            QVERIFY(widget(d.Label4)->grab().toImage() != shown);
            // Enter's button is marked: the focused button, else "Uložit".
            QApplication::setActiveWindow(w); // as the window manager does at the click
            const QList<QPushButton*> buttons = w->findChildren<QPushButton*>();
            for (QWidget* focus : Layout::tabOrder(widget(d.HScroll1))) {
                focus->setFocus();
                auto* button = qobject_cast<QPushButton*>(focus);
                for (QPushButton* b : buttons)
                    QCOMPARE(b->isDefault(), b == (button ? button : widget(d.Command1)));
            }
            QCOMPARE(Layout::tabOrder(widget(d.HScroll1)).size(), 8);
            QVERIFY(!w->close()); // Alt+F4: goes through "Zavřít", prompt included
            QCOMPARE(t.runtime.boxes.size(), 1u);
            QVERIFY(!d.isLoaded());
        });
        QVERIFY(!t->form2.isLoaded());
        Q u;
        u.inDialog([&](Form2& d) { QTest::mouseClick(widget(d.Label8), Qt::LeftButton); });
        QCOMPARE(u.system.urls.size(), 1u); // the web link
    }
};

QTEST_MAIN(QtRuntimeTest)
#include "test_qt_runtime.moc"
