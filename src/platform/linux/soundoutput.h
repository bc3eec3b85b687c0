#pragma once

#include "platform/linux/wavedecoder.h"

#include <QObject>
#include <QPointer>

#include <atomic>

class QAudioSink;

// The output thread's side of the sound player: decodes and plays, one sound at a time.
class SoundOutput final : public QObject
{
    Q_OBJECT

public:
    ~SoundOutput() override;

    // The number of the newest request; an older one still queued is skipped unplayed.
    std::atomic<quint64> latestTicket{0};
    // The number of the last request handled, played or skipped.
    std::atomic<quint64> handledTicket{0};

    // Plays `wav`, or the file at `path` when one is given, or `fallback` when neither decodes.
    void play(quint64 ticket, const QByteArray& wav, const QString& path,
              const QByteArray& fallback);
    void stop();

private:
    void start(const PcmSound& sound);
    void finished(QAudioSink* sink);

    QPointer<QAudioSink> m_sink;
    // Whether the sound server has answered once; Qt Multimedia is not touched before.
    bool m_serverAnswered = false;
};
