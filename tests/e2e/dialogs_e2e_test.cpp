// The two dialog buttons of the main window under the real pointer and keyboard: a duration
// typed into the set-time dialog reaches the read-out, and a box ticked in the action dialog
// shows in the summary line.
#include "mainwindowscreen.h"
#include "pixelcensus.h"
#include "programtest.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace e2e;

namespace {

class DialogsE2E : public ProgramTest
{
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(startProgram(QStringLiteral(VOKARI_PROGRAM))); }
};

TEST_F(DialogsE2E, TypedDurationReachesTheReadOut)
{
    ASSERT_TRUE(clickIn(m_main, MainWindowScreen::setTimeButton()))
        << m_server.errorString().toStdString();
    const WindowInfo dialog = m_server.findWindow(QStringLiteral("设置时间"), kTimeoutMs);
    ASSERT_TRUE(dialog.isValid()) << "the set-time dialog did not appear";
    EXPECT_EQ(dialog.geometry, QRect(m_main.geometry.topLeft() + QPoint(0, 60), QSize(351, 227)))
        << "first placed centred on the main window";

    // Hours, then Tab to the minutes, with real keys.
    ASSERT_TRUE(clickIn(dialog, SetTimeScreen::hoursField()));
    ASSERT_TRUE(m_server.key(QStringLiteral("ctrl+a")) && m_server.typeText(QStringLiteral("1")));
    ASSERT_TRUE(m_server.key(QStringLiteral("Tab")));
    ASSERT_TRUE(m_server.key(QStringLiteral("ctrl+a")) && m_server.typeText(QStringLiteral("30")));
    ASSERT_TRUE(clickIn(dialog, SetTimeScreen::okButton()));

    EXPECT_EQ(waitForCounter(QStringLiteral("005400")).toStdString(), "005400");
    EXPECT_EQ(MainWindowScreen::readout(mainImage()).toStdString(), "01:30:00");
}

TEST_F(DialogsE2E, TickedMessageBoxShowsInTheSummaryLine)
{
    // Once the counter shows, the panel with the summary line has been painted.
    ASSERT_EQ(waitForCounter(QStringLiteral("000000")).toStdString(), "000000");
    const QRect summary = MainWindowScreen::summaryLineArea();
    const QImage before = mainImage().copy(summary);
    ASSERT_TRUE(clickIn(m_main, MainWindowScreen::actionsButton()))
        << m_server.errorString().toStdString();
    const WindowInfo dialog = m_server.findWindow(QStringLiteral("操作"), kTimeoutMs);
    ASSERT_TRUE(dialog.isValid()) << "the action dialog did not appear";
    EXPECT_EQ(dialog.geometry.topLeft(), m_main.geometry.topLeft() + QPoint(0, -63));

    ASSERT_TRUE(clickIn(dialog, ActionsScreen::messageBox()));
    ASSERT_TRUE(clickIn(dialog, ActionsScreen::closeButton()));

    // "操作:警报" becomes "操作: 警报; 信息; ": more text, and different.
    const int litBefore = census(before).lit;
    QImage after;
    EXPECT_TRUE(waitUntil(
        [&] {
            after = mainImage().copy(summary);
            return after != before && census(after).lit > litBefore * 3 / 2;
        },
        kTimeoutMs))
        << "lit pixels before " << litBefore << ", after " << census(after).lit;
}

} // namespace
