#pragma once

// How the program may end the user's session. Each backend maps these to its own system's
// request; nothing above the backends knows any system's flags.
enum class SessionEnd
{
    PowerOff,
    Restart,
    LogOff,
};
