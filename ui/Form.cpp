#include "ui/Form.h"

#include "ui/Platform.h"

Form::~Form() {
    destroyWindow();
}

void Form::destroyWindow() {
    // Unloaded first: what its destruction sets off (the focus moving) finds no window.
    FormWindow* window = window_.data();
    window_.clear();
    delete window;
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
    platform_.keepOffTaskbar(*window_);
    showWindow(*window_);
}

void Form::showWindow(FormWindow& window) {
    window.show();
}

void Form::unload() {
    if (!isLoaded())
        return;
    beforeUnload();
    FormWindow* window = window_.data();
    window_.clear();
    window->hide();
    window->deleteLater();
}
