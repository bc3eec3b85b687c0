#pragma once

#include "platform/linux/soundservice.h"

#include <QByteArray>
#include <QString>

class QThread;
class SoundOutput;

// Plays one sound at a time through Qt Multimedia. The output lives on its own thread: opening
// the audio server can take long (or, with a stuck server, half a minute), and the caller's
// thread must never wait for it. A new sound cuts off the one still playing.
class SoundPlayer final : public SoundService
{
public:
    // `defaultSound` plays for anything that is no playable sound.
    explicit SoundPlayer(const QByteArray& defaultSound);
    ~SoundPlayer() override;

    void playBytes(const QByteArray& wav) override;
    // The file is read on the output thread.
    void playFile(const QString& path) override;

    // Whether every request so far has been handled: its sound started, or dropped for want
    // of an output or for a newer one.
    bool idle() const;

    // How long the destructor waits for the output thread before leaving it behind.
    static constexpr int kShutdownWaitMs = 1000;

private:
    void post(const QByteArray& wav, const QString& path);

    QThread* m_thread = nullptr;
    SoundOutput* m_output = nullptr;
    QByteArray m_defaultSound;
};
