// Sound through libcanberra: named sounds come from the desktop's sound theme, wave files are
// played from their path. Playing never waits, and each new sound cancels the one before it.
// Without a sound device (or without libcanberra at build time) playing does nothing.
#include "gui/desktop/Sound.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>

#ifdef STV_HAVE_CANBERRA
#include <canberra.h>
#endif

namespace stv
{

namespace
{

struct ThemeSound {
    const char *name;
    const char *event;
    const char *fallback; // bundled file under sounds/, or nullptr
};

constexpr ThemeSound ThemeSounds[] = {
    { "SystemStart", "service-login", "start.wav" },
    { "SystemExit", "service-logout", nullptr },
    { "SystemAsterisk", "dialog-information", nullptr },
    { "SystemExclamation", "dialog-warning", nullptr },
    { "SystemHand", "dialog-error", nullptr },
    { "SystemQuestion", "dialog-question", nullptr },
    { "SystemDefault", "bell", nullptr },
};

const ThemeSound *findThemeSound(const QString &name)
{
    for (const ThemeSound &s : ThemeSounds)
        if (name.compare(QLatin1String(s.name), Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

#ifdef STV_HAVE_CANBERRA

// All our sounds share one id, so cancelling it stops whatever is still playing.
constexpr uint32_t SoundId = 1;

class CanberraPlayer : public SoundPlayer
{
public:
    ~CanberraPlayer() override
    {
        if (m_context)
            ca_context_destroy(m_context);
    }

    // Only a regular file is handed to the player: a FIFO or a device in a sound's place would
    // keep it reading for ever.
    void playFile(const QString &path) override
    {
        struct stat info {
        };
        if (::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode))
            play(path);
    }

    void playSystemSound(const QString &name) override
    {
        if (name.isEmpty() || !context())
            return;
        const QByteArray event = systemSoundEvent(name).toUtf8();
        ca_context_cancel(m_context, SoundId);
        const int result
            = ca_context_play(m_context, SoundId, CA_PROP_EVENT_ID, event.constData(), nullptr);
        if (result == CA_ERROR_NOTFOUND) {
            const QString fallback = fallbackSoundFile(name);
            // Our own wave file always plays where there is a sound device; when it does not,
            // there is none, and trying again would only fill the log with the same errors.
            if (!fallback.isEmpty() && play(fallback) != CA_SUCCESS)
                disable();
        }
    }

private:
    int play(const QString &path)
    {
        if (path.isEmpty() || !context())
            return CA_ERROR_INVALID;
        const QByteArray name = QFile::encodeName(path);
        ca_context_cancel(m_context, SoundId);
        return ca_context_play(m_context, SoundId, CA_PROP_MEDIA_FILENAME, name.constData(),
            CA_PROP_CANBERRA_CACHE_CONTROL, "never", nullptr);
    }

    void disable()
    {
        if (m_context)
            ca_context_destroy(m_context);
        m_context = nullptr;
    }

    // Made on first use; a desktop without sound leaves it null and every call does nothing.
    ca_context *context()
    {
        if (m_tried)
            return m_context;
        m_tried = true;
        if (ca_context_create(&m_context) != CA_SUCCESS) {
            m_context = nullptr;
            return nullptr;
        }
        ca_context_change_props(m_context, CA_PROP_APPLICATION_NAME, "Sitorva",
            CA_PROP_APPLICATION_ID, "org.sitorva.Sitorva", nullptr);
        if (ca_context_open(m_context) != CA_SUCCESS) {
            ca_context_destroy(m_context);
            m_context = nullptr;
        }
        return m_context;
    }

    ca_context *m_context = nullptr;
    bool m_tried = false;
};

using RealPlayer = CanberraPlayer;

#else

class SilentPlayer : public SoundPlayer
{
public:
    void playFile(const QString &) override { }
    void playSystemSound(const QString &) override { }
};

using RealPlayer = SilentPlayer;

#endif

SoundPlayer *g_player = nullptr;

} // namespace

QString systemSoundEvent(const QString &name)
{
    const ThemeSound *s = findThemeSound(name);
    return s ? QLatin1String(s->event) : name;
}

QString fallbackSoundFile(const QString &name)
{
    const ThemeSound *s = findThemeSound(name);
    if (!s || !s->fallback)
        return {};
    const QString relative = QStringLiteral("sounds/") + QLatin1String(s->fallback);
    const QString beside = QCoreApplication::applicationDirPath() + QLatin1Char('/') + relative;
    if (QFileInfo::exists(beside))
        return beside;
    return QStandardPaths::locate(
        QStandardPaths::GenericDataLocation, QStringLiteral("sitorva/") + relative);
}

SoundPlayer &sound()
{
    static RealPlayer real;
    return g_player ? *g_player : real;
}

void setSoundPlayer(SoundPlayer *player)
{
    g_player = player;
}

} // namespace stv
