#pragma once

#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>

class QDBusPendingCallWatcher;

// Listens to what the desktop says about the session's lock: logind's LockedHint of our
// session on the system bus, and its Active (false while another session or a text console
// is in front: the user is not at this one), and the screen savers' ActiveChanged signals on the
// session bus, whichever the desktop offers. Signals only: nothing is polled. A bus or service that
// is not there means that kind of lock is simply not seen. A screen saver is heard only from the
// owner of its name, and what it said ends when it goes.
class SessionWatch : public QObject, protected QDBusContext {
    Q_OBJECT
  public:
    explicit SessionWatch(std::function<void()> changed);

    bool locked() const {
        return lockedBySession_ || inactive_ || lockedBySaver_[0] || lockedBySaver_[1];
    }

  private slots:
    // The D-Bus signals, by the names Qt D-Bus connects them with.
    void screenSaverActiveChanged(bool active);
    void screenSaverOwnerChanged(const QString& name, const QString& before, const QString& now);
    void sessionPropertiesChanged(const QString& interface, const QVariantMap& changed,
                                  const QStringList& invalidated);

  private:
    void watchLoginSession(const QString& path);
    void askScreenSaver(int which);
    void set(bool& which, bool value);

    std::function<void()> changed_;
    bool lockedBySession_ = false;
    bool inactive_ = false;      // logind: another session is in front of the seat
    bool lockedBySaver_[2] = {}; // by the screen savers' names, as ScreenSavers lists them
    int asked_[2] = {};          // the latest question to each, so that only its answer counts
};
