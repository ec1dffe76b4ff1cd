#pragma once

#include "ui/Event.h"
#include "ui/Guard.h"
#include "ui/Runtime.h"
#include "ui/Window.h"

#include <memory>

class Program;
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
    Form(Program& program, Runtime& runtime, System& system)
        : program_(program), runtime_(runtime), system_(system) {}
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

    // A handler of this form as an event calls it: through the guard that reports run-time
    // errors, the one way events reach a form. While the form waits for a message box or a
    // modal window, its window is blocked: the event is dropped, whoever sent it (a second
    // close request, a click posted by another program, a tick), so no handler runs again
    // inside one that has not finished.
    template <typename Derived> Event guarded(void (Derived::*handler)()) {
        auto* self = static_cast<Derived*>(this);
        return [this, self, handler] {
            if (waiting_ == 0)
                runGuarded(runtime_, [self, handler] { (self->*handler)(); });
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
    // Shows another form modally and waits until it has gone, this form blocked meanwhile.
    void showModal(Form& dialog);

    // Connects an event of a control or of the window to a handler of this form, guarded.
    template <typename Derived> void on(Event& event, void (Derived::*handler)()) {
        event = guarded(handler);
    }

    Program& program_; // the other forms and the shared state
    Runtime& runtime_;
    System& system_;

  private:
    // Marks the form blocked for as long as it lives.
    class Waiting;

    std::unique_ptr<Window> window_;
    int waiting_ = 0; // message boxes and modal windows this form waits in, nested
};
