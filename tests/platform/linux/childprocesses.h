#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <vector>

// Private servers for the Linux backend's tests: a D-Bus daemon and a PulseAudio server with
// a silent sink, each in a temporary folder and killed with the test process.
namespace ChildProcesses {

// Polls `done` while handling events, until it holds or `timeoutMs` pass.
bool waitUntil(const std::function<bool()>& done, int timeoutMs);

// A started child that dies with this process even when the test crashes.
std::unique_ptr<QProcess>
start(const QString& program, const QStringList& arguments,
      const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

// Ends a child started above, at once, and waits for it.
void stop(std::unique_ptr<QProcess>& child);

// The first line the child writes to standard output, or empty text if none comes in time.
QString firstLine(QProcess& child, int timeoutMs);

// A message bus of our own; never the system's.
class PrivateBus
{
public:
    ~PrivateBus();

    // Empty on success, else why the daemon did not start.
    QString start();
    QString address() const { return m_address; }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_daemon;
    QString m_address;
};

// A PulseAudio server with one null sink, "vokari_null", whose monitor can be recorded.
class PrivatePulse
{
public:
    ~PrivatePulse();

    // Empty on success, else why the server did not start.
    QString start();
    // For PULSE_SERVER.
    QString serverAddress() const;
    // For PULSE_COOKIE, so no client writes one into the real home.
    QString cookie() const;
    QProcessEnvironment clientEnvironment() const;

    // Starts recording the sink as 16-bit mono at kRate into a file, and returns once the
    // recording runs in real time; empty on success.
    QString startRecording();
    // Everything recorded so far.
    std::vector<qint16> recording() const;
    static constexpr int kRate = 44100;

private:
    bool runs(const QStringList& pactlArguments) const;

    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_server;
    std::unique_ptr<QProcess> m_silence;
    std::unique_ptr<QProcess> m_recorder;
};

} // namespace ChildProcesses
