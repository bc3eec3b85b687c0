// What the alarm's one-second pauses cost while it sounds: the CPU time of a whole built-in
// alarm, with the pause the program uses and with the tick-counter poll it replaced, in one run.
//
//   alarm_cpu_bench [plays]      (10 plays by default: a ten-second alarm each way)
//
// Both run the same PumpDelay contract on the real event loop with a one-second clock timer
// running, as the main window has; the plays themselves are left out, so only the waiting is
// measured.

#include "core/actionrunner.h"
#include "platform/platform.h"
#include "platform/toolkit.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

double cpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// Real clock and real waits; every other service does nothing.
class WaitingPlatform final : public Platform
{
public:
    // The bench never sleeps the machine: two clocks that never drift apart.
    SleepClocks clocks() override { return {}; }
    WaitingPlatform() { m_clock.start(); }
    void openTarget(const QString&, QWidget*) override {}
    void playBuiltInSound(int) override {}
    void playSoundNamed(const QString&) override {}
    void ExitWindowsSession(SessionEnd) override {}
    void holdIdleSleep(bool) override {}
    void afterPendingRequests(std::function<void()> then) override { then(); }
    std::uint32_t tickCount() override { return static_cast<std::uint32_t>(m_clock.elapsed()); }
    QDateTime localDateTime() override { return {}; }
    QString shortDatePattern() override { return {}; }
    QString timePattern() override { return {}; }
    std::optional<QString> chooseFile(FileKind, const QString&, QWidget*) override { return {}; }
    void minimiseApplication() override {}
    void restoreApplication() override {}
    void showOnTaskbar(const TaskbarView&, QWidget*) override {}
    void processPendingEvents() override { Toolkit::processPendingEvents(); }
    bool waitForEvents(int ms) override { return Toolkit::waitForEvents(ms); }

private:
    QElapsedTimer m_clock;
};

// The pause as first designed: read the counter, handle what is pending, read it again.
void pollingDelay(Platform& platform, int milliseconds)
{
    const std::uint32_t start = platform.tickCount();
    while (std::llabs(std::int64_t{platform.tickCount()} - std::int64_t{start}) < milliseconds)
        platform.processPendingEvents();
}

struct Figures
{
    double cpu = 0;
    double wall = 0;
};

template <typename Delay> Figures alarm(Platform& platform, int plays, Delay delay)
{
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    for (int play = 0; play < plays; ++play)
        delay(platform, 1000);
    return {cpuSeconds() - cpuBefore, double(wall.elapsed()) / 1000.0};
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int plays = argc > 1 ? std::atoi(argv[1]) : 10;
    WaitingPlatform platform;
    // The clock line's timer ticks through every pause, as in the program.
    QTimer clockLine;
    clockLine.start(1000);

    const Figures sleeping = alarm(platform, plays, PumpDelay);
    const Figures polling = alarm(platform, plays, pollingDelay);
    std::printf("alarm of %d plays       CPU s    wall s   CPU share\n", plays);
    std::printf("event loop sleeps    %8.4f  %8.3f   %7.3f %%\n", sleeping.cpu, sleeping.wall,
                100.0 * sleeping.cpu / sleeping.wall);
    std::printf("counter poll         %8.4f  %8.3f   %7.3f %%\n", polling.cpu, polling.wall,
                100.0 * polling.cpu / polling.wall);
    return 0;
}
