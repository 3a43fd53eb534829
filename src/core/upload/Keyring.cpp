#include "core/upload/Keyring.h"

#include <libsecret/secret.h>

#include <memory>

namespace stv
{

namespace
{

constexpr const char *SecretServiceName = "org.freedesktop.secrets";
// A keyring asked to unlock shows a prompt; a person answers within a minute.
constexpr unsigned CallLimitMs = 60000;
constexpr int BusQueryLimitMs = 5000;

const SecretSchema *passwordSchema()
{
    static const SecretSchema schema = [] {
        SecretSchema s {};
        s.name = "org.sitorva.FtpPassword";
        s.flags = SECRET_SCHEMA_NONE;
        s.attributes[0] = { "protocol", SECRET_SCHEMA_ATTRIBUTE_STRING };
        s.attributes[1] = { "host", SECRET_SCHEMA_ATTRIBUTE_STRING };
        s.attributes[2] = { "user", SECRET_SCHEMA_ATTRIBUTE_STRING };
        return s;
    }();
    return &schema;
}

struct ErrorFree {
    void operator()(GError *error) const { g_error_free(error); }
};
using ErrorHolder = std::unique_ptr<GError, ErrorFree>;

std::string messageOf(const GError *error)
{
    return error != nullptr && error->message != nullptr ? error->message : "unknown error";
}

// One asynchronous libsecret call, run on a main context of its own (the window's event loop
// is not disturbed) and waited for; cancelled when it takes longer than CallLimitMs.
class SecretCall
{
public:
    SecretCall()
        : m_context(g_main_context_new())
        , m_cancellable(g_cancellable_new())
    {
        g_main_context_push_thread_default(m_context);
    }
    ~SecretCall()
    {
        if (m_result != nullptr)
            g_object_unref(m_result);
        g_object_unref(m_cancellable);
        g_main_context_pop_thread_default(m_context);
        g_main_context_unref(m_context);
    }
    SecretCall(const SecretCall &) = delete;
    SecretCall &operator=(const SecretCall &) = delete;

    GCancellable *cancellable() const { return m_cancellable; }
    static void finished(GObject *, GAsyncResult *result, gpointer self)
    {
        static_cast<SecretCall *>(self)->m_result
            = static_cast<GAsyncResult *>(g_object_ref(result));
    }
    GAsyncResult *wait()
    {
        GSource *timer = g_timeout_source_new(CallLimitMs);
        g_source_set_callback(
            timer,
            [](gpointer cancellable) -> gboolean {
                g_cancellable_cancel(static_cast<GCancellable *>(cancellable));
                return G_SOURCE_REMOVE;
            },
            m_cancellable, nullptr);
        g_source_attach(timer, m_context);
        while (m_result == nullptr)
            g_main_context_iteration(m_context, TRUE);
        g_source_destroy(timer);
        g_source_unref(timer);
        return m_result;
    }
    std::string failure(const GError *error) const
    {
        if (g_cancellable_is_cancelled(m_cancellable))
            return "the keyring did not answer within a minute";
        return "the keyring refused: " + messageOf(error);
    }

private:
    GMainContext *m_context;
    GCancellable *m_cancellable;
    GAsyncResult *m_result = nullptr;
};

} // namespace

Result<> keyringAvailable()
{
    GError *rawError = nullptr;
    GDBusConnection *bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &rawError);
    ErrorHolder error(rawError);
    if (bus == nullptr)
        return fail("there is no desktop session bus to reach a keyring through ("
            + messageOf(error.get()) + ")");
    // Asked without starting the service: a keyring that does not run would want a prompt.
    GVariant *reply
        = g_dbus_connection_call_sync(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
            "org.freedesktop.DBus", "NameHasOwner", g_variant_new("(s)", SecretServiceName),
            nullptr, G_DBUS_CALL_FLAGS_NONE, BusQueryLimitMs, nullptr, &rawError);
    error.reset(rawError);
    g_object_unref(bus);
    if (reply == nullptr)
        return fail("the desktop session bus did not answer (" + messageOf(error.get()) + ")");
    gboolean running = FALSE;
    g_variant_get(reply, "(b)", &running);
    g_variant_unref(reply);
    if (!running)
        return fail("no keyring (Secret Service, such as GNOME Keyring or KWallet) is running");
    return {};
}

Result<> storeKeyringPassword(const KeyringKey &key, const std::string &password)
{
    if (Result<> available = keyringAvailable(); !available)
        return available;
    const std::string label
        = "Sitorva: " + key.protocol + " password for " + key.user + " at " + key.host;
    SecretCall call;
    secret_password_store(passwordSchema(), SECRET_COLLECTION_DEFAULT, label.c_str(),
        password.c_str(), call.cancellable(), &SecretCall::finished, &call, "protocol",
        key.protocol.c_str(), "host", key.host.c_str(), "user", key.user.c_str(), nullptr);
    GError *rawError = nullptr;
    const bool stored = secret_password_store_finish(call.wait(), &rawError);
    ErrorHolder error(rawError);
    if (!stored)
        return fail(call.failure(error.get()));
    return {};
}

Result<std::string> lookupKeyringPassword(const KeyringKey &key)
{
    if (Result<> available = keyringAvailable(); !available)
        return available.failure();
    SecretCall call;
    secret_password_lookup(passwordSchema(), call.cancellable(), &SecretCall::finished, &call,
        "protocol", key.protocol.c_str(), "host", key.host.c_str(), "user", key.user.c_str(),
        nullptr);
    GError *rawError = nullptr;
    gchar *found = secret_password_lookup_finish(call.wait(), &rawError);
    ErrorHolder error(rawError);
    if (error)
        return fail(call.failure(error.get()));
    if (found == nullptr)
        return std::string();
    std::string password = found;
    secret_password_free(found);
    return password;
}

Result<bool> deleteKeyringPassword(const KeyringKey &key)
{
    if (Result<> available = keyringAvailable(); !available)
        return available.failure();
    SecretCall call;
    secret_password_clear(passwordSchema(), call.cancellable(), &SecretCall::finished, &call,
        "protocol", key.protocol.c_str(), "host", key.host.c_str(), "user", key.user.c_str(),
        nullptr);
    GError *rawError = nullptr;
    const bool removed = secret_password_clear_finish(call.wait(), &rawError);
    ErrorHolder error(rawError);
    if (error)
        return fail(call.failure(error.get()));
    return removed;
}

} // namespace stv
