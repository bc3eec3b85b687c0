// The program on a real X server: its window appears where it should, the counter reads zero,
// the add button works under the real pointer, and the countdown runs once started.
#include "mainwindowscreen.h"
#include "xharness.h"

#include <QImage>

#include <gtest/gtest.h>
#include <memory>

using namespace e2e;

namespace {

constexpr int kScreenTimeoutMs = 10000;

class MainWindowE2E : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_server.isReady()) << m_server.errorString().toStdString();
        m_app = std::make_unique<AppProcess>(m_server, QStringLiteral(VOKARI_PROGRAM));
        ASSERT_TRUE(m_app->errorString().isEmpty()) << m_app->errorString().toStdString();
        m_window = m_server.findWindow(QStringLiteral("Vokari"), kScreenTimeoutMs);
        ASSERT_TRUE(m_window.isValid()) << "no window titled Vokari appeared";
    }

    void TearDown() override
    {
        if (m_app != nullptr) {
            EXPECT_TRUE(m_app->isRunning()) << "the program ended during the test";
        }
    }

    QImage windowImage() const { return m_server.grab(m_window.geometry); }

    // Polls the counter until it reads `expected`; returns what it read last.
    QString waitForCounter(const QString& expected)
    {
        QString read;
        waitUntil(
            [&] {
                read = MainWindowScreen::counter(windowImage());
                return read == expected;
            },
            kScreenTimeoutMs);
        return read;
    }

    QString waitForReadout(const QString& expected)
    {
        QString read;
        waitUntil(
            [&] {
                read = MainWindowScreen::readout(windowImage());
                return read == expected;
            },
            kScreenTimeoutMs);
        return read;
    }

    bool clickAt(QPoint windowPosition)
    {
        return m_server.click(m_window.geometry.topLeft() + windowPosition);
    }

    XServer m_server;
    std::unique_ptr<AppProcess> m_app;
    WindowInfo m_window;
};

TEST_F(MainWindowE2E, OpensCentredAtItsFixedSize)
{
    EXPECT_EQ(m_window.geometry.size(), QSize(351, 347));
    EXPECT_EQ(m_window.geometry.topLeft(), QPoint((1280 - 351) / 2, (800 - 347) / 2));
}

TEST_F(MainWindowE2E, StartsWithZeroOnBothDisplays)
{
    EXPECT_EQ(waitForCounter(QStringLiteral("000000")).toStdString(), "000000");
    EXPECT_EQ(waitForReadout(QStringLiteral("00:00:00")).toStdString(), "00:00:00");
}

TEST_F(MainWindowE2E, EachAddClickAddsOneMinute)
{
    ASSERT_EQ(waitForCounter(QStringLiteral("000000")).toStdString(), "000000");
    // Waiting for each step keeps the clicks apart and shows which click went wrong.
    for (const char* expected : {"000060", "000120", "000180"}) {
        ASSERT_TRUE(clickAt(MainWindowScreen::addButton())) << m_server.errorString().toStdString();
        ASSERT_EQ(waitForCounter(QLatin1String(expected)).toStdString(), expected);
    }
    EXPECT_EQ(waitForReadout(QStringLiteral("00:03:00")).toStdString(), "00:03:00");
}

TEST_F(MainWindowE2E, BothPressesOfADoubleClickAddAMinute)
{
    ASSERT_EQ(waitForCounter(QStringLiteral("000000")).toStdString(), "000000");
    // Two clicks straight after each other: the system delivers the second press as a double
    // click, and the add button must count it like any other press.
    const QPoint add = m_window.geometry.topLeft() + MainWindowScreen::addButton();
    ASSERT_TRUE(m_server.click(add) && m_server.click(add)) << m_server.errorString().toStdString();
    EXPECT_EQ(waitForCounter(QStringLiteral("000120")).toStdString(), "000120");
}

TEST_F(MainWindowE2E, StartCountsDown)
{
    ASSERT_EQ(waitForCounter(QStringLiteral("000000")).toStdString(), "000000");
    for (const char* expected : {"000060", "000120", "000180"}) {
        ASSERT_TRUE(clickAt(MainWindowScreen::addButton())) << m_server.errorString().toStdString();
        ASSERT_EQ(waitForCounter(QLatin1String(expected)).toStdString(), expected);
    }

    ASSERT_TRUE(clickAt(MainWindowScreen::startButton())) << m_server.errorString().toStdString();
    QString read;
    bool ok = false;
    const bool changed = waitUntil(
        [&] {
            read = MainWindowScreen::counter(windowImage());
            const int seconds = read.toInt(&ok);
            return ok && seconds < 180;
        },
        5000);
    ASSERT_TRUE(changed) << "the counter still reads " << read.toStdString();
    EXPECT_GE(read.toInt(), 170) << "read " << read.toStdString();

    // The read-out follows the counter down from 00:03:00.
    QString readout;
    EXPECT_TRUE(waitUntil(
        [&] {
            readout = MainWindowScreen::readout(windowImage());
            return readout.startsWith(QStringLiteral("00:02:")) &&
                   !readout.contains(QLatin1Char('?'));
        },
        5000))
        << "read-out reads " << readout.toStdString();
}

} // namespace
