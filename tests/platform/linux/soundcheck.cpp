#include "soundcheck.h"

#include <QFile>

#include <cmath>
#include <cstdlib>

namespace SoundCheck {

std::optional<Span> loudSpan(const std::vector<qint16>& samples, std::size_t from)
{
    std::optional<Span> span;
    for (std::size_t i = from; i < samples.size(); ++i) {
        if (std::abs(int(samples[i])) <= kLoud)
            continue;
        if (!span)
            span = Span{i, i + 1};
        span->end = i + 1;
    }
    return span;
}

double pitch(const std::vector<qint16>& samples, std::size_t first, std::size_t end, int rate)
{
    // A crossing counts once the signal has gone past a small margin on the other side, so
    // noise around zero adds none.
    constexpr int kMargin = 300;
    int crossings = 0;
    int side = 0;
    std::size_t firstCrossing = 0;
    std::size_t lastCrossing = 0;
    for (std::size_t i = first; i < end; ++i) {
        const int now = samples[i] > kMargin ? 1 : samples[i] < -kMargin ? -1 : 0;
        if (now == 0 || now == side)
            continue;
        if (side != 0) {
            if (crossings == 0)
                firstCrossing = i;
            lastCrossing = i;
            ++crossings;
        }
        side = now;
    }
    if (crossings < 2)
        return 0;
    // Half a period between neighbouring crossings.
    const double seconds = double(lastCrossing - firstCrossing) / rate;
    return (crossings - 1) / (2 * seconds);
}

std::vector<double> windowPitches(const std::vector<qint16>& samples, const Span& span, int rate)
{
    const std::size_t window = std::size_t(rate / 100);
    std::vector<double> pitches;
    for (std::size_t at = span.first; at + window <= span.end; at += window) {
        double energy = 0;
        for (std::size_t i = at; i < at + window; ++i)
            energy += double(samples[i]) * samples[i];
        const bool loud = std::sqrt(energy / double(window)) > kLoud;
        pitches.push_back(loud ? pitch(samples, at, at + window, rate) : 0.0);
    }
    return pitches;
}

double milliseconds(std::size_t samples, int rate)
{
    return 1000.0 * double(samples) / rate;
}

int soundThreads()
{
    int count = 0;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(task + QStringLiteral("/comm")));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "Vokari sound")
            ++count;
    }
    return count;
}

std::vector<std::size_t> onsets(const std::vector<qint16>& samples, int rate)
{
    std::vector<std::size_t> found;
    const std::size_t gap = std::size_t(rate) * 3 / 10;
    std::size_t lastLoud = 0;
    bool any = false;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(int(samples[i])) < kLoud)
            continue;
        if (!any || i - lastLoud > gap)
            found.push_back(i);
        lastLoud = i;
        any = true;
    }
    return found;
}

} // namespace SoundCheck
