#pragma once

#include "xharness.h"

#include <QImage>
#include <QPoint>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace e2e {

// One line a stand-in script logged: when (ms since the epoch) and what, one line per run.
struct Logged
{
    qint64 at = 0;
    QString what;
};

// The lines of the stand-ins' log at `path`; none while it does not exist.
std::vector<Logged> readLog(const QString& path);

// A program on a private X server with its main window found, for tests that drive Vokari.
class ProgramTest : public testing::Test
{
protected:
    static constexpr int kTimeoutMs = 10000;

    // Starts `program` with `extra` added to its environment, through `launcher` when one is
    // given (Wine, say), and waits for the window titled Vokari; failures are fatal, so call it
    // through ASSERT_NO_FATAL_FAILURE.
    void startProgram(const QString& program, const QProcessEnvironment& extra = {},
                      const QStringList& launcher = {}, int timeoutMs = kTimeoutMs);
    // A program that ended by itself during a test fails it.
    void TearDown() override;

    // Clicks `at`, relative to `window`'s client area, with the left button.
    bool clickIn(const WindowInfo& window, QPoint at);
    // Clicks the field at `at` and types `text` over everything in it.
    bool replaceText(const WindowInfo& window, QPoint at, const QString& text);
    // Waits until no window titled `title` shows: a click on the main window while a dialog is
    // still up would be lost to the dialog's modality.
    bool waitGone(const QString& title, int timeoutMs = kTimeoutMs);
    // Sets a countdown of `seconds` (under a minute) through the set-time dialog's keys and OK,
    // and waits for the counter to show it; failures are fatal (ASSERT_NO_FATAL_FAILURE).
    void setCountdownSeconds(int seconds, int timeoutMs = kTimeoutMs);
    // What tickActions sets in the action dialog: the message box always, with `message` typed
    // when given; the program and the URL when named; the alarm's repeat count; power off.
    struct Actions
    {
        // Every member has an initialiser, so a designated list may leave any of them out.
        QString message{};
        QString program{};
        int repeats = 3;
        QString url{};
        bool powerOff = true;
    };
    // Sets `actions` through the action dialog and closes it. Failures are fatal.
    void tickActions(const Actions& actions);
    // The main window as it shows where it was found.
    QImage mainImage() const;
    // Poll the main window's counter or read-out until it reads `expected`; what was read last.
    QString waitForCounter(const QString& expected, int timeoutMs = kTimeoutMs);
    QString waitForReadout(const QString& expected, int timeoutMs = kTimeoutMs);

    XServer m_server;
    std::unique_ptr<AppProcess> m_app;
    WindowInfo m_main;
};

} // namespace e2e
