#include "warning/Form4.h"

#include "ui/CommandButton.h"
#include "ui/Label.h"
#include "ui/Runtime.h"

namespace {

constexpr WindowStyle FullScreen{.onTop = true, .takesKeyboard = false, .fullScreen = true};

} // namespace

std::unique_ptr<Window> Form4::createWindow() {
    std::unique_ptr<Window> window = runtime_.createWindow(FullScreen);
    window->setCaption(u"Form4");
    window->setAccessibleName(u"Varování");
    window->setGeometry({0, 0, 5565, 1815});
    window->setBackColour(Colour::Black);
    buildControls(*window, 240);
    Label1->setForeColour(Colour::White);
    window->setTabOrder({Command3, Command2, Command1});
    Command3->setFocus();
    on(window->ScreensChanged, &Form4::coverOtherScreens, Kind::News);
    return window;
}

void Form4::Form_Load() {
    playWarningSound();
    window()->setGeometry(runtime_.primaryScreen());
    composeMessage();
}

void Form4::showWindow(Window& window) {
    WarningForm::showWindow(window);
    coverOtherScreens();
}

void Form4::beforeUnload() {
    covers_.clear();
}

void Form4::coverOtherScreens() {
    covers_.clear();
    for (const TwipsRect& screen : runtime_.otherScreens()) {
        std::unique_ptr<Window> cover = runtime_.createWindow(FullScreen);
        cover->setCaption(u"Zakrytá obrazovka");
        cover->setBackColour(Colour::Black);
        cover->setGeometry(screen);
        cover->showAsWarning();
        covers_.push_back(std::move(cover));
    }
}
