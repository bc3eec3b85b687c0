#include "platform/linux/soundservice.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QStringList>

namespace {

class SilentService final : public SoundService
{
public:
    void playBytes(const QByteArray&) override {}
    void playFile(const QString&) override {}
};

} // namespace

std::unique_ptr<SoundService> loadSoundService(const QByteArray& defaultSound,
                                               const QString& module)
{
    QStringList candidates;
    if (!module.isEmpty()) {
        candidates.append(module);
    } else {
        const QString dir = QCoreApplication::applicationDirPath();
        candidates = {dir + QStringLiteral("/vokari_sound"),
                      dir + QStringLiteral("/" VOKARI_SOUND_MODULE_FROM_BIN "/vokari_sound")};
    }
    QString errors;
    for (const QString& candidate : candidates) {
        // Kept loaded for the rest of the run: the service's code lives in it.
        QLibrary library(candidate);
        if (auto create =
                reinterpret_cast<CreateSoundService>(library.resolve(kCreateSoundService)))
            return std::unique_ptr<SoundService>(create(defaultSound));
        errors += QStringLiteral("\n  ") + library.errorString();
    }
    qWarning("Vokari: no sound module, sounds stay silent:%s", qPrintable(errors));
    return std::make_unique<SilentService>();
}
