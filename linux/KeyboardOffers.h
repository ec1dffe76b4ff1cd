#pragma once

#include <QAbstractNativeEventFilter>
#include <QHash>
#include <QPointer>

#include <xcb/xcb.h>

#include <functional>

class QWidget;

// The window manager's offers of the keyboard to windows made with
// Qt::WindowDoesNotAcceptFocus. Such a window takes the keyboard only when the user asks
// for it: a click into it, or the window manager's switcher, which offers it with a
// WM_TAKE_FOCUS message stamped with the time of the user's key. The window manager sends
// the same offer on its own as the window appears: an offer stamped less than a moment after
// the window manager mapped the window (both times the X server's) is taken for that one and
// declined.
class KeyboardOffers final : public QAbstractNativeEventFilter {
  public:
    KeyboardOffers(xcb_connection_t* connection, std::function<void(QWidget&)> take);
    ~KeyboardOffers() override;

    // From now on the window takes the keyboard when offered it at the user's request.
    void accept(QWidget& window);

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;

  private:
    struct Offeree {
        QPointer<QWidget> widget;
        quint32 mapped = 0; // the X server's time of the last change of its WM_STATE
    };

    std::function<void(QWidget&)> take_;
    QHash<xcb_window_t, Offeree> windows_;
    xcb_atom_t protocols_ = XCB_ATOM_NONE;
    xcb_atom_t takeFocus_ = XCB_ATOM_NONE;
    xcb_atom_t state_ = XCB_ATOM_NONE;
};
