// Placeholder player until the sound layer is built.
#include "Sound.h"

namespace stv {

namespace {
class SilentPlayer : public SoundPlayer {
public:
    void playFile(const QString &) override {}
    void playSystemSound(const QString &) override {}
};
SoundPlayer *g_player = nullptr;
} // namespace

SoundPlayer &Sound()
{
    static SilentPlayer silent;
    return g_player ? *g_player : silent;
}

void SetSoundPlayer(SoundPlayer *player)
{
    g_player = player;
}

} // namespace stv
