#pragma once

#include "ui/Twips.h"

#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

class Window;
struct WindowStyle;

// The buttons and icon of a message box, by the values the system's message boxes give them.
enum class MessageBoxStyle {
    OkCritical = 16,       // "OK", the stop sign
    YesNoExclamation = 52, // "Ano" and "Ne", the exclamation mark
    OkInformation = 64,    // "OK", the information sign
};
// The button that closed a message box.
enum class MessageBoxAnswer { Ok = 1, Yes = 6, No = 7 };

// The message boxes' buttons in the program's language, whatever the system's.
namespace MessageBoxButtons {
constexpr std::u16string_view Ok = u"OK";
constexpr std::u16string_view Yes = u"Ano";
constexpr std::u16string_view No = u"Ne";
} // namespace MessageBoxButtons

// A report on the screen beside the program's windows (see Runtime::report).
class Report {
  public:
    virtual ~Report() = default;
    // Whether it is still there: the user has not closed it.
    virtual bool isOpen() const = 0;
    // Brings it above every window once the event at hand is over (a warning shown meanwhile).
    virtual void raise() = 0;

    // Where a report's box of `width` by `height` goes in the work area of its screen: across
    // the middle, an eighth of the area's height above its bottom, clear of a warning in the
    // middle of the screen; never above or left of the area.
    static TwipsRect place(const TwipsRect& area, int width, int height) {
        return {std::max(area.left, area.left + (area.width - width) / 2),
                std::max(area.top, area.bottom() - area.height / 8 - height), width, height};
    }
};

// The toolkit the forms are drawn with: windows and their controls, message boxes, the
// screens, and ending the program. Each platform implements it natively; the tests pass a
// recording fake.
class Runtime {
  public:
    // What end() throws where it cannot end the process (a test's runtime): the event
    // boundary lets it pass quietly, so nothing after the end runs.
    struct Ended {};

    virtual ~Runtime() = default;

    virtual std::unique_ptr<Window> createWindow(const WindowStyle& style) = 0;
    // Shows a modal message box with plain text and returns the button pressed.
    virtual MessageBoxAnswer messageBox(std::u16string_view text, MessageBoxStyle style,
                                        std::u16string_view title) = 0;
    // Shows a report once the event at hand is over, and returns at once: plain text with "OK",
    // where Report::place puts it, on top of every window but holding none (their buttons stay
    // usable beside it), and taking the keyboard only when the user asks for it (a click).
    virtual std::unique_ptr<Report> report(std::u16string_view text, std::u16string_view title) = 0;
    // Runs the event loop until the program ends; returns its exit status.
    virtual int run() = 0;
    // Ends the program at once; never returns.
    [[noreturn]] virtual void end(int status = 0) = 0;
    // The primary screen, and the others.
    virtual TwipsRect primaryScreen() = 0;
    virtual std::vector<TwipsRect> otherScreens() = 0;
};
