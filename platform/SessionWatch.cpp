#include "platform/SessionWatch.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

#include <unistd.h>

#include <utility>

namespace {

const QString Login = QStringLiteral("org.freedesktop.login1");
const QString Properties = QStringLiteral("org.freedesktop.DBus.Properties");

// Calls a method without waiting for its answer; `answered` gets the reply, if any.
template <typename Reply, typename F>
void ask(QObject* context, const QDBusConnection& bus, const QDBusMessage& call, F answered) {
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [watcher, answered](QDBusPendingCallWatcher*) {
                         const QDBusPendingReply<Reply> reply = *watcher;
                         if (!reply.isError())
                             answered(reply.value());
                         watcher->deleteLater();
                     });
}

} // namespace

SessionWatch::SessionWatch(std::function<void()> changed) : changed_(std::move(changed)) {
    QDBusConnection session = QDBusConnection::sessionBus();
    for (const char* saver : {"org.freedesktop.ScreenSaver", "org.gnome.ScreenSaver"})
        session.connect(QString(), QString(), QLatin1String(saver), QStringLiteral("ActiveChanged"),
                        this, SLOT(screenSaverActiveChanged(bool)));

    // Our session: the one logind names in the environment, else the one of this process.
    const QDBusConnection system = QDBusConnection::systemBus();
    if (!system.isConnected())
        return;
    const QByteArray id = qgetenv("XDG_SESSION_ID");
    QDBusMessage find = QDBusMessage::createMethodCall(
        Login, QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"),
        id.isEmpty() ? QStringLiteral("GetSessionByPID") : QStringLiteral("GetSession"));
    find << (id.isEmpty() ? QVariant(uint(::getpid())) : QVariant(QString::fromUtf8(id)));
    ask<QDBusObjectPath>(this, system, find,
                         [this](const QDBusObjectPath& path) { watchLoginSession(path.path()); });
}

void SessionWatch::watchLoginSession(const QString& path) {
    QDBusConnection system = QDBusConnection::systemBus();
    system.connect(Login, path, Properties, QStringLiteral("PropertiesChanged"), this,
                   SLOT(sessionPropertiesChanged(QString, QVariantMap, QStringList)));
    QDBusMessage get =
        QDBusMessage::createMethodCall(Login, path, Properties, QStringLiteral("Get"));
    get << QStringLiteral("org.freedesktop.login1.Session") << QStringLiteral("LockedHint");
    ask<QDBusVariant>(this, system, get, [this](const QDBusVariant& value) {
        set(lockedBySession_, value.variant().toBool());
    });
}

void SessionWatch::screenSaverActiveChanged(bool active) {
    set(lockedBySaver_, active);
}

void SessionWatch::sessionPropertiesChanged(const QString&, const QVariantMap& changed,
                                            const QStringList&) {
    const auto hint = changed.find(QStringLiteral("LockedHint"));
    if (hint != changed.end())
        set(lockedBySession_, hint->toBool());
}

void SessionWatch::set(bool& which, bool value) {
    const bool before = locked();
    which = value;
    if (locked() != before)
        changed_();
}
