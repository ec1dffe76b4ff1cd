#include "linux/KeyboardOffers.h"

#include "linux/XAtoms.h"
#include "ui/Window.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

KeyboardOffers::KeyboardOffers(xcb_connection_t* connection, std::function<void(QWidget&)> take)
    : take_(std::move(take)) {
    const auto atoms = internAtoms(connection, {"WM_PROTOCOLS", "WM_TAKE_FOCUS", "WM_STATE"});
    protocols_ = atoms[0];
    takeFocus_ = atoms[1];
    state_ = atoms[2];
    qApp->installNativeEventFilter(this);
}

KeyboardOffers::~KeyboardOffers() {
    if (qApp)
        qApp->removeNativeEventFilter(this);
}

void KeyboardOffers::accept(QWidget& window) {
    windows_.removeIf([](const auto& entry) { return !entry.value().widget; }); // unloaded
    windows_.insert(xcb_window_t(window.winId()), Offeree{&window, 0});
}

bool KeyboardOffers::nativeEventFilter(const QByteArray& type, void* message, qintptr*) {
    if (type != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7f) {
    case XCB_PROPERTY_NOTIFY: {
        const auto* change = static_cast<const xcb_property_notify_event_t*>(message);
        const auto found = windows_.find(change->window);
        if (change->atom == state_ && found != windows_.end())
            found->mapped = change->time;
        break;
    }
    case XCB_CLIENT_MESSAGE: {
        const auto* sent = static_cast<const xcb_client_message_event_t*>(message);
        const auto found = windows_.find(sent->window);
        if (sent->type != protocols_ || sent->format != 32 || sent->data.data32[0] != takeFocus_ ||
            found == windows_.end())
            break;
        const quint32 when = sent->data.data32[1];
        QWidget* widget = found->widget;
        // An offer without a time, or before the window is seen mapped, is the window
        // manager's own; one to a window behind a modal dialog Qt passes on to the dialog.
        if (!widget || when == XCB_CURRENT_TIME || found->mapped == 0 ||
            qint32(when - found->mapped) < Window::ReactionMilliseconds ||
            (QApplication::activeModalWidget() && QApplication::activeModalWidget() != widget))
            break;
        // From the event loop: not while Qt is still handling the X event.
        QTimer::singleShot(0, widget, [this, widget] { take_(*widget); });
        break;
    }
    default:
        break;
    }
    return false;
}
