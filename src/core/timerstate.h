#pragma once

#include <cstdint>

// The countdown/stopwatch state owned by the main window. TotalSeconds is authoritative;
// Hours, Minutes and Seconds are the display fields derived from it by SplitTotal.
struct TimerState
{
    std::int32_t TotalSeconds = 0;
    std::int32_t Seconds = 0;
    std::int32_t Minutes = 0;
    std::int32_t Hours = 0;
    std::int32_t LoopSeconds = 0;
    bool StopwatchMode = false;

    // Hours, minutes and seconds from the total. C++ division truncates toward zero and the
    // remainder keeps the dividend's sign, so a total of -30 gives 0, 0 and -30.
    void SplitTotal()
    {
        Hours = TotalSeconds / 3600;
        Minutes = TotalSeconds / 60 - Hours * 60;
        Seconds = TotalSeconds % 60;
    }
};
