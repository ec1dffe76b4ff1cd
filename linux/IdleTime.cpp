#include "linux/IdleTime.h"

#include "linux/X11Connection.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QGuiApplication>
#include <QScreen>
#include <QVariant>

#include <xcb/screensaver.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>

namespace {

// Milliseconds since the machine started, the time it slept included: no idle time is longer.
qint64 upMilliseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// An answer's milliseconds, or -1 for one that is no idle time: not a whole number (a text
// of digits included), negative, or longer than the machine has been up.
qint64 milliseconds(const QVariant& answer) {
    switch (answer.metaType().id()) {
    case QMetaType::UInt:
    case QMetaType::ULongLong: {
        const qulonglong value = answer.toULongLong();
        return value <= qulonglong(upMilliseconds()) ? qint64(value) : -1;
    }
    case QMetaType::Int:
    case QMetaType::LongLong: {
        const qint64 value = answer.toLongLong();
        return value >= 0 && value <= upMilliseconds() ? value : -1;
    }
    default:
        return -1;
    }
}

// Milliseconds since the last input, from a session-bus service that knows, or -1.
qint64 fromBus(const QString& service, const QString& path, const QString& interface,
               const QString& method) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return -1;
    const QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
    const QDBusMessage reply = bus.call(call, QDBus::Block, 200);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1)
        return -1;
    return milliseconds(reply.arguments().constFirst());
}

// Whether the X server is XWayland, by the names it gives its outputs.
bool isXWayland() {
    const QList<QScreen*> screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(), [](const QScreen* screen) {
        return screen->name().startsWith(QLatin1String("XWAYLAND"));
    });
}

// Milliseconds since the last input the X server saw, or -1. XWayland sees only the input to
// X windows: a user typing into Wayland programs would look idle for ever.
qint64 fromXServer() {
    xcb_connection_t* connection = x11Connection();
    if (!connection || isXWayland())
        return -1;
    // A request of an extension the server lacks (some remote and nested servers) would end
    // the connection, and the program with it.
    const xcb_query_extension_reply_t* extension =
        xcb_get_extension_data(connection, &xcb_screensaver_id);
    if (!extension || !extension->present)
        return -1;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const auto cookie = xcb_screensaver_query_info(connection, screen->root);
    xcb_screensaver_query_info_reply_t* info =
        xcb_screensaver_query_info_reply(connection, cookie, nullptr);
    const qint64 ms = info ? qint64(info->ms_since_user_input) : -1;
    std::free(info);
    return ms;
}

} // namespace

qint64 IdleTime::microseconds() {
    qint64 ms =
        fromBus(QStringLiteral("org.gnome.Mutter.IdleMonitor"),
                QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core"),
                QStringLiteral("org.gnome.Mutter.IdleMonitor"), QStringLiteral("GetIdletime"));
    if (ms < 0)
        ms = fromBus(QStringLiteral("org.freedesktop.ScreenSaver"),
                     QStringLiteral("/org/freedesktop/ScreenSaver"),
                     QStringLiteral("org.freedesktop.ScreenSaver"),
                     QStringLiteral("GetSessionIdleTime"));
    if (ms < 0)
        ms = fromXServer();
    return ms < 0 ? -1 : ms * 1000;
}
