#pragma once

// The completion options as the action settings dialog holds them. Each one is read at the
// moment the step that needs it is reached, so a change made during an alarm applies at once.
class ActionSettings
{
public:
    ActionSettings() = default;
    ActionSettings(const ActionSettings&) = delete;
    ActionSettings& operator=(const ActionSettings&) = delete;
    virtual ~ActionSettings() = default;

    // "循环定时": restart the same countdown at every completion.
    virtual bool loopEnabled() const = 0;
};
