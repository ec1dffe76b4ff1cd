#pragma once

// A control runtime that draws nothing: it keeps what each window and control was told to
// show, in twips, for the tests to read, and records message boxes, modal showings and the
// end. What windows and controls do with keys, focus and values is the program's own.

#include "ui/CheckBox.h"
#include "ui/CommandButton.h"
#include "ui/HScrollBar.h"
#include "ui/Label.h"
#include "ui/Line.h"
#include "ui/Picture.h"
#include "ui/Runtime.h"
#include "ui/TextBox.h"
#include "ui/Timer.h"
#include "ui/Window.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class FakeWindow;

// What every fake control keeps.
struct FakeProperties {
    FakeProperties(FakeWindow& window, const TwipsRect& box) : window(window), box(box) {}
    virtual ~FakeProperties() = default;
    FakeWindow& window;
    TwipsRect box;
    bool visible = true;
    std::u16string tip;
    std::u16string name;
};

template <typename Interface> class FakeControl : public Interface, public FakeProperties {
  public:
    FakeControl(FakeWindow& window, const TwipsRect& box);
    void setGeometry(const TwipsRect& b) override { box = b; }
    TwipsRect geometry() const override { return box; }
    void setVisible(bool v) override { visible = v; }
    bool isVisible() const override { return visible; }
    void setToolTip(std::u16string_view t) override { tip = t; }
    void setAccessibleName(std::u16string_view n) override { name = n; }
    void setFocus() override;
};

struct FakeLabel final : FakeControl<Label> {
    FakeLabel(FakeWindow& w, std::u16string_view c, const TwipsRect& b)
        : FakeControl(w, b), text(c) {}
    void setCaption(std::u16string_view c) override { text = c; }
    std::u16string caption() const override { return text; }
    void setWordWrap(bool w) override { wordWrap = w; }
    void setAutoSize(bool a) override { autoSize = a; }
    void setBackColour(Colour c) override { back = c; }
    void setForeColour(Colour c) override { fore = c; }
    void setFont(const Font& f) override { font = f; }
    void setMousePointer(MousePointer p) override { pointer = p; }
    std::u16string text;
    bool wordWrap = false, autoSize = false;
    Colour back = Colour::White, fore = Colour::WindowText; // White: none, the window's own
    Font font;
    MousePointer pointer = MousePointer::Default;
};

struct FakeButton final : FakeControl<CommandButton> {
    FakeButton(FakeWindow& w, std::u16string_view c, const TwipsRect& b)
        : FakeControl(w, b), text(c) {}
    std::u16string caption() const override { return text; }
    void markAsDefault(bool m) override { marked = m; }
    std::u16string text;
    bool marked = false; // shown as the button Enter presses
};

struct FakeTextBox final : FakeControl<TextBox> {
    FakeTextBox(FakeWindow& w, std::u16string_view t, const TwipsRect& b)
        : FakeControl(w, b), value(t) {}
    void setText(std::u16string_view t) override {
        if (std::exchange(value, std::u16string(t)) != t)
            textWasChanged();
    }
    std::u16string text() const override { return value; }
    void setMaxLength(int units) override { maxLength = units; }
    std::u16string value;
    int maxLength = 0;
};

struct FakeCheckBox final : FakeControl<CheckBox> {
    FakeCheckBox(FakeWindow& w, std::u16string_view c, const TwipsRect& b)
        : FakeControl(w, b), caption(c) {}
    void showChecked(bool c) override { checked = c; }
    bool isChecked() const override { return checked; }
    std::u16string caption;
    bool checked = false;
};

struct FakeScrollBar final : FakeControl<HScrollBar> {
    using FakeControl::FakeControl;
    void showRange(int lo, int hi) override { low = lo, high = hi; }
    void showSteps(int s, int l) override { small = s, large = l; }
    void showValue(int v) override { thumb = v; }
    int low = 0, high = 100, small = 1, large = 10, thumb = 0;
};

