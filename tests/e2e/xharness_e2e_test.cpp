// Checks the harness itself against a plain window that the test puts on the private server,
// so that a fault in the harness is not mistaken for a fault in the program under test.
#include "xharness.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QList>
#include <QProcess>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
// Xlib after GoogleTest: its macros (None, Bool, Status) break GoogleTest's headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

using namespace e2e;

namespace {

constexpr QRgb kProbeColour = 0xffc83214;
constexpr QRect kProbeGeometry(200, 150, 120, 80);

// A window of one colour on its own connection, as any other client would have; the server
// paints its background, so it needs no drawing code.
class ProbeWindow
{
public:
    ProbeWindow(const XServer& server, const QString& title, bool mapped = true)
        : m_display(XOpenDisplay(server.displayName().toLatin1().constData()))
    {
        if (m_display == nullptr)
            return;
        const Window root = DefaultRootWindow(m_display);
        m_window =
            XCreateSimpleWindow(m_display, root, kProbeGeometry.x(), kProbeGeometry.y(),
                                unsigned(kProbeGeometry.width()), unsigned(kProbeGeometry.height()),
                                0, 0, kProbeColour & 0xffffff);
        XStoreName(m_display, m_window, title.toLatin1().constData());
        XSelectInput(m_display, m_window,
                     ButtonPressMask | ButtonReleaseMask | ButtonMotionMask | KeyPressMask);
        if (mapped)
            XMapWindow(m_display, m_window);
        XSync(m_display, False);
    }
    ~ProbeWindow()
    {
        if (m_display != nullptr)
            XCloseDisplay(m_display);
    }
    ProbeWindow(const ProbeWindow&) = delete;
    ProbeWindow& operator=(const ProbeWindow&) = delete;

    bool isOpen() const { return m_display != nullptr; }

    void move(QPoint position)
    {
        XMoveWindow(m_display, m_window, position.x(), position.y());
        XSync(m_display, False);
    }

    void takeFocus()
    {
        XSetInputFocus(m_display, m_window, RevertToParent, CurrentTime);
        XSync(m_display, False);
    }

    // The next event of `type` that arrives within `timeoutMs`, skipping others.
    bool nextEvent(int type, XEvent* event, int timeoutMs = 5000)
    {
        return waitUntil(
            [&] {
                while (XPending(m_display) > 0) {
                    XNextEvent(m_display, event);
                    if (event->type == type)
                        return true;
                }
                return false;
            },
            timeoutMs, 10);
    }

    // Every event that arrives until one of `type` (included), or until `timeoutMs` passes.
    QList<XEvent> eventsUntil(int type, int timeoutMs = 5000)
    {
        QList<XEvent> events;
        waitUntil(
            [&] {
                while (XPending(m_display) > 0) {
                    XEvent event;
                    XNextEvent(m_display, &event);
                    events.append(event);
                    if (event.type == type)
                        return true;
                }
                return false;
            },
            timeoutMs, 10);
        return events;
    }

    // The text of the key presses arriving within `timeoutMs` until `count` characters are in.
    QString typedText(int count, int timeoutMs = 5000)
    {
        QString text;
        XEvent event;
        while (text.size() < count && nextEvent(KeyPress, &event, timeoutMs)) {
            char buffer[8];
            KeySym symbol = 0;
            const int length =
                XLookupString(&event.xkey, buffer, int(sizeof buffer), &symbol, nullptr);
            text +=
                symbol == XK_Return ? QStringLiteral("\n") : QString::fromLatin1(buffer, length);
        }
        return text;
    }

private:
    Display* m_display = nullptr;
    Window m_window = 0;
};

class XHarness : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_server.isReady()) << m_server.errorString().toStdString();
    }

    XServer m_server;
};

TEST_F(XHarness, RunsItsOwnServer)
{
    EXPECT_TRUE(m_server.displayName().startsWith(QLatin1Char(':')));
    EXPECT_NE(m_server.displayName().toLocal8Bit(), qgetenv("DISPLAY"));
    EXPECT_EQ(m_server.environment().value(QStringLiteral("DISPLAY")), m_server.displayName());
    EXPECT_EQ(m_server.screenshot().size(), QSize(1280, 800));
}

TEST_F(XHarness, FindsAWindowByTitleAndCapturesIt)
{
    ProbeWindow probe(m_server, QStringLiteral("Harness probe"));
    ASSERT_TRUE(probe.isOpen());

    const WindowInfo window = m_server.findWindow(QStringLiteral("Harness probe"));
    ASSERT_TRUE(window.isValid());
    EXPECT_EQ(window.geometry, kProbeGeometry);

    const QImage inside = m_server.grab(window.geometry);
    ASSERT_EQ(inside.size(), kProbeGeometry.size());
    for (QPoint corner : {QPoint(0, 0), QPoint(119, 0), QPoint(0, 79), QPoint(119, 79)})
        EXPECT_EQ(inside.pixel(corner), kProbeColour) << corner.x() << ',' << corner.y();

    const QImage screen = m_server.screenshot();
    EXPECT_EQ(screen.pixel(kProbeGeometry.center()), kProbeColour);
    EXPECT_NE(screen.pixel(kProbeGeometry.topLeft() - QPoint(1, 1)), kProbeColour);
    EXPECT_TRUE(m_server.grab(QRect(1200, 700, 100, 200)).isNull()) << "area beyond the screen";
}

