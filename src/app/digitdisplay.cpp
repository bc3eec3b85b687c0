#include "app/digitdisplay.h"

#include "assets/glyphstrip.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kColonCell = 10;

int digitAt(const char* text, int i)
{
    return text[i] - '0';
}

// A field as drawn: zero-padded to `width` digits and, when longer, only its first `width`.
QString shownDigits(int value, int width)
{
    return QString::number(std::max(value, 0)).rightJustified(width, u'0', true);
}

} // namespace

void DrawTime(TimerState& state, const GlyphStrip& ImageList1, const GlyphStrip& ImageList3,
              QImage& counter, QImage& readout)
{
    if (state.Minutes < 0)
        state.Minutes = 0;
    if (state.Seconds < 0)
        state.Seconds = 0;
    if (state.Hours < 0)
        state.Hours = 0;
    if (state.TotalSeconds < 0)
        state.TotalSeconds = 0;

    // Zero-padded to at least two or six digits, never cut: only the leading digits are drawn,
    // so a total of 1000000 shows 100000 and 100 hours show 10.
    char minutes[16];
    char seconds[16];
    char hours[16];
    char total[16];
    std::snprintf(minutes, sizeof minutes, "%.2d", state.Minutes);
    std::snprintf(seconds, sizeof seconds, "%.2d", state.Seconds);
    std::snprintf(hours, sizeof hours, "%.2d", state.Hours);
    std::snprintf(total, sizeof total, "%.6d", state.TotalSeconds);

    for (int i = 0; i < 6; ++i)
        ImageList1.DrawCell(counter, 16 * i, 0, digitAt(total, i));

    // Each colon first: the digit to its right covers the colon cell's black part.
    ImageList3.DrawCell(readout, 0, 0, digitAt(hours, 0));
    ImageList3.DrawCell(readout, 40, 0, digitAt(hours, 1));
    ImageList3.DrawCell(readout, 80, 0, kColonCell);
    ImageList3.DrawCell(readout, 91, 0, digitAt(minutes, 0));
    ImageList3.DrawCell(readout, 131, 0, digitAt(minutes, 1));
    ImageList3.DrawCell(readout, 171, 0, kColonCell);
    ImageList3.DrawCell(readout, 182, 0, digitAt(seconds, 0));
    ImageList3.DrawCell(readout, 222, 0, digitAt(seconds, 1));
}

QString readoutText(const TimerState& state)
{
    return shownDigits(state.Hours, 2) + u':' + shownDigits(state.Minutes, 2) + u':' +
           shownDigits(state.Seconds, 2);
}

QString counterText(const TimerState& state)
{
    return shownDigits(state.TotalSeconds, 6);
}
