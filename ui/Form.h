#pragma once

#include "ui/Event.h"
#include "ui/Guard.h"
#include "ui/Runtime.h"
#include "ui/Window.h"

#include <memory>
#include <utility>
#include <vector>

struct Shared;
class System;

// One form of the program: an object that lives for the whole run (its variables
// outlive its window) and builds its window and controls when loaded.
//
// Names: the controls (Label4, Command1, HScroll1, ...), their handlers Control_Event
// (Command1_Click, Form_Load, Timer1_Timer) and the PascalCase procedures (ShowWarning,
// SaveSettings) and variables (UnCas, Saved) keep the forms' established names, each with
// a short gloss where it is declared; camelCase names are the helpers of this code.
class Form {
  public:
    Form(Shared& shared, Runtime& runtime, System& system)
        : shared_(shared), runtime_(runtime), system_(system) {}
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    bool isLoaded() const { return window_ != nullptr; }
    Window* window() const { return window_.get(); }

    // Builds the window with its design-time values, then runs Form_Load.
    void load();
    // Shows the window, loading it first when it is not loaded.
    void show();
    // Destroys the window and its controls; the object and its variables stay. Safe from
    // inside one of the window's own handlers: the window goes once the event is over.
    void unload();

    virtual void Form_Load() {}

    // What an event is to a form that waits in a message box or a modal window, its window
    // blocked meanwhile: the user's input (a click, a key, a close request, whoever sent it) is
    // dropped; news (a tick, the screens or the session changed) is held, and comes once, when
    // the wait is over. Either way no handler runs again inside one that has not finished.
    enum class Kind { Input, News };

    // A handler of this form as an event calls it: through the guard that reports run-time
    // errors, the one way events reach a form.
    template <typename Derived> Event guarded(void (Derived::*handler)(), Kind kind = Kind::Input) {
        auto* self = static_cast<Derived*>(this);
        auto held = std::make_shared<bool>(false); // news of this event waits already
        return [this, self, handler, kind, held] {
            const auto run = [this, self, handler] {
                runGuarded(runtime_, [self, handler] { (self->*handler)(); });
            };
            if (waiting_ == 0)
                run();
            else if (kind == Kind::News && !std::exchange(*held, true))
                news_.push_back([held, run] {
                    *held = false;
                    run();
                });
        };
    }

  protected:
    // Creates the window and its controls in their design-time state.
    virtual std::unique_ptr<Window> createWindow() = 0;
    // Makes the loaded window visible.
    virtual void showWindow(Window& window);
    // Shows the loaded window as show() does, from within the load (the monitor is seen at once).
    void showLoadedWindow();
    // Lets the form stop what must not outlive the window (its timer, its other windows).
    virtual void beforeUnload() {}

    // Shows a message box over this form and waits for the answer, the form blocked meanwhile.
    MessageBoxAnswer messageBox(std::u16string_view text, MessageBoxStyle style,
                                std::u16string_view title);
    // Shows another form modally (`showDialog` returns when it has gone), this form blocked
    // meanwhile.
    void showModal(const Event& showDialog);

    // Connects an event of a control or of the window to a handler of this form, guarded.
    template <typename Derived>
    void on(Event& event, void (Derived::*handler)(), Kind kind = Kind::Input) {
        event = guarded(handler, kind);
    }

    Shared& shared_; // the state the forms share
    Runtime& runtime_;
    System& system_;

  private:
    // Marks the form blocked for as long as it lives.
    class Waiting;

    std::unique_ptr<Window> window_;
    int waiting_ = 0;         // message boxes and modal windows it waits in, nested
    std::vector<Event> news_; // what came meanwhile, for when the wait is over
};
