#pragma once

#include "TestData.h"
#include "ui/Platform.h"
#include "ui/QtText.h"

#include <QFileInfo>
#include <QList>
#include <QRect>
#include <QStringList>
#include <QVector>
#include <QWidget>
#include <QtTest>

#include <functional>

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

    MessageBoxAnswer messageBox(std::u16string_view text, MessageBoxStyle style,
                                std::u16string_view title) override {
        boxes.append({qt(text), style, qt(title)});
        if (style != MessageBoxStyle::YesNoExclamation)
            return MessageBoxAnswer::Ok;
        return answers.isEmpty() ? MessageBoxAnswer::No : answers.takeFirst();
    }
    [[noreturn]] void end(int status) override {
        ended = true;
        endStatus = status;
        throw Ended{};
    }
    void playSound(std::u16string_view path) override { sounds.append(qt(path)); }
    void openUrl(std::u16string_view url) override { urls.append(qt(url)); }
    QRect screenGeometry() override { return screen; }
    QList<QRect> otherScreens() override { return others; }
    void watchScreens(QObject&, std::function<void()> changed) override {
        screensChanged = std::move(changed);
    }
    std::u16string programFolder() override { return text(folder); }
    bool fileExists(std::u16string_view path) override { // as the real one: no hidden file
        const QFileInfo file(qt(path));
        return file.isFile() && !file.isHidden();
    }
    NumberFormat numberFormat() override { return formatOf(userLocale); }
    void keepOffTaskbar(QWidget&) override {}
    void takeKeyboard(QWidget& window) override { keyboardGivenTo.append(&window); }
    void takeKeyboardWhenOffered(QWidget&) override {}
    void showWarning(QWidget& window) override { window.show(); }
    std::int64_t clockMicroseconds() override { return clock; }
    std::int64_t sleptMicroseconds() override { return slept; }
    bool sessionLocked() override { return locked; }
    std::int64_t idleMicroseconds() override { return idle; }
    void watchSession(std::function<void()> changed) override {
        sessionChanged = std::move(changed);
    }
    void runModal(QWidget& window) override {
        ++modalRuns;
        if (duringModal)
            duringModal(window);
    }
};
