#include "platform/linux/soundplayer.h"

#include "platform/linux/soundoutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QMediaDevices>
#include <QThread>
#include <QTimer>

namespace {

// Nothing the program offers as a sound comes near this; a larger file plays its beginning.
constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

// After the last sample is handed over the server still holds up to a buffer of it; the stream
// stays open that long and this much more, so the end is heard.
constexpr qint64 kDrainMarginMs = 500;

// How long the server may take to let a client in. Shorter than SoundPlayer::kShutdownWaitMs,
// so a program closed during the wait still gets its sound thread back.
constexpr int kServerAnswerMs = 800;

// Whether the PulseAudio server (or what stands in for it) lets a client in within `timeoutMs`.
// Qt Multimedia connects without a limit of its own while holding the lock of its device list;
// a server that takes the connection and never answers keeps that lock for libpulse's half a
// minute, and the program's exit, which takes the lock too, waits as long. libpulse comes with
// Qt Multimedia, so it is looked up rather than linked; without it there is nothing to wait for.
bool soundServerAnswers(int timeoutMs)
{
    QLibrary pulse(QStringLiteral("pulse"), 0);
    const auto mainloopNew = reinterpret_cast<void* (*)()>(pulse.resolve("pa_mainloop_new"));
    const auto mainloopApi =
        reinterpret_cast<void* (*)(void*)>(pulse.resolve("pa_mainloop_get_api"));
    const auto prepare =
        reinterpret_cast<int (*)(void*, int)>(pulse.resolve("pa_mainloop_prepare"));
    const auto poll = reinterpret_cast<int (*)(void*)>(pulse.resolve("pa_mainloop_poll"));
    const auto dispatch = reinterpret_cast<int (*)(void*)>(pulse.resolve("pa_mainloop_dispatch"));
    const auto mainloopFree = reinterpret_cast<void (*)(void*)>(pulse.resolve("pa_mainloop_free"));
    const auto contextNew =
        reinterpret_cast<void* (*)(void*, const char*)>(pulse.resolve("pa_context_new"));
    const auto connect = reinterpret_cast<int (*)(void*, const char*, int, const void*)>(
        pulse.resolve("pa_context_connect"));
    const auto state = reinterpret_cast<int (*)(void*)>(pulse.resolve("pa_context_get_state"));
    const auto disconnect =
        reinterpret_cast<void (*)(void*)>(pulse.resolve("pa_context_disconnect"));
    const auto unref = reinterpret_cast<void (*)(void*)>(pulse.resolve("pa_context_unref"));
    if (!mainloopNew || !mainloopApi || !prepare || !poll || !dispatch || !mainloopFree ||
        !contextNew || !connect || !state || !disconnect || !unref)
        return true;

    // pa_context_state_t: READY, FAILED and TERMINATED end the wait.
    constexpr int kReady = 4;
    constexpr int kFailed = 5;
    constexpr int kTerminated = 6;
    void* loop = mainloopNew();
    if (!loop)
        return false;
    void* context = contextNew(mainloopApi(loop), "Vokari");
    bool answered = false;
    // The default server and flags, as Qt Multimedia connects.
    if (context && connect(context, nullptr, 0, nullptr) >= 0) {
        const QDeadlineTimer deadline(timeoutMs);
        for (;;) {
            const int now = state(context);
            if (now == kReady || now == kFailed || now == kTerminated) {
                answered = now == kReady;
                break;
            }
            const qint64 leftMs = deadline.remainingTime();
            if (leftMs <= 0 || prepare(loop, int(leftMs * 1000)) < 0 || poll(loop) < 0 ||
                dispatch(loop) < 0)
                break;
        }
    }
    if (context) {
        disconnect(context);
        unref(context);
    }
    mainloopFree(loop);
    return answered;
}

} // namespace

SoundOutput::~SoundOutput()
{
    // At the thread's end nothing is left to delete it later.
    if (QAudioSink* sink = m_sink) {
        m_sink = nullptr;
        sink->disconnect(this);
        sink->stop();
        delete sink;
    }
}