TEST_F(XHarness, IgnoresUnmappedWindowsAndOtherTitles)
{
    ProbeWindow hidden(m_server, QStringLiteral("Hidden probe"), false);
    ProbeWindow shown(m_server, QStringLiteral("Harness probe"));
    ASSERT_TRUE(hidden.isOpen() && shown.isOpen());

    EXPECT_FALSE(m_server.findWindow(QStringLiteral("Hidden probe"), 300).isValid());
    EXPECT_FALSE(m_server.findWindow(QStringLiteral("Harness"), 300).isValid());
    EXPECT_TRUE(m_server.findWindow(QStringLiteral("Harness probe"), 300).isValid());
}

TEST_F(XHarness, RereadsAWindowsGeometryAfterItMoves)
{
    unsigned long id = 0;
    {
        ProbeWindow probe(m_server, QStringLiteral("Harness probe"));
        const WindowInfo window = m_server.findWindow(QStringLiteral("Harness probe"));
        ASSERT_TRUE(window.isValid());
        id = window.id;
        EXPECT_EQ(m_server.windowGeometry(id), kProbeGeometry);

        probe.move(QPoint(431, 57));
        EXPECT_EQ(m_server.windowGeometry(id), QRect(QPoint(431, 57), kProbeGeometry.size()));
    }
    // The probe's connection closed, so the server destroyed its window.
    EXPECT_TRUE(waitUntil([&] { return m_server.windowGeometry(id).isEmpty(); }, 5000));
}

class XHarnessInput : public XHarness, public testing::WithParamInterface<InputBackend>
{
};

TEST_P(XHarnessInput, ClicksWhereItIsTold)
{
    m_server.setInputBackend(GetParam());
    ProbeWindow probe(m_server, QStringLiteral("Harness probe"));
    const WindowInfo window = m_server.findWindow(QStringLiteral("Harness probe"));
    ASSERT_TRUE(window.isValid());

    for (int button : {1, 3}) {
        ASSERT_TRUE(m_server.click(window.geometry.topLeft() + QPoint(30, 20 + button), button))
            << m_server.errorString().toStdString();
        XEvent event;
        ASSERT_TRUE(probe.nextEvent(ButtonPress, &event)) << "button " << button;
        EXPECT_EQ(event.xbutton.button, unsigned(button));
        EXPECT_EQ(QPoint(event.xbutton.x, event.xbutton.y), QPoint(30, 20 + button));
        ASSERT_TRUE(probe.nextEvent(ButtonRelease, &event)) << "button " << button;
        EXPECT_EQ(event.xbutton.button, unsigned(button));
    }
}

TEST_P(XHarnessInput, PressAndReleaseAreSeparate)
{
    m_server.setInputBackend(GetParam());
    ProbeWindow probe(m_server, QStringLiteral("Harness probe"));
    const WindowInfo window = m_server.findWindow(QStringLiteral("Harness probe"));
    ASSERT_TRUE(window.isValid());

    ASSERT_TRUE(m_server.moveTo(window.geometry.center()));
    ASSERT_TRUE(m_server.press(2));
    XEvent event;
    ASSERT_TRUE(probe.nextEvent(ButtonPress, &event));
    EXPECT_EQ(event.xbutton.button, 2u);
    EXPECT_FALSE(probe.nextEvent(ButtonRelease, &event, 200)) << "released before release()";
    ASSERT_TRUE(m_server.release(2));
    EXPECT_TRUE(probe.nextEvent(ButtonRelease, &event));
}

TEST_P(XHarnessInput, ClicksTwiceAtOnePlace)
{
    m_server.setInputBackend(GetParam());
    ProbeWindow probe(m_server, QStringLiteral("Harness probe"));
    const WindowInfo window = m_server.findWindow(QStringLiteral("Harness probe"));
    ASSERT_TRUE(window.isValid());

    const QPoint target = window.geometry.topLeft() + QPoint(7, 9);
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(m_server.click(target))
            << "click " << i << ": " << m_server.errorString().toStdString();
        EXPECT_EQ(m_server.pointerPosition(), target);
        XEvent event;
        ASSERT_TRUE(probe.nextEvent(ButtonPress, &event)) << "click " << i;
        EXPECT_EQ(QPoint(event.xbutton.x, event.xbutton.y), QPoint(7, 9));
    }
}

