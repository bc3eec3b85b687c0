// The two dialog buttons of the main window under the real pointer and keyboard: a duration
// typed into the set-time dialog reaches the read-out, and a box ticked in the action dialog
// shows in the summary line.
#include "mainwindowscreen.h"
#include "xharness.h"

#include <QImage>

#include <gtest/gtest.h>
#include <memory>

using namespace e2e;

namespace {

constexpr int kTimeoutMs = 10000;

// The summary line's box inside the main window.
const QRect kSummary(29 + 16, 32 + 48, 274, 33);

int litPixels(const QImage& image)
{
    int lit = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            lit += (image.pixel(x, y) & 0xFFFFFFu) != 0;
    return lit;
}

class DialogsE2E : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_server.isReady()) << m_server.errorString().toStdString();
        m_app = std::make_unique<AppProcess>(m_server, QStringLiteral(VOKARI_PROGRAM));
        m_main = m_server.findWindow(QStringLiteral("Vokari"), kTimeoutMs);
        ASSERT_TRUE(m_main.isValid()) << "no window titled Vokari appeared";
    }

    bool clickMain(QPoint at) { return m_server.click(m_main.geometry.topLeft() + at); }
    QImage mainImage() const { return m_server.grab(m_main.geometry); }

    XServer m_server;
    std::unique_ptr<AppProcess> m_app;
    WindowInfo m_main;
};

TEST_F(DialogsE2E, TypedDurationReachesTheReadOut)
{
    ASSERT_TRUE(clickMain({139 + 18, 272 + 18})) << m_server.errorString().toStdString();
    const WindowInfo dialog = m_server.findWindow(QStringLiteral("设置时间"), kTimeoutMs);
    ASSERT_TRUE(dialog.isValid()) << "the set-time dialog did not appear";
    EXPECT_EQ(dialog.geometry, QRect(m_main.geometry.topLeft() + QPoint(0, 60), QSize(351, 227)))
        << "first placed centred on the main window";

    // Hours, then Tab to the minutes, with real keys.
    const QPoint hours = dialog.geometry.topLeft() + QPoint(30 + 31 + 20, 65 + 40 + 10);
    ASSERT_TRUE(m_server.click(hours));
    ASSERT_TRUE(m_server.key(QStringLiteral("ctrl+a")) && m_server.typeText(QStringLiteral("1")));
    ASSERT_TRUE(m_server.key(QStringLiteral("Tab")));
    ASSERT_TRUE(m_server.key(QStringLiteral("ctrl+a")) && m_server.typeText(QStringLiteral("30")));
    ASSERT_TRUE(m_server.click(dialog.geometry.topLeft() + QPoint(125 + 18, 168 + 18)));

    QString counter;
    EXPECT_TRUE(waitUntil(
        [&] {
            counter = MainWindowScreen::counter(mainImage());
            return counter == QStringLiteral("005400");
        },
        kTimeoutMs))
        << "the counter reads " << counter.toStdString();
    EXPECT_EQ(MainWindowScreen::readout(mainImage()).toStdString(), "01:30:00");
}

TEST_F(DialogsE2E, TickedMessageBoxShowsInTheSummaryLine)
{
    const QImage before = mainImage().copy(kSummary);
    ASSERT_TRUE(clickMain({100 + 18, 272 + 18})) << m_server.errorString().toStdString();
    const WindowInfo dialog = m_server.findWindow(QStringLiteral("操作"), kTimeoutMs);
    ASSERT_TRUE(dialog.isValid()) << "the action dialog did not appear";
    EXPECT_EQ(dialog.geometry.topLeft(), m_main.geometry.topLeft() + QPoint(0, -63));

    // "显示信息", then the cross at the foot of the dialog.
    ASSERT_TRUE(m_server.click(dialog.geometry.topLeft() + QPoint(20 + 30, 110 + 8)));
    ASSERT_TRUE(m_server.click(dialog.geometry.topLeft() + QPoint(155 + 18, 410 + 18)));

    // "操作:警报" becomes "操作: 警报; 信息; ": more text, and different.
    QImage after;
    EXPECT_TRUE(waitUntil(
        [&] {
            after = mainImage().copy(kSummary);
            return after != before && litPixels(after) > litPixels(before) * 3 / 2;
        },
        kTimeoutMs))
        << "lit pixels before " << litPixels(before) << ", after " << litPixels(after);
}

} // namespace
