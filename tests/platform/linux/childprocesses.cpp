#include "childprocesses.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>

namespace ChildProcesses {

namespace {

constexpr int kStartTimeoutMs = 10000;
const QString kSink = QStringLiteral("vokari_null");

} // namespace

bool waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(5);
    }
    return true;
}

std::unique_ptr<QProcess> start(const QString& program, const QStringList& arguments,
                                const QProcessEnvironment& environment)
{
    auto child = std::make_unique<QProcess>();
    child->setProgram(program);
    child->setArguments(arguments);
    child->setProcessEnvironment(environment);
    // Servers left behind by a crashed test would pile up on a shared machine.
    child->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    child->start();
    return child;
}

void stop(std::unique_ptr<QProcess>& child)
{
    if (child && child->state() != QProcess::NotRunning) {
        child->kill();
        child->waitForFinished(3000);
    }
    child.reset();
}

QString firstLine(QProcess& child, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!child.canReadLine()) {
        if (deadline.hasExpired() || child.state() == QProcess::NotRunning)
            return {};
        child.waitForReadyRead(50);
    }
    return QString::fromUtf8(child.readLine()).trimmed();
}

PrivateBus::~PrivateBus()
{
    stop(m_daemon);
}

QString PrivateBus::start()
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (program.isEmpty())
        return QStringLiteral("dbus-daemon is not installed (Debian package dbus-daemon)");
    // As on a real system logind can be started on demand, so a call to it while it is not
    // running waits for it; here it never comes up, as in a container.
    const QString services = m_dir.filePath(QStringLiteral("services"));
    QDir().mkpath(services);
    QFile activation(services + QStringLiteral("/org.freedesktop.login1.service"));
    QFile config(m_dir.filePath(QStringLiteral("bus.conf")));
    if (!activation.open(QIODevice::WriteOnly) || !config.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write the bus configuration");
    activation.write("[D-BUS Service]\nName=org.freedesktop.login1\nExec=/bin/sleep 10\n");
    config.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                 "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                 "<busconfig><type>session</type><listen>unix:dir=" +
                 m_dir.path().toUtf8() + "</listen><servicedir>" + services.toUtf8() +
                 "</servicedir><policy context=\"default\"><allow send_destination=\"*\"/><allow "
                 "receive_sender=\"*\"/>"
                 "<allow own=\"*\"/></policy></busconfig>\n");
    activation.close();
    config.close();
    m_daemon = ChildProcesses::start(
        program, {QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--nofork"),
                  QStringLiteral("--nopidfile"), QStringLiteral("--print-address=1")});
    m_address = firstLine(*m_daemon, kStartTimeoutMs);
    if (m_address.isEmpty())
        return QStringLiteral("dbus-daemon printed no address: ") +
               QString::fromLocal8Bit(m_daemon->readAllStandardError());
    return {};
}

PrivatePulse::~PrivatePulse()
{
    // The recorder first, so the server does not log a lost client.
    stop(m_recorder);
    stop(m_silence);
    stop(m_server);
}

QString PrivatePulse::serverAddress() const
{
    return QStringLiteral("unix:") + m_dir.filePath(QStringLiteral("native"));
}

QString PrivatePulse::cookie() const
{
    return m_dir.filePath(QStringLiteral("cookie"));
}

QProcessEnvironment PrivatePulse::clientEnvironment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The server keeps its state and cookie here rather than in the real home.
    environment.insert(QStringLiteral("HOME"), m_dir.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path());
    environment.insert(QStringLiteral("PULSE_SERVER"), serverAddress());
    environment.insert(QStringLiteral("PULSE_COOKIE"), cookie());
    return environment;
}

bool PrivatePulse::runs(const QStringList& pactlArguments) const
{
    QProcess pactl;
    pactl.setProcessEnvironment(clientEnvironment());
    pactl.start(QStringLiteral("pactl"), pactlArguments);
    return pactl.waitForFinished(3000) && pactl.exitStatus() == QProcess::NormalExit &&
           pactl.exitCode() == 0;
}

