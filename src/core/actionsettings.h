#pragma once

#include <QString>

// The completion options as the action settings dialog holds them. Each one is read at the
// moment the step that needs it is reached, so a change made during an alarm applies at once.
// Only the loop must be given: a source that knows nothing else (the engine's own tests) reports
// every action off, with the built-in sound selected as the dialog always has one source.
class ActionSettings
{
public:
    ActionSettings() = default;
    ActionSettings(const ActionSettings&) = delete;
    ActionSettings& operator=(const ActionSettings&) = delete;
    virtual ~ActionSettings() = default;

    // "循环定时": restart the same countdown at every completion.
    virtual bool loopEnabled() const = 0;

    // "声音警报": play a sound at completion.
    virtual bool soundAlarmEnabled() const { return false; }
    // "使用内置声音" selected: the built-in sound, repeated.
    virtual bool builtInSoundSelected() const { return true; }
    // "播放声音文件" selected: the sound file, played once.
    virtual bool soundFileSelected() const { return false; }
    // Index 0 to 2 of the built-in sound list; the sound id is one more.
    virtual int builtInSoundIndex() const { return 0; }
    // The repeat count as typed: parsed when the alarm runs.
    virtual QString repeatCountText() const { return {}; }
    virtual QString soundFileText() const { return {}; }

    // "显示信息" and the whole text of the message, lines separated by '\n'.
    virtual bool messageEnabled() const { return false; }
    virtual QString messageText() const { return {}; }

    // "执行程序" and the program or document to open.
    virtual bool programEnabled() const { return false; }
    virtual QString programText() const { return {}; }

    // "关闭 Windows" and the kind of ending: 0 shut down, 1 restart, 2 log off, -1 none.
    virtual bool sessionEndEnabled() const { return false; }
    virtual int sessionEndIndex() const { return 0; }

    // "启动 URL" and the address to open.
    virtual bool urlEnabled() const { return false; }
    virtual QString urlText() const { return {}; }
};
