#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

// The sound output as the backend sees it. It lives in a module of its own (vokari_sound),
// loaded at the first sound: Qt Multimedia and the audio server's libraries it brings cost
// a few megabytes of memory that a program which has sounded nothing yet does without.
class SoundService
{
public:
    SoundService() = default;
    SoundService(const SoundService&) = delete;
    SoundService& operator=(const SoundService&) = delete;
    virtual ~SoundService() = default;

    // The WAVE file `wav`; the default sound when it is no playable file.
    virtual void playBytes(const QByteArray& wav) = 0;
    // The WAVE file at `path`; the default sound when there is none.
    virtual void playFile(const QString& path) = 0;
};

// What the module exports, under the name kCreateSoundService.
using CreateSoundService = SoundService* (*)(const QByteArray& defaultSound);
inline constexpr char kCreateSoundService[] = "vokari_create_sound_service";

// The module's service, playing `defaultSound` for anything unplayable. The module is `module`
// when given (tests), otherwise vokari_sound beside the program or where it is installed. Without a
// module the service plays nothing, and says so once on the error output.
std::unique_ptr<SoundService> loadSoundService(const QByteArray& defaultSound,
                                               const QString& module = QString());
