#include "ui/Form.h"

Form::~Form() {
    // Unloaded first: what its destruction sets off (the focus moving) finds no window.
    std::unique_ptr<Window> window = std::move(window_);
}

void Form::load() {
    if (isLoaded())
        return;
    window_ = createWindow();
    Form_Load();
}

void Form::show() {
    load();
    if (isLoaded()) // the load may have unloaded it again
        showLoadedWindow();
}

void Form::showLoadedWindow() {
    showWindow(*window_);
}

void Form::showWindow(Window& window) {
    window.show();
}

void Form::unload() {
    if (!isLoaded())
        return;
    beforeUnload();
    window_.release()->destroyLater();
}
