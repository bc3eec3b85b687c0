#pragma once

#include "core/timerstate.h"

#include <QImage>
#include <QString>

class GlyphStrip;

// Renders the state as glyphs: the six-digit seconds counter from the small cyan strip onto
// `counter`, and HH:MM:SS from the large red strip onto `readout`. Negative fields are clamped
// to 0 and the zeros stored back into the state.
void DrawTime(TimerState& state, const GlyphStrip& ImageList1, const GlyphStrip& ImageList3,
              QImage& counter, QImage& readout);

// The same two read-outs as text, for screen readers: "00:01:30" and "000090". Digit for digit
// what DrawTime shows, clamped and cut alike.
QString readoutText(const TimerState& state);
QString counterText(const TimerState& state);
