#include "linux/DoNotDisturb.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QVariant>

#include <cstdlib>
#include <cstring>

#include <dlfcn.h>

namespace {

// The notification service's Inhibited property, asked of its present owner alone: a service
// that is not running is not started for the question, and one that has gone says nothing.
bool notificationsInhibited() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QStringLiteral("org.freedesktop.Notifications") << QStringLiteral("Inhibited");
    get.setAutoStartService(false);
    const QDBusMessage reply = bus.call(get, QDBus::Block, 200);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1)
        return false;
    const QVariant value = reply.arguments().constFirst().value<QDBusVariant>().variant();
    return value.metaType().id() == QMetaType::Bool && value.toBool();
}

// GIO's settings, loaded on GNOME when first asked: the program links no GIO of its own.
class GnomeBanners {
  public:
    GnomeBanners() {
        gio_ = ::dlopen("libgio-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!gio_)
            return;
        const auto source = function<void* (*)()>("g_settings_schema_source_get_default");
        const auto lookup =
            function<void* (*)(void*, const char*, int)>("g_settings_schema_source_lookup");
        const auto hasKey = function<int (*)(void*, const char*)>("g_settings_schema_has_key");
        const auto make = function<void* (*)(void*, void*, const char*)>("g_settings_new_full");
        const auto release = function<void (*)(void*)>("g_settings_schema_unref");
        get_ = function<int (*)(void*, const char*)>("g_settings_get_boolean");
        // A schema that is not installed would end the program if asked for by name.
        void* schemas = source && lookup ? source() : nullptr;
        void* schema = schemas ? lookup(schemas, "org.gnome.desktop.notifications", 1) : nullptr;
        if (schema && hasKey && make && get_ && hasKey(schema, Key))
            settings_ = make(schema, nullptr, nullptr); // kept for the run, as GIO's are
        if (schema && release)
            release(schema);
    }

    // Whether banners are switched off.
    bool off() const { return settings_ && !get_(settings_, Key); }

  private:
    static constexpr const char* Key = "show-banners";

    template <typename Function> Function function(const char* name) const {
        return reinterpret_cast<Function>(::dlsym(gio_, name));
    }

    void* gio_ = nullptr;
    void* settings_ = nullptr;
    int (*get_)(void*, const char*) = nullptr;
};

bool onGnome() {
    const char* desktops = std::getenv("XDG_CURRENT_DESKTOP");
    return desktops && std::strstr(desktops, "GNOME");
}

} // namespace

bool doNotDisturb() {
    if (notificationsInhibited())
        return true;
    if (!onGnome())
        return false;
    static const GnomeBanners banners;
    return banners.off();
}