TEST_P(XHarnessInput, DragsWithTheButtonHeldThroughout)
{
    m_server.setInputBackend(GetParam());
    ProbeWindow probe(m_server, QStringLiteral("Harness probe"));
    const WindowInfo window = m_server.findWindow(QStringLiteral("Harness probe"));
    ASSERT_TRUE(window.isValid());

    const QPoint origin = window.geometry.topLeft();
    ASSERT_TRUE(m_server.drag(origin + QPoint(10, 12), origin + QPoint(100, 62), 3, 5))
        << m_server.errorString().toStdString();
    EXPECT_EQ(m_server.pointerPosition(), origin + QPoint(100, 62));

    // The press, then only moves with the button down, then the release where the last move
    // ended.
    const QList<XEvent> events = probe.eventsUntil(ButtonRelease);
    ASSERT_GE(events.size(), 3) << "too few events for a drag";
    EXPECT_EQ(events.first().type, ButtonPress);
    EXPECT_EQ(events.first().xbutton.button, 3u);
    EXPECT_EQ(QPoint(events.first().xbutton.x, events.first().xbutton.y), QPoint(10, 12));
    for (qsizetype i = 1; i + 1 < events.size(); ++i) {
        ASSERT_EQ(events[i].type, MotionNotify) << "event " << i;
        EXPECT_NE(events[i].xmotion.state & Button3Mask, 0u) << "event " << i;
    }
    const XEvent& lastMove = events[events.size() - 2];
    EXPECT_EQ(QPoint(lastMove.xmotion.x, lastMove.xmotion.y), QPoint(100, 62));
    EXPECT_EQ(events.last().type, ButtonRelease);
    EXPECT_EQ(events.last().xbutton.button, 3u);
    EXPECT_EQ(QPoint(events.last().xbutton.x, events.last().xbutton.y), QPoint(100, 62));
}

INSTANTIATE_TEST_SUITE_P(Backends, XHarnessInput,
                         testing::Values(InputBackend::Xdotool, InputBackend::XTest),
                         [](const testing::TestParamInfo<InputBackend>& info) {
                             return info.param == InputBackend::Xdotool ? "Xdotool" : "XTest";
                         });

TEST_F(XHarness, TypesTextAndKeysIntoTheFocusedWindow)
{
    ProbeWindow probe(m_server, QStringLiteral("Harness probe"));
    ASSERT_TRUE(m_server.findWindow(QStringLiteral("Harness probe")).isValid());
    probe.takeFocus();

    ASSERT_TRUE(m_server.typeText(QStringLiteral("aZ5"))) << m_server.errorString().toStdString();
    ASSERT_TRUE(m_server.key(QStringLiteral("Return"))) << m_server.errorString().toStdString();
    EXPECT_EQ(probe.typedText(4).toStdString(), "aZ5\n");
}

TEST_F(XHarness, StartsProgramsOnTheServerWithAPrivateHome)
{
    // Exit code 7 only if the environment is right; the script leaves its HOME for us to see.
    const QString script =
        QStringLiteral("printf %s \"$HOME\" > \"$HOME/seen\" && test \"$DISPLAY\" = '%1' && "
                       "test \"$QT_QPA_PLATFORM\" = xcb && exit 7")
            .arg(m_server.displayName());
    AppProcess process(m_server, QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script});
    ASSERT_TRUE(process.errorString().isEmpty()) << process.errorString().toStdString();
    ASSERT_TRUE(process.waitForExit(5000));
    EXPECT_FALSE(process.isRunning());
    EXPECT_EQ(process.exitCode(), 7);

    QFile seen(process.homePath() + QStringLiteral("/seen"));
    ASSERT_TRUE(seen.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromLocal8Bit(seen.readAll()), process.homePath());
    EXPECT_NE(process.homePath().toLocal8Bit(), qgetenv("HOME"));
}

TEST_F(XHarness, StopsARunningProgramWhenDestroyed)
{
    qint64 pid = 0;
    {
        AppProcess sleeper(m_server, QStringLiteral("sleep"), {QStringLiteral("60")});
        ASSERT_TRUE(sleeper.isRunning()) << sleeper.errorString().toStdString();
        pid = sleeper.processId();
        ASSERT_GT(pid, 0);
        EXPECT_EQ(::kill(pid_t(pid), 0), 0);
    }
    errno = 0;
    EXPECT_EQ(::kill(pid_t(pid), 0), -1) << "process " << pid << " survived";
    EXPECT_EQ(errno, ESRCH);
}

TEST_F(XHarness, ScreenshotToolSavesTheRootWindow)
{
    ProbeWindow probe(m_server, QStringLiteral("Harness probe"));
    ASSERT_TRUE(m_server.findWindow(QStringLiteral("Harness probe")).isValid());
    QTemporaryDir directory;
    const QString file = directory.filePath(QStringLiteral("shot.png"));

    QProcess tool;
    tool.setProcessEnvironment(m_server.environment());
    tool.start(QStringLiteral(VOKARI_SCREENSHOT), {file});
    ASSERT_TRUE(tool.waitForFinished(10000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();

    const QImage shot(file);
    ASSERT_EQ(shot.size(), QSize(1280, 800));
    EXPECT_EQ(shot.pixel(kProbeGeometry.center()), kProbeColour);
    EXPECT_EQ(shot.convertToFormat(QImage::Format_RGB32), m_server.screenshot());
}

} // namespace
