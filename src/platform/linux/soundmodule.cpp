// The sound module's one entry point; see soundservice.h for why sound is a module.
#include "platform/linux/soundplayer.h"

extern "C" Q_DECL_EXPORT SoundService* vokari_create_sound_service(const QByteArray& defaultSound)
{
    return new SoundPlayer(defaultSound);
}
