#pragma once

#include <QByteArray>
#include <QString>

class QThread;
class SoundOutput;

// Plays one sound at a time through Qt Multimedia. The output lives on its own thread: opening
// the audio server can take long (or, with a stuck server, half a minute), and the caller's
// thread must never wait for it. A new sound cuts off the one still playing.
class SoundPlayer
{
public:
    SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;
    ~SoundPlayer();

    // The WAVE file `wav`; the default sound when it is no playable file.
    void playBytes(const QByteArray& wav);
    // The WAVE file at `path`, read on the output thread; the default sound when there is none.
    void playFile(const QString& path);

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
