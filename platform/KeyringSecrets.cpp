#include "platform/KeyringSecrets.h"

// Built with QT_NO_KEYWORDS: GIO uses "signals" as a name, which Qt otherwise defines as a keyword.
#include <libsecret/secret.h>

#include <QFileInfo>

#include <memory>

namespace vantor::keyring {
namespace {

constexpr char kSecretServiceName[] = "org.freedesktop.secrets";
constexpr gint kBusCallTimeoutMs = 2000;

const SecretSchema* Schema() {
    // Kept for the life of the process.
    static SecretSchema* schema =
        secret_schema_new("org.vantor.Secret", SECRET_SCHEMA_NONE, "application",
                          SECRET_SCHEMA_ATTRIBUTE_STRING, "name", SECRET_SCHEMA_ATTRIBUTE_STRING, nullptr);
    return schema;
}

// Takes the error's text and frees it.
QString Taken(GError* error) {
    if (error == nullptr) {
        return {};
    }
    QString text = QString::fromUtf8(error->message);
    g_error_free(error);
    return text.isEmpty() ? QStringLiteral("the keyring did not answer") : text;
}

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct VariantUnref {
    void operator()(GVariant* value) const { g_variant_unref(value); }
};
using Reply = std::unique_ptr<GVariant, VariantUnref>;

Reply CallBus(GDBusConnection* bus, const char* method, GVariant* arguments, const char* replyType) {
    return Reply(g_dbus_connection_call_sync(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                             "org.freedesktop.DBus", method, arguments,
                                             reinterpret_cast<const GVariantType*>(replyType),
                                             G_DBUS_CALL_FLAGS_NONE, kBusCallTimeoutMs, nullptr, nullptr));
}

} // namespace

bool ServiceOnBus() {
    // Only a bus that is already there: the address from the environment or the user's runtime
    // folder, never one launched for this question.
    const QString runtimeBus = qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/bus");
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") &&
        (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") || !QFileInfo::exists(runtimeBus))) {
        return false;
    }
    GError* error = nullptr;
    const std::unique_ptr<GDBusConnection, ObjectUnref> bus(
        g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error));
    if (!bus) {
        Taken(error);
        return false;
    }
    if (const Reply owned =
            CallBus(bus.get(), "NameHasOwner", g_variant_new("(s)", kSecretServiceName), "(b)")) {
        gboolean has = FALSE;
        g_variant_get(owned.get(), "(b)", &has);
        if (has) {
            return true;
        }
    }
    const Reply activatable = CallBus(bus.get(), "ListActivatableNames", nullptr, "(as)");
    if (!activatable) {
        return false;
    }
    GVariantIter* names = nullptr;
    g_variant_get(activatable.get(), "(as)", &names);
    bool found = false;
    const gchar* name = nullptr;
    while (!found && g_variant_iter_next(names, "&s", &name)) {
        found = g_strcmp0(name, kSecretServiceName) == 0;
    }
    g_variant_iter_free(names);
    return found;
}

Lookup Find(const QString& application, const QString& name) {
    GError* error = nullptr;
    gchar* found = secret_password_lookup_sync(Schema(), nullptr, &error, "application",
                                               application.toUtf8().constData(), "name",
                                               name.toUtf8().constData(), nullptr);
    Lookup lookup;
    if (error != nullptr) {
        lookup.error = Taken(error);
        return lookup;
    }
    if (found != nullptr) {
        lookup.secret = QString::fromUtf8(found);
        secret_password_free(found);
    }
    return lookup;
}

bool Store(const QString& application, const QString& name, const QString& secret, QString* error) {
    GError* failure = nullptr;
    const QByteArray label = (application + QStringLiteral(": ") + name).toUtf8();
    const bool stored = secret_password_store_sync(Schema(), SECRET_COLLECTION_DEFAULT, label.constData(),
                                                   secret.toUtf8().constData(), nullptr, &failure,
                                                   "application", application.toUtf8().constData(), "name",
                                                   name.toUtf8().constData(), nullptr);
    if (!stored && error != nullptr) {
        *error = Taken(failure);
    } else if (failure != nullptr) {
        g_error_free(failure);
    }
    return stored;
}

bool Clear(const QString& application, const QString& name, QString* error) {
    GError* failure = nullptr;
    secret_password_clear_sync(Schema(), nullptr, &failure, "application", application.toUtf8().constData(),
                               "name", name.toUtf8().constData(), nullptr);
    if (failure != nullptr) {
        const QString text = Taken(failure);
        if (error != nullptr) {
            *error = text;
        }
        return false;
    }
    return true;
}

} // namespace vantor::keyring
