// How closely the countdown keeps to whole seconds over a long run, and what it costs.
//
//   tick_drift_bench --mode engine  --seconds 600   the real main window counting down
//   tick_drift_bench --mode idle    --seconds 600   the same window with no countdown running
//   tick_drift_bench --mode chained --seconds 600   a plain chained single-shot timer, no window
//
// Prints, for the n-th tick after the start, the largest and the final deviation from
// start + n seconds, and the process CPU time per hour. The window costs CPU without a countdown
// too (the clock line redraws every second), so the countdown's own share is engine minus idle.
// Run all three together with bench/run_tick_drift.sh, which also keeps the other core busy.

#include "app/tform1.h"
#include "platform/fake/recordingplatform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <sys/resource.h>

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& tv) { return double(tv.tv_sec) + double(tv.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Collects the deviation of each tick from its ideal time.
class Schedule
{
public:
    void start()
    {
        m_clock.start();
        m_cpuAtStart = cpuSeconds();
    }

    void tick()
    {
        ++m_ticks;
        const double deviationMs = double(m_clock.nsecsElapsed()) / 1e6 - 1000.0 * m_ticks;
        m_largest = std::max(m_largest, std::abs(deviationMs));
        m_final = deviationMs;
        m_sum += deviationMs;
    }

    int ticks() const { return m_ticks; }

    void report(const char* mode) const
    {
        const double cpu = cpuSeconds() - m_cpuAtStart;
        const double countedHours = m_ticks / 3600.0;
        std::printf("%-8s ticks %5d  largest |deviation| %8.3f ms  final %+9.3f ms  "
                    "mean %+8.3f ms  cpu %.3f s (%.3f s per hour)\n",
                    mode, m_ticks, m_largest, m_final, m_ticks ? m_sum / m_ticks : 0.0, cpu,
                    countedHours > 0 ? cpu / countedHours : 0.0);
        std::fflush(stdout);
    }

private:
    QElapsedTimer m_clock;
    double m_cpuAtStart = 0;
    int m_ticks = 0;
    double m_largest = 0;
    double m_final = 0;
    double m_sum = 0;
};

} // namespace

int main(int argc, char* argv[])
{
    std::string mode = "engine";
    int seconds = 600;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--mode") == 0)
            mode = argv[i + 1];
        else if (std::strcmp(argv[i], "--seconds") == 0)
            seconds = std::atoi(argv[i + 1]);
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Schedule schedule;

    RecordingPlatform platform;
    std::optional<TForm1> form;
    std::function<void()> chained;
    bool counting = false;

    if (mode == "engine") {
        form.emplace(platform);
        // The real window: every tick runs the engine, redraws both read-outs and repaints.
        form->show();
        QObject::connect(&form->engine(), &TimerEngine::drawRequested, &app, [&] {
            if (!counting)
                return;
            schedule.tick();
            if (schedule.ticks() >= seconds)
                QCoreApplication::quit();
        });
        form->engine().SetDuration(99, 59, 59);
        // The n-th tick is due n seconds after the start; the start's own redraw is no tick.
        schedule.start();
        form->engine().StartCountdown();
        counting = true;
    } else if (mode == "idle") {
        // The clock tick is the only thing that runs; it is measured as the tick here.
        form.emplace(platform);
        form->show();
        QObject::connect(&form->Timer2, &TTimer::OnTimer, &app, [&] {
            schedule.tick();
            if (schedule.ticks() >= seconds)
                QCoreApplication::quit();
        });
        schedule.start();
    } else if (mode == "chained") {
        // The naive way: each timeout arms the next one-second single shot.
        chained = [&] {
            schedule.tick();
            if (schedule.ticks() >= seconds) {
                QCoreApplication::quit();
                return;
            }
            QTimer::singleShot(1000, &app, chained);
        };
        schedule.start();
        QTimer::singleShot(1000, &app, chained);
    } else {
        std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
        return 2;
    }

    QApplication::exec();
    schedule.report(mode.c_str());
    return 0;
}
