#include "warning/Form1.h"

#include "ui/CommandButton.h"
#include "ui/Runtime.h"

std::unique_ptr<Window> Form1::createWindow() {
    std::unique_ptr<Window> window =
        runtime_.createWindow({.titleBar = true, .onTop = true, .takesKeyboard = false});
    window->setCaption(u"Varování!");
    window->setSize(5085, 1305);
    buildControls(*window, 0);
    window->setTabOrder({Command1, Command2, Command3});
    Command1->setFocus();
    return window;
}

void Form1::Form_Load() {
    playWarningSound();
    composeMessage();
}
