// Minimising and restoring under real window managers, openbox and GNOME's mutter: the message
// window belongs to the main window, so minimising the main window (from the taskbar or with the
// minimise button) takes it along, and restoring the main window from the taskbar or the next
// completion brings both back where they were.
#include "mainwindowscreen.h"
#include "windowmanager.h"
#include "xharness.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

constexpr int kTimeoutMs = 10000;
const QString kMain = QStringLiteral("Vokari");
const QString kMessage = QStringLiteral("信息");

class WindowManagerE2E : public testing::TestWithParam<WindowManager::Kind>
{
};

TEST_P(WindowManagerE2E, MinimiseTakesTheMessageWindowAlongAndRestoringBringsBothBack)
{
    XServer server;
    ASSERT_TRUE(server.isReady()) << server.errorString().toStdString();
    WindowManager manager(server, GetParam());
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

    // The window manager's word on each (WM_STATE): mutter, compositing, keeps minimised
    // windows mapped, so only that tells whether they are off the screen.
    const auto expectBoth = [&](bool iconic, int withinMs) {
        EXPECT_TRUE(waitUntil(
            [&] {
                return manager.isIconic(main.id) == iconic &&
                       manager.isIconic(message.id) == iconic;
            },
            withinMs))
            << "main iconic " << manager.isIconic(main.id) << ", message iconic "
            << manager.isIconic(message.id);
    };

    // Right after a completion, seven seconds before the next one: the minimise glyph, the
    // pointer coming to it afresh as a hand would. The message window goes with the main window.
    EXPECT_TRUE(server.moveTo(origin + QPoint(150, 200)));
    EXPECT_TRUE(server.click(origin + QPoint(281 + 8, 10 + 8)));
    expectBoth(true, 2000);

    // Restoring the main window from the taskbar brings the message window back with it.
    ASSERT_TRUE(manager.activate(main.id));
    expectBoth(false, 2000);
    EXPECT_EQ(server.findWindow(kMessage, 1000).geometry, message.geometry);

    // The taskbar minimises the main window, and again the message window goes with it.
    ASSERT_TRUE(manager.minimise(main.id));
    expectBoth(true, 2000);

    // The next completion restores both, each where it was.
    expectBoth(false, 9000);
    EXPECT_EQ(server.findWindow(kMain, 1000).geometry, main.geometry);
    EXPECT_EQ(server.findWindow(kMessage, 1000).geometry, message.geometry);
    EXPECT_TRUE(app.isRunning());
}

INSTANTIATE_TEST_SUITE_P(Managers, WindowManagerE2E,
                         testing::Values(WindowManager::Kind::Openbox, WindowManager::Kind::Mutter),
                         [](const testing::TestParamInfo<WindowManager::Kind>& info) {
                             return info.param == WindowManager::Kind::Mutter ? "mutter"
                                                                              : "openbox";
                         });

} // namespace
