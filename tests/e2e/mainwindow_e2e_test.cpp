// The program on a real X server: its window appears where it should, the counter reads zero,
// the add button works under the real pointer, and the countdown runs once started.
#include "mainwindowscreen.h"
#include "programtest.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace e2e;

namespace {

class MainWindowE2E : public ProgramTest
{
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(startProgram(QStringLiteral(VOKARI_PROGRAM))); }

    bool clickAt(QPoint windowPosition) { return clickIn(m_main, windowPosition); }

    // From zero, three clicks on add; waiting for each step keeps the clicks apart and shows
    // which click went wrong.
    void addThreeMinutes()
    {
        ASSERT_EQ(waitForCounter(QStringLiteral("000000")).toStdString(), "000000");
        for (const char* expected : {"000060", "000120", "000180"}) {
            ASSERT_TRUE(clickAt(MainWindowScreen::addButton()))
                << m_server.errorString().toStdString();
            ASSERT_EQ(waitForCounter(QLatin1String(expected)).toStdString(), expected);
        }
    }
};

TEST_F(MainWindowE2E, OpensCentredAtItsFixedSize)
{
    EXPECT_EQ(m_main.geometry.size(), QSize(351, 347));
    EXPECT_EQ(m_main.geometry.topLeft(), QPoint((1280 - 351) / 2, (800 - 347) / 2));
}

TEST_F(MainWindowE2E, StartsWithZeroOnBothDisplays)
{
    EXPECT_EQ(waitForCounter(QStringLiteral("000000")).toStdString(), "000000");
    EXPECT_EQ(waitForReadout(QStringLiteral("00:00:00")).toStdString(), "00:00:00");
}

TEST_F(MainWindowE2E, EachAddClickAddsOneMinute)
{
    ASSERT_NO_FATAL_FAILURE(addThreeMinutes());
    EXPECT_EQ(waitForReadout(QStringLiteral("00:03:00")).toStdString(), "00:03:00");
}

TEST_F(MainWindowE2E, BothPressesOfADoubleClickAddAMinute)
{
    ASSERT_EQ(waitForCounter(QStringLiteral("000000")).toStdString(), "000000");
    // Two clicks straight after each other: the system delivers the second press as a double
    // click, and the add button must count it like any other press.
    const QPoint add = MainWindowScreen::addButton();
    ASSERT_TRUE(clickAt(add) && clickAt(add)) << m_server.errorString().toStdString();
    EXPECT_EQ(waitForCounter(QStringLiteral("000120")).toStdString(), "000120");
}

TEST_F(MainWindowE2E, StartCountsDown)
{
    ASSERT_NO_FATAL_FAILURE(addThreeMinutes());

    ASSERT_TRUE(clickAt(MainWindowScreen::startButton())) << m_server.errorString().toStdString();
    QString read;
    bool ok = false;
    const bool changed = waitUntil(
        [&] {
            read = MainWindowScreen::counter(mainImage());
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
            readout = MainWindowScreen::readout(mainImage());
            return readout.startsWith(QStringLiteral("00:02:")) &&
                   !readout.contains(QLatin1Char('?'));
        },
        5000))
        << "read-out reads " << readout.toStdString();
}

} // namespace
