#pragma once

#include <QString>

#include <compare>

// What the program's taskbar button shows (Windows' taskbar; on Linux the docks and task
// managers that read the launcher entry): a countdown's progress, the whole minutes left, the
// thumbnail's hover text, and a call for attention. The default is what an idle program shows.
struct TaskbarView
{
    enum class Bar
    {
        None,    // no bar
        Running, // the countdown is ticking
        Paused,  // a countdown stands paused (Windows draws the bar yellow)
    };

    Bar bar = Bar::None;
    // How far the bar has gone: `done` seconds of `length`, 0 <= done <= length; 0 of 0 without
    // a bar.
    int done = 0;
    int length = 0;
    // The whole minutes left, rounded up, shown as a count where the desktop shows one; 0
    // without a bar.
    int minutesLeft = 0;
    // The thumbnail's hover text on Windows: "Vokari", or "Vokari 01:29:59" while a bar shows.
    QString hoverText = QStringLiteral("Vokari");
    // The button asks for attention until the program is active again.
    bool attention = false;

    double progress() const { return length > 0 ? double(done) / double(length) : 0.0; }
    friend bool operator==(const TaskbarView&, const TaskbarView&) = default;
};