QString PrivatePulse::start()
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    if (program.isEmpty())
        return QStringLiteral("pulseaudio is not installed (Debian package pulseaudio)");
    if (QStandardPaths::findExecutable(QStringLiteral("pactl")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("parec")).isEmpty())
        return QStringLiteral("pactl/parec are not installed (Debian package pulseaudio-utils)");
    // As root the server warns but runs in per-user mode when told so explicitly; -n and an
    // empty script keep it from loading the machine's devices, D-Bus or suspend modules.
    m_server = ChildProcesses::start(
        program,
        {QStringLiteral("--daemonize=no"), QStringLiteral("--system=false"),
         QStringLiteral("--exit-idle-time=-1"), QStringLiteral("-n"), QStringLiteral("-F"),
         QStringLiteral("/dev/null"), QStringLiteral("--use-pid-file=false"),
         QStringLiteral("--disable-shm=true"), QStringLiteral("--realtime=false"),
         QStringLiteral("--high-priority=false"), QStringLiteral("--log-target=stderr"),
         QStringLiteral("--load=module-null-sink sink_name=") + kSink,
         QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=") +
             m_dir.filePath(QStringLiteral("native"))},
        clientEnvironment());
    if (!m_server->waitForStarted(kStartTimeoutMs))
        return QStringLiteral("pulseaudio did not start: ") + m_server->errorString();
    const bool ready = waitUntil(
        [this] { return m_server->state() != QProcess::Running || runs({QStringLiteral("info")}); },
        kStartTimeoutMs);
    if (!ready || m_server->state() != QProcess::Running)
        return QStringLiteral("pulseaudio did not come up: ") +
               QString::fromLocal8Bit(m_server->readAllStandardError());
    // An idle null sink works in blocks of two seconds, so a new stream would wait that long;
    // a stream of silence keeps its latency low without adding anything to what it plays.
    m_silence =
        ChildProcesses::start(QStringLiteral("pacat"),
                              {QStringLiteral("--device=") + kSink, QStringLiteral("--raw"),
                               QStringLiteral("--format=s16le"), QStringLiteral("--channels=1"),
                               QStringLiteral("--rate=%1").arg(kRate),
                               QStringLiteral("--latency-msec=20"), QStringLiteral("/dev/zero")},
                              clientEnvironment());
    if (!m_silence->waitForStarted(kStartTimeoutMs))
        return QStringLiteral("pacat did not start: ") + m_silence->errorString();
    return {};
}

QString PrivatePulse::startRecording()
{
    stop(m_recorder);
    m_recorder = std::make_unique<QProcess>();
    m_recorder->setProcessEnvironment(clientEnvironment());
    m_recorder->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    m_recorder->setStandardOutputFile(m_dir.filePath(QStringLiteral("recording.raw")));
    m_recorder->start(QStringLiteral("parec"),
                      {QStringLiteral("--device=") + kSink + QStringLiteral(".monitor"),
                       QStringLiteral("--format=s16le"), QStringLiteral("--channels=1"),
                       QStringLiteral("--rate=%1").arg(kRate), QStringLiteral("--latency-msec=10"),
                       QStringLiteral("--raw")});
    if (!m_recorder->waitForStarted(kStartTimeoutMs))
        return QStringLiteral("parec did not start: ") + m_recorder->errorString();
    // A tenth of a second recorded means the sink runs and the recording keeps up with it.
    const QString file = m_dir.filePath(QStringLiteral("recording.raw"));
    const bool flowing =
        waitUntil([&] { return QFileInfo(file).size() >= kRate / 10 * 2; }, kStartTimeoutMs);
    return flowing ? QString() : QStringLiteral("the recording of the null sink never began");
}

std::vector<qint16> PrivatePulse::recording() const
{
    QFile file(m_dir.filePath(QStringLiteral("recording.raw")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    std::vector<qint16> samples(static_cast<std::size_t>(bytes.size() / 2));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const auto lo = static_cast<quint8>(bytes.at(qsizetype(2 * i)));
        const auto hi = static_cast<quint8>(bytes.at(qsizetype(2 * i + 1)));
        samples[i] = static_cast<qint16>(lo | (hi << 8));
    }
    return samples;
}

} // namespace ChildProcesses
