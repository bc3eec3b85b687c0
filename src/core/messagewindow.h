#pragma once

class QString;

// The message window as the completion sees it: one operation, so the completion can be run and
// tested without any window.
class MessageWindow
{
public:
    // Shows `text` without blocking anything: the window appears, or stays open with the new
    // text, and comes to the front.
    virtual void showText(const QString& text) = 0;

protected:
    MessageWindow() = default;
    MessageWindow(const MessageWindow&) = default;
    MessageWindow& operator=(const MessageWindow&) = default;
    ~MessageWindow() = default;
};
