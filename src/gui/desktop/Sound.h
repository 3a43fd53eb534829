#pragma once
// Plays a wave file or a named system sound without waiting; a new sound replaces one that is
// still playing. Tests install a fake player.

#include <QString>

namespace stv
{

class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    virtual void playFile(const QString &path) = 0;
    // Named sounds of the desktop's sound theme ("SystemStart" is the login sound).
    virtual void playSystemSound(const QString &name) = 0;
};

SoundPlayer &sound();
// Installs another player (tests); nullptr goes back to the real one. Not owned.
void setSoundPlayer(SoundPlayer *player);

// The sound theme's event for a named system sound ("SystemStart" is "service-login");
// names the table does not know are taken as event names themselves.
QString systemSoundEvent(const QString &name);
// The bundled wave file played when the theme has no sound for a name; empty when the name
// has none or the file is not installed.
QString fallbackSoundFile(const QString &name);

} // namespace stv