void SoundOutput::play(quint64 ticket, const QByteArray& wav, const QString& path,
                       const QByteArray& fallback)
{
    // A newer request already waits behind this one and would cut it off at once.
    if (ticket != latestTicket.load()) {
        handledTicket = ticket;
        return;
    }
    std::optional<PcmSound> sound;
    if (!path.isEmpty()) {
        // Regular files only: opening a pipe or device could wait forever.
        QFile file(path);
        if (QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly))
            sound = decodeWave(file.read(kMaxFileBytes));
    } else {
        sound = decodeWave(wav);
    }
    if (!sound)
        sound = decodeWave(fallback);
    stop();
    if (sound)
        start(*sound);
    handledTicket = ticket;
}

void SoundOutput::start(const PcmSound& sound)
{
    // Until the server has answered, each sound asks it again and is dropped when it is silent.
    if (!m_serverAnswered) {
        m_serverAnswered = soundServerAnswers(kServerAnswerMs);
        if (!m_serverAnswered)
            return;
    }
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return;
    QAudioFormat format;
    format.setSampleRate(sound.sampleRate);
    format.setChannelCount(sound.channelCount);
    format.setSampleFormat(QAudioFormat::Int16);
    // Without a parent: a sink parented to this object was found to crash when deleted.
    auto* sink = new QAudioSink(device, format);
    // The samples go with their sink, so a sink being torn down never reads the next sound.
    auto* samples = new QBuffer(sink);
    samples->setData(sound.samples);
    samples->open(QIODevice::ReadOnly);
    m_sink = sink;
    connect(sink, &QAudioSink::stateChanged, this, [this, sink](QAudio::State state) {
        if (state == QAudio::IdleState)
            finished(sink);
    });
    sink->start(samples);
}

void SoundOutput::finished(QAudioSink* sink)
{
    const qint64 bufferedMs = sink->format().durationForBytes(int(sink->bufferSize())) / 1000;
    QTimer::singleShot(int(bufferedMs + kDrainMarginMs), this, [this, sink] {
        if (m_sink == sink)
            stop();
    });
}

void SoundOutput::stop()
{
    if (!m_sink)
        return;
    QAudioSink* sink = m_sink;
    m_sink = nullptr;
    sink->disconnect(this);
    sink->stop();
    sink->deleteLater();
}

SoundPlayer::SoundPlayer(const QByteArray& defaultSound)
    : m_thread(new QThread), m_output(new SoundOutput), m_defaultSound(defaultSound)
{
    m_thread->setObjectName(QStringLiteral("Vokari sound"));
    m_output->moveToThread(m_thread);
    QObject::connect(m_thread, &QThread::finished, m_output, &QObject::deleteLater);
    QObject::connect(m_thread, &QThread::finished, m_thread, &QObject::deleteLater);
    m_thread->start();
}

SoundPlayer::~SoundPlayer()
{
    ++m_output->latestTicket;
    SoundOutput* output = m_output;
    QMetaObject::invokeMethod(output, [output] { output->stop(); });
    m_thread->quit();
    // A thread stuck in the audio server is left to finish on its own; it deletes itself.
    if (m_thread->wait(QDeadlineTimer(kShutdownWaitMs)))
        delete m_thread;
}

bool SoundPlayer::idle() const
{
    return m_output->handledTicket.load() == m_output->latestTicket.load();
}

void SoundPlayer::playBytes(const QByteArray& wav)
{
    post(wav, QString());
}

void SoundPlayer::playFile(const QString& path)
{
    post(QByteArray(), path);
}

void SoundPlayer::post(const QByteArray& wav, const QString& path)
{
    const quint64 ticket = ++m_output->latestTicket;
    SoundOutput* output = m_output;
    QMetaObject::invokeMethod(
        output,
        [output, ticket, wav, path, fallback = m_defaultSound] {
            output->play(ticket, wav, path, fallback);
        },
        Qt::QueuedConnection);
}