struct FakePicture final : FakeControl<Picture> {
    using FakeControl::FakeControl;
};

struct FakeLine final : FakeControl<Line> {
    FakeLine(FakeWindow& w, const TwipsRect& b, Colour c) : FakeControl(w, b), colour(c) {}
    Colour colour;
};

struct FakeTimer final : Timer {
    FakeTimer(Window& w, int ms) : Timer(w), milliseconds(ms) {}
    void setEnabled(bool e) override { enabled = e; }
    bool isEnabled() const override { return enabled; }
    int interval() const override { return milliseconds; }
    int milliseconds;
    bool enabled = true;
};

class FakeRuntime;

class FakeWindow final : public Window {
  public:
    enum class Shown { No, Plainly, AsWarning, Modally };

    FakeWindow(FakeRuntime& runtime, const WindowStyle& style) : runtime(runtime), style(style) {}
    ~FakeWindow() override;

    template <typename T, typename... A> T* add(A&&... a) {
        auto control = std::make_unique<T>(*this, std::forward<A>(a)...);
        T* raw = control.get();
        controls.push_back(std::move(control));
        return raw;
    }
    Label* addLabel(std::u16string_view c, const TwipsRect& b) override {
        return add<FakeLabel>(c, b);
    }
    CommandButton* addCommandButton(std::u16string_view c, const TwipsRect& b) override {
        return add<FakeButton>(c, b);
    }
    TextBox* addTextBox(std::u16string_view t, const TwipsRect& b) override {
        return add<FakeTextBox>(t, b);
    }
    CheckBox* addCheckBox(std::u16string_view c, const TwipsRect& b) override {
        return add<FakeCheckBox>(c, b);
    }
    HScrollBar* addHScrollBar(const TwipsRect& b) override { return add<FakeScrollBar>(b); }
    Picture* makeWarningPicture(int l, int t) override {
        return add<FakePicture>(TwipsRect{l, t, Picture::SizeTwips, Picture::SizeTwips});
    }
    Line* makeLine(int l, int r, int y, Colour c) override {
        return add<FakeLine>(TwipsRect{l, y, r - l, 15}, c);
    }
    Timer* addTimer(int ms) override {
        timers.push_back(std::make_unique<FakeTimer>(*this, ms));
        return timers.back().get();
    }
    void setCaption(std::u16string_view c) override { title = c; }
    std::u16string caption() const override { return title; }
    void setGeometry(const TwipsRect& b) override { box = b; }
    void setSize(int w, int h) override { box.width = w, box.height = h; }
    TwipsRect geometry() const override { return box; }
    void setBackColour(Colour c) override { back = c; }
    void setAccessibleName(std::u16string_view n) override { name = n; }
    void show() override { shown = Shown::Plainly; }
    void showAsWarning() override { shown = Shown::AsWarning; }
    void showModal() override;
    bool isVisible() const override { return shown != Shown::No; }
    void takeKeyboard() override;
    Control* focusedControl() const override { return focus; }
    void placeInTabOrder(Control* previous, Control& next) override {
        if (!previous)
            tabOrder.clear();
        tabOrder.push_back(&next);
    }
    void hideAndDestroyLater() override;

    // A key as a toolkit passes it on: Space to the focused button, which Enter presses too;
    // Enter and Escape otherwise to the window.
    enum class Key { Enter, Space, Escape };
    void press(Key key) {
        auto* button = dynamic_cast<FakeButton*>(focus);
        if (key == Key::Space && button)
            button->userPressed();
        else if (key != Key::Space)
            keyPressed(key == Key::Enter ? Window::Key::Enter : Window::Key::Escape);
    }

    FakeRuntime& runtime;
    const WindowStyle style;
    std::u16string title, name;
    TwipsRect box;
    Colour back = Colour::White; // White: none, the desktop's own
    std::vector<Control*> tabOrder;
    Control* focus = nullptr;
    Shown shown = Shown::No;
    std::vector<std::unique_ptr<Control>> controls;
    std::vector<std::unique_ptr<Timer>> timers;
};

