#include "linux/SessionWatch.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

#include <unistd.h>

#include <utility>

namespace {

const QString Login = QStringLiteral("org.freedesktop.login1");
const QString Properties = QStringLiteral("org.freedesktop.DBus.Properties");

// The screen savers' names, each the interface of its signals, and the paths they use (KDE's
// and Xfce's send from two).
struct ScreenSaver {
    const char* name;
    const char* paths[2];
};
constexpr ScreenSaver ScreenSavers[] = {
    {"org.freedesktop.ScreenSaver", {"/org/freedesktop/ScreenSaver", "/ScreenSaver"}},
    {"org.gnome.ScreenSaver", {"/org/gnome/ScreenSaver", nullptr}},
};

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
    // Named by its owner: the bus passes on only what the name's present owner sends, so no
    // other program can say that the screen is locked.
    QDBusConnection session = QDBusConnection::sessionBus();
    auto* owners = new QDBusServiceWatcher(this);
    owners->setConnection(session);
    owners->setWatchMode(QDBusServiceWatcher::WatchForOwnerChange);
    connect(owners, &QDBusServiceWatcher::serviceOwnerChanged, this,
            &SessionWatch::screenSaverOwnerChanged);
    for (int which = 0; which < 2; ++which) {
        const QString name = QLatin1String(ScreenSavers[which].name);
        owners->addWatchedService(name);
        for (const char* path : ScreenSavers[which].paths)
            if (path)
                session.connect(name, QLatin1String(path), name, QStringLiteral("ActiveChanged"),
                                this, SLOT(screenSaverActiveChanged(bool)));
        askScreenSaver(which);
    }

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
    for (const bool locked : {true, false}) {
        QDBusMessage get =
            QDBusMessage::createMethodCall(Login, path, Properties, QStringLiteral("Get"));
        get << QStringLiteral("org.freedesktop.login1.Session")
            << (locked ? QStringLiteral("LockedHint") : QStringLiteral("Active"));
        ask<QDBusVariant>(this, system, get, [this, locked](const QDBusVariant& value) {
            if (locked)
                set(lockedBySession_, value.variant().toBool());
            else
                set(inactive_, !value.variant().toBool());
        });
    }
}

void SessionWatch::askScreenSaver(int which) {
    const ScreenSaver& saver = ScreenSavers[which];
    const QString name = QLatin1String(saver.name);
    QDBusMessage get = QDBusMessage::createMethodCall(name, QLatin1String(saver.paths[0]), name,
                                                      QStringLiteral("GetActive"));
    get.setAutoStartService(false); // asked only of one that runs
    const int question = ++asked_[which];
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(get), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, which, question] {
        const QDBusPendingReply<bool> reply = *watcher;
        if (question == asked_[which]) // one that does not say locks nothing
            set(lockedBySaver_[which], !reply.isError() && reply.value());
        watcher->deleteLater();
    });
}

void SessionWatch::screenSaverActiveChanged(bool active) {
    const QString name = message().interface();
    for (int which = 0; which < 2; ++which)
        if (name == QLatin1String(ScreenSavers[which].name))
            set(lockedBySaver_[which], active);
}

void SessionWatch::screenSaverOwnerChanged(const QString& name, const QString&,
                                           const QString& now) {
    // A screen saver that went locks nothing any more; one that took its place says.
    for (int which = 0; which < 2; ++which)
        if (name == QLatin1String(ScreenSavers[which].name)) {
            ++asked_[which]; // what the one before answers no longer counts
            if (now.isEmpty())
                set(lockedBySaver_[which], false);
            else
                askScreenSaver(which);
        }
}

void SessionWatch::sessionPropertiesChanged(const QString&, const QVariantMap& changed,
                                            const QStringList&) {
    const auto hint = changed.find(QStringLiteral("LockedHint"));
    if (hint != changed.end())
        set(lockedBySession_, hint->toBool());
    const auto active = changed.find(QStringLiteral("Active"));
    if (active != changed.end())
        set(inactive_, !active->toBool());
}

void SessionWatch::set(bool& which, bool value) {
    const bool before = locked();
    which = value;
    if (locked() != before)
        changed_();
}
