#pragma once

#include "core/FormWindow.h"

#include <QObject>
#include <QPointer>

#include <functional>

class Program;

// One form of the program: an object that lives for the whole run (its variables
// outlive its window) and builds its window and controls when loaded.
class Form {
  public:
    explicit Form(Program& program) : program_(program) {}
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

  protected:
    // Creates the window and its controls in their design-time state.
    virtual FormWindow* createWindow() = 0;
    // Makes the loaded window visible.
    virtual void showWindow(FormWindow& window);
    // Lets the form stop what must not outlive the window (its timer).
    virtual void beforeUnload() {}

    // Connects a control's signal to a handler of this form, through the guard that
    // reports run-time errors.
    template <typename Sender, typename Signal, typename Derived>
    void on(Sender* sender, Signal signal, void (Derived::*handler)()) {
        auto* self = static_cast<Derived*>(this);
        QObject::connect(sender, signal, sender, [this, self, handler] {
            guarded([self, handler] { (self->*handler)(); });
        });
    }
    void guarded(const std::function<void()>& handler);

    Program& program_;

  private:
    QPointer<FormWindow> window_;
};
