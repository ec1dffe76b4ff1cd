#pragma once

#include "ui/FormWindow.h"
#include "ui/Guard.h"

#include <QObject>
#include <QPointer>

#include <functional>

class Platform;
class Program;

// One form of the program: an object that lives for the whole run (its variables
// outlive its window) and builds its window and controls when loaded.
//
// Names: the controls (Label4, Command1, HScroll1, ...), their handlers Control_Event
// (Command1_Click, Form_Load, Timer1_Timer) and the PascalCase procedures (ShowWarning,
// SaveSettings) and variables (UnCas, Saved) keep the forms' established names, each with
// a short gloss where it is declared; camelCase names are the helpers of this code.
class Form {
  public:
    Form(Program& program, Platform& platform) : program_(program), platform_(platform) {}
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    bool isLoaded() const { return !window_.isNull(); }
    FormWindow* window() const { return window_.data(); }

    // Builds the window with its design-time values, then runs Form_Load.
    void load();
    // Shows the window modelessly, loading it first when it is not loaded.
    void show();
    // Destroys the window and its controls; the object and its variables stay. Safe from
    // inside one of the window's own handlers: the widget is deleted later.
    void unload();

    virtual void Form_Load() {}

    // A handler of this form as an event calls it: through the guard that reports run-time
    // errors, the one way events reach a form.
    template <typename Derived> std::function<void()> guarded(void (Derived::*handler)()) {
        auto* self = static_cast<Derived*>(this);
        return [this, self, handler] {
            runGuarded(platform_, [self, handler] { (self->*handler)(); });
        };
    }

  protected:
    // Creates the window and its controls in their design-time state.
    virtual FormWindow* createWindow() = 0;
    // Makes the loaded window visible.
    virtual void showWindow(FormWindow& window);
    // Shows the loaded window as show() does, from within the load (the monitor is seen at once).
    void showLoadedWindow();
    // Lets the form stop what must not outlive the window (its timer).
    virtual void beforeUnload() {}
    // Destroys the window at once, at the end of the run; a form whose handlers hear of
    // the application's events calls it from its own destructor.
    void destroyWindow();

    // Connects a signal of a control or of the window to a handler of this form, guarded; the
    // connection ends with `context` (the sender unless named).
    template <typename Sender, typename Signal, typename Derived>
    void on(Sender* sender, Signal signal, void (Derived::*handler)(), QObject* context = nullptr) {
        QObject::connect(sender, signal, context ? context : sender,
                         [run = guarded(handler)] { run(); });
    }

    Program& program_; // the other forms and the shared state
    Platform& platform_;

  private:
    QPointer<FormWindow> window_;
};
