#pragma once

#include <QDir>
#include <QString>

#include <cstddef>
#include <optional>
#include <vector>

// Reading tones back from a recording: where the sound is, how long, at what pitch.
namespace SoundCheck {

// Samples louder than this count as sound; the built-in sounds are far louder, the null sink's
// silence is exactly zero.
constexpr int kLoud = 2000;

struct Span
{
    std::size_t first = 0;
    std::size_t end = 0; // one past the last loud sample
};

// From the first loud sample at or after `from` to the last one.
std::optional<Span> loudSpan(const std::vector<qint16>& samples, std::size_t from);

// The pitch of [first, end) in hertz, from its zero crossings.
double pitch(const std::vector<qint16>& samples, std::size_t first, std::size_t end, int rate);

// The pitch of each loud 10 ms window of the span, in order; 0 for a quiet window.
std::vector<double> windowPitches(const std::vector<qint16>& samples, const Span& span, int rate);

double milliseconds(std::size_t samples, int rate);

// Where each tone starts: loud after at least 300 ms of quiet.
std::vector<std::size_t> onsets(const std::vector<qint16>& samples, int rate);

// The threads the sound player runs, by the name it gives them.
int soundThreads();

} // namespace SoundCheck
