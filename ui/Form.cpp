#include "ui/Form.h"

#include "ui/Platform.h"

Form::~Form() {
    delete window_.data();
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
