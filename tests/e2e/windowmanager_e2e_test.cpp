// Minimising and restoring under a real window manager: the minimise button takes every shown
// window of the program off the screen, and restoring the main window from the taskbar or the
// next completion brings them all back where they were, the message window in front.
#include "mainwindowscreen.h"
#include "windowmanager.h"
#include "xharness.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

constexpr int kTimeoutMs = 10000;
const QString kMain = QStringLiteral("Vokari");
const QString kMessage = QStringLiteral("信息");

TEST(WindowManagerE2E, MinimiseTakesEveryWindowAwayAndTheNextCompletionRestoresThemAll)
{
    XServer server;
    ASSERT_TRUE(server.isReady()) << server.errorString().toStdString();
    WindowManager manager(server);
    ASSERT_TRUE(manager.isReady()) << manager.errorString().toStdString();
    AppProcess app(server, QStringLiteral(VOKARI_PROGRAM));
    const WindowInfo main = server.findWindow(kMain, kTimeoutMs);
    ASSERT_TRUE(main.isValid()) << "no main window";
    const QPoint origin = main.geometry.topLeft();

    // Actions: no alarm, show a message, loop.
    ASSERT_TRUE(server.click(origin + QPoint(100 + 18, 272 + 18)));
    const WindowInfo actions = server.findWindow(QStringLiteral("操作"), kTimeoutMs);
    ASSERT_TRUE(actions.isValid()) << "the action dialog did not appear";
    for (int y : {35, 110, 391})
        ASSERT_TRUE(server.click(actions.geometry.topLeft() + QPoint(20 + 30, y + 8)));
    ASSERT_TRUE(server.click(actions.geometry.topLeft() + QPoint(155 + 18, 410 + 18)));
    ASSERT_TRUE(waitUntil([&] { return !server.findWindow(QStringLiteral("操作"), 0).isValid(); },
                          kTimeoutMs));

    // A six-second countdown: completions come every seven seconds.
    ASSERT_TRUE(server.click(origin + QPoint(139 + 18, 272 + 18)));
    const WindowInfo setTime = server.findWindow(QStringLiteral("设置时间"), kTimeoutMs);
    ASSERT_TRUE(setTime.isValid()) << "the set-time dialog did not appear";
    ASSERT_TRUE(server.click(setTime.geometry.topLeft() + QPoint(30 + 191 + 20, 65 + 40 + 10)));
    ASSERT_TRUE(server.key(QStringLiteral("ctrl+a")) && server.typeText(QStringLiteral("6")));
    ASSERT_TRUE(server.click(setTime.geometry.topLeft() + QPoint(125 + 18, 168 + 18)));
    ASSERT_TRUE(waitUntil(
        [&] { return !server.findWindow(QStringLiteral("设置时间"), 0).isValid(); }, kTimeoutMs));
    ASSERT_TRUE(server.click(origin + MainWindowScreen::startButton()));

    const WindowInfo message = server.findWindow(kMessage, kTimeoutMs);
    ASSERT_TRUE(message.isValid()) << "the first completion showed no message";

    // The minimise glyph, right after a completion: seven seconds before the next one. The
    // pointer comes to it afresh each time, as a hand would.
    const auto minimiseBoth = [&] {
        EXPECT_TRUE(server.moveTo(origin + QPoint(150, 200)));
        EXPECT_TRUE(server.click(origin + QPoint(281 + 8, 10 + 8)));
        EXPECT_TRUE(waitUntil(
            [&] { return manager.isIconic(main.id) && manager.isIconic(message.id); }, 2000))
            << "main iconic " << manager.isIconic(main.id) << ", message iconic "
            << manager.isIconic(message.id);
        EXPECT_FALSE(server.findWindow(kMain, 0).isValid());
        EXPECT_FALSE(server.findWindow(kMessage, 0).isValid());
    };
    minimiseBoth();

    // Restoring the main window from the taskbar brings the message window back with it.
    ASSERT_TRUE(manager.activate(main.id));
    EXPECT_TRUE(waitUntil(
        [&] { return !manager.isIconic(main.id) && !manager.isIconic(message.id); }, 2000))
        << "main iconic " << manager.isIconic(main.id) << ", message iconic "
        << manager.isIconic(message.id);
    EXPECT_EQ(server.findWindow(kMessage, 1000).geometry, message.geometry);
    minimiseBoth();

    // The next completion restores both, each where it was.
    const WindowInfo restoredMain = server.findWindow(kMain, 9000);
    const WindowInfo restoredMessage = server.findWindow(kMessage, 9000);
    ASSERT_TRUE(restoredMain.isValid()) << "the main window was not restored";
    ASSERT_TRUE(restoredMessage.isValid()) << "the message window was not restored";
    EXPECT_FALSE(manager.isIconic(main.id));
    EXPECT_FALSE(manager.isIconic(message.id));
    EXPECT_EQ(restoredMain.geometry, main.geometry);
    EXPECT_EQ(restoredMessage.geometry, message.geometry);
    EXPECT_TRUE(app.isRunning());
}

} // namespace
