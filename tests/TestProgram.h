#pragma once

#include "TestData.h"
#include "app/Program.h"
#include "linux/LinuxFiles.h"
#include "settings/ClickLabel.h" // the forms' controls, for the tests to work them
#include "settings/KeyScrollBar.h"
#include "settings/WrapCheckBox.h"
#include "ui/Platform.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

// A platform that records what the program asks of the world and answers from a script.
class FakePlatform final : public Platform {
  public:
    struct Box {
        QString text;
        MessageBoxStyle style = MessageBoxStyle::OkCritical;
        QString title;
        bool operator==(const Box&) const = default;
        friend char* toString(const Box& b) { return QTest::toString(b.title + ": " + b.text); }
    };

    using Boxes = QVector<Box>;
    Boxes boxes;
    QList<MessageBoxAnswer> answers; // for Yes/No boxes; "Ne" when none is scripted
    bool ended = false;
    int endStatus = -1;
    QStringList sounds;
    QStringList urls;
    QRect screen{0, 0, 800, 800}; // the offscreen platform's screen
    QList<QRect> others;          // further screens
    std::function<void()> screensChanged;
    qint64 clock = 0; // microseconds, sleep included
    qint64 slept = 0; // of which asleep
    bool locked = false;
    qint64 idle = -1; // since the last input; -1: not told
    std::function<void()> sessionChanged;
    QString folder;
    QLocale userLocale = QLocale::c();
    int modalRuns = 0;
    QList<QWidget*> keyboardGivenTo;
    std::function<void(QWidget&)> duringModal; // what the user does while a dialog is modal

    MessageBoxAnswer messageBox(const QString& text, MessageBoxStyle style,
                                const QString& title) override {
        boxes.append({text, style, title});
        if (style != MessageBoxStyle::YesNoExclamation)
            return MessageBoxAnswer::Ok;
        return answers.isEmpty() ? MessageBoxAnswer::No : answers.takeFirst();
    }
    [[noreturn]] void end(int status) override {
        ended = true;
        endStatus = status;
        throw Ended{};
    }
    void playSound(const QString& path) override { sounds.append(path); }
    void openUrl(const QString& url) override { urls.append(url); }
    QRect screenGeometry() override { return screen; }
    QList<QRect> otherScreens() override { return others; }
    void watchScreens(QObject&, std::function<void()> changed) override {
        screensChanged = std::move(changed);
    }
    QString programFolder() override { return folder; }
    bool fileExists(const QString& path) override { return QFileInfo(path).isFile(); }
    QLocale locale() override { return userLocale; }
    void keepOffTaskbar(QWidget&) override {}
    void takeKeyboard(QWidget& window) override { keyboardGivenTo.append(&window); }
    void takeKeyboardWhenOffered(QWidget&) override {}
    void showWarning(QWidget& window) override { window.show(); }
    qint64 clockMicroseconds() override { return clock; }
    qint64 sleptMicroseconds() override { return slept; }
    bool sessionLocked() override { return locked; }
    qint64 idleMicroseconds() override { return idle; }
    void watchSession(std::function<void()> changed) override {
        sessionChanged = std::move(changed);
    }
    void runModal(QWidget& window) override {
        ++modalRuns;
        if (duringModal)
            duringModal(window);
    }
};

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

// Checks shared by the window layout tests.
namespace Layout {

// The widgets that take the keyboard focus with Tab, in the order Tab visits them,
// starting from `first`.
inline QList<QWidget*> tabOrder(QWidget* first) {
    QList<QWidget*> order;
    QWidget* w = first;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled())
            order.append(w);
        w = w->nextInFocusChain();
    } while (w && w != first && order.size() < 50);
    return order;
}

// True when the control's text is drawn inside its box, nothing cut off.
inline bool textFits(const QWidget* w, QString* why) {
    const QFontMetrics metrics(w->font());
    QString name;
    QRect box = w->rect();
    QRect need;
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->text().isEmpty())
            return true;
        name = label->objectName().isEmpty() ? label->text() : label->objectName();
        const int flags = label->wordWrap() ? Qt::TextWordWrap : 0;
        need.setSize(
            metrics.boundingRect(QRect(0, 0, box.width(), 10000), flags, label->text()).size());
    } else if (const auto* check = qobject_cast<const WrapCheckBox*>(w)) {
        name = check->text();
        box = check->captionRect();
        need = metrics.boundingRect(box, WrapCheckBox::CaptionFlags, check->text());
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        name = button->text();
        need.setSize({metrics.horizontalAdvance(name) + 8, metrics.height() + 4});
    } else {
        return true;
    }
    QDebug(why).noquote() << name << "needs" << need.size() << "in" << box.size();
    return box.contains(need);
}

inline void verifyAllTextsFit(QWidget* window) {
    const QString family = QFontInfo(window->font()).family();
    QVERIFY2(family.contains("Liberation") || family.contains("Arial"), qPrintable(family));
    for (QWidget* w : window->findChildren<QWidget*>()) {
        QString why;
        QVERIFY2(textFits(w, &why), qPrintable(why));
    }
}

} // namespace Layout