template <typename I>
FakeControl<I>::FakeControl(FakeWindow& window, const TwipsRect& box)
    : I(window), FakeProperties(window, box) {}
template <typename I> void FakeControl<I>::setFocus() {
    window.focus = this;
    window.focusMoved();
}

class FakeRuntime final : public Runtime {
  public:
    struct Box {
        std::u16string text;
        MessageBoxStyle style = MessageBoxStyle::OkCritical;
        std::u16string title;
        bool operator==(const Box&) const = default;
        friend std::ostream& operator<<(std::ostream& out, const Box& b) {
            return out << Utf8::encode(b.title + u": " + b.text);
        }
    };
    std::vector<Box> boxes;
    // The reports shown beside the windows, each with how often it was raised; closed by the test.
    struct ShownReport {
        Box box;
        bool open = true;
        int raised = 0;
    };
    std::vector<std::shared_ptr<ShownReport>> reports;
    std::vector<MessageBoxAnswer> answers; // for Yes/No boxes; "Ne" when none is scripted
    bool ended = false;
    int endStatus = -1;
    TwipsRect screen{0, 0, 12000, 12000}; // 800 pixels square
    std::vector<TwipsRect> others;        // further screens
    std::vector<FakeWindow*> windows;     // those that exist now, oldest first
    int modalRuns = 0;
    std::function<void(Window&)> duringModal; // what the user does while a dialog is modal
    std::function<void()> duringBox;          // what arrives while a message box waits
    std::vector<Window*> keyboardGivenTo;

    std::unique_ptr<Window> createWindow(const WindowStyle& style) override {
        auto window = std::make_unique<FakeWindow>(*this, style);
        windows.push_back(window.get());
        return window;
    }
    void forget(FakeWindow* window) { std::erase(windows, window); }
    MessageBoxAnswer messageBox(std::u16string_view text, MessageBoxStyle style,
                                std::u16string_view title) override {
        boxes.push_back({std::u16string(text), style, std::u16string(title)});
        if (duringBox)
            std::exchange(duringBox, nullptr)();
        if (style != MessageBoxStyle::YesNoExclamation)
            return MessageBoxAnswer::Ok;
        if (answers.empty())
            return MessageBoxAnswer::No;
        const MessageBoxAnswer answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    std::unique_ptr<Report> report(std::u16string_view text, std::u16string_view title) override {
        struct Handle final : Report {
            std::shared_ptr<ShownReport> shown;
            bool isOpen() const override { return shown->open; }
            void raise() override { ++shown->raised; }
        };
        auto handle = std::make_unique<Handle>();
        handle->shown = std::make_shared<ShownReport>(ShownReport{
            {std::u16string(text), MessageBoxStyle::OkCritical, std::u16string(title)}});
        reports.push_back(handle->shown);
        return handle;
    }
    int run() override { return 0; }
    [[noreturn]] void end(int status) override {
        ended = true;
        endStatus = status;
        throw Ended{};
    }
    TwipsRect primaryScreen() override { return screen; }
    std::vector<TwipsRect> otherScreens() override { return others; }
    // Destroys the windows let go of, as the event loop does once an event is over.
    void settle() { doomed.clear(); }

    std::vector<std::unique_ptr<Window>> doomed;
};

inline FakeWindow::~FakeWindow() {
    runtime.forget(this);
}
inline void FakeWindow::showModal() {
    shown = Shown::Modally;
    ++runtime.modalRuns;
    if (runtime.duringModal)
        runtime.duringModal(*this);
}
inline void FakeWindow::takeKeyboard() {
    runtime.keyboardGivenTo.push_back(this);
}
inline void FakeWindow::hideAndDestroyLater() {
    shown = Shown::No;
    runtime.doomed.emplace_back(this);
}
