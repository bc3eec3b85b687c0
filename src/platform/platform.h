#pragma once

// The operating-system services the program uses, behind one narrow interface. One instance is
// created at start-up and handed to the windows that need it; tests hand in a recording fake.
class Platform
{
public:
    Platform() = default;
    Platform(const Platform&) = delete;
    Platform& operator=(const Platform&) = delete;
    virtual ~Platform() = default;

    // Takes every window of the program off the screen; timers and actions go on running.
    virtual void minimiseApplication() = 0;

    // Brings a minimised program back and activates it; does nothing if it is not minimised.
    virtual void restoreApplication() = 0;
};
