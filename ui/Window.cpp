#include "ui/Window.h"

#include "ui/CommandButton.h"
#include "ui/Line.h"
#include "ui/Picture.h"
#include "ui/Timer.h"

#include <algorithm>
#include <utility>

Picture* Window::addWarningPicture(int left, int top) {
    Picture* picture = makeWarningPicture(left, top);
    picture->setAccessibleName(u"Výstraha");
    return picture;
}

Line* Window::addLine(int left, int right, int y, Colour colour) {
    Line* line = makeLine(left, right, y, colour);
    line->setAccessibleName(u"Oddělovač");
    return line;
}

void Window::setTabOrder(std::initializer_list<Control*> order) {
    Control* previous = nullptr;
    for (Control* control : order)
        placeInTabOrder(std::exchange(previous, control), *control);
}

void Window::destroyLater() {
    gone_ = true;
    hideAndDestroyLater();
}

void Window::fire(const Event& event) const {
    if (event && !gone_)
        event();
}

CommandButton* Window::buttonForEnter() const {
    const Control* focused = focusedControl();
    const auto on = std::find(buttons_.begin(), buttons_.end(), focused);
    return on != buttons_.end() ? *on : default_;
}

bool Window::keyPressed(Key key) {
    CommandButton* button = key == Key::Enter ? buttonForEnter() : cancel_;
    if (button)
        button->userPressed();
    return button != nullptr;
}

void Window::focusMoved() {
    // Nothing changes while the focus is elsewhere (a message box, another program).
    if (focusedControl() && !gone_)
        markButtonForEnter();
}

void Window::markButtonForEnter() {
    if (!default_)
        return; // none to mark: the focused button shows its own focus
    const CommandButton* marked = buttonForEnter();
    for (CommandButton* button : buttons_)
        button->markAsDefault(button == marked);
}

void Control::fire(const Event& event) const {
    parent_.fire(event);
}

void Timer::ticked() const {
    parent_.fire(Tick);
}
