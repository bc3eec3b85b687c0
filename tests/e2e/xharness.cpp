#include "xharness.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <algorithm>
#include <bit>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace e2e {

namespace {

constexpr int kStartTimeoutMs = 10000;
constexpr int kToolTimeoutMs = 10000;

// Windows come and go while the tree is walked; a vanished window must not abort the test.
int ignoreXErrors(Display*, XErrorEvent*)
{
    return 0;
}

// Where `mask` sits in a pixel and how wide it is, to scale any visual to 8 bits a channel.
quint32 channel(unsigned long pixel, unsigned long mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const int width = std::popcount(mask);
    const unsigned long value = (pixel & mask) >> shift;
    return width >= 8 ? quint32(value >> (width - 8)) : quint32(value * 255 / ((1ul << width) - 1));
}

QImage toQImage(XImage* image)
{
    QImage result(image->width, image->height, QImage::Format_RGB32);
    const bool plain = image->bits_per_pixel == 32 && image->red_mask == 0xff0000 &&
                       image->green_mask == 0xff00 && image->blue_mask == 0xff &&
                       image->byte_order == LSBFirst;
    for (int y = 0; y < image->height; ++y) {
        auto* line = reinterpret_cast<quint32*>(result.scanLine(y));
        if (plain) {
            const auto* source = reinterpret_cast<const quint32*>(
                image->data + qsizetype(y) * image->bytes_per_line);
            for (int x = 0; x < image->width; ++x)
                line[x] = 0xff000000u | source[x];
            continue;
        }
        for (int x = 0; x < image->width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            line[x] = qRgb(channel(pixel, image->red_mask), channel(pixel, image->green_mask),
                           channel(pixel, image->blue_mask));
        }
    }
    return result;
}

// A window property as text: UTF8_STRING or Latin-1 STRING, empty if absent.
QString textProperty(Display* display, Window window, Atom property)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, 1024, False, AnyPropertyType, &type,
                           &format, &count, &remaining, &data) != Success ||
        data == nullptr)
        return {};
    QString text;
    if (format == 8) {
        const auto* chars = reinterpret_cast<const char*>(data);
        const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
        text = type == utf8 ? QString::fromUtf8(chars, qsizetype(count))
                            : QString::fromLatin1(chars, qsizetype(count));
    }
    XFree(data);
    return text;
}

bool isViewable(Display* display, Window window)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

QList<Window> childrenOf(Display* display, Window window)
{
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    QList<Window> result;
    if (XQueryTree(display, window, &root, &parent, &children, &count) == 0)
        return result;
    for (unsigned int i = 0; i < count; ++i)
        result.append(children[i]);
    if (children != nullptr)
        XFree(children);
    return result;
}

// The viewable window titled `title` among the root's children, or one level below them in
// case something ever reparents top-levels into frames.
Window findTitled(Display* display, const QString& title)
{
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const auto matches = [&](Window window) {
        return textProperty(display, window, netName) == title ||
               textProperty(display, window, XA_WM_NAME) == title;
    };
    for (Window top : childrenOf(display, DefaultRootWindow(display))) {
        if (!isViewable(display, top))
            continue;
        if (matches(top))
            return top;
        for (Window inner : childrenOf(display, top)) {
            if (isViewable(display, inner) && matches(inner))
                return inner;
        }
    }
    return 0;
}

// Reads the display number Xvfb writes to the -displayfd pipe, until `deadline`.
QString readDisplayNumber(int fd, const QDeadlineTimer& deadline)
{
    QByteArray text;
    while (!text.contains('\n')) {
        pollfd request{fd, POLLIN, 0};
        const int ready = poll(&request, 1, int(qMax<qint64>(0, deadline.remainingTime())));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return {};
        char buffer[32];
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0) // Xvfb exited and closed its end
            return {};
        text.append(buffer, got);
    }
    return QString::fromLatin1(text.trimmed());
}

bool runTool(const QString& program, const QStringList& arguments,
             const QProcessEnvironment& environment, QString* error)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(kToolTimeoutMs)) {
        *error = program + QStringLiteral(" did not finish: ") + process.errorString();
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        *error = program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')) +
                 QStringLiteral(" failed: ") + QString::fromLocal8Bit(process.readAll());
        return false;
    }
    return true;
}

} // namespace

bool waitUntil(const std::function<bool()>& predicate, int timeoutMs, int pollMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (predicate())
            return true;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(ulong(qMin<qint64>(pollMs, qMax<qint64>(1, deadline.remainingTime()))));
    }
}

QImage captureRoot(Display* display)
{
    const Screen* screen = DefaultScreenOfDisplay(display);
    return captureRoot(display, QRect(0, 0, screen->width, screen->height));
}

QImage captureRoot(Display* display, const QRect& area)
{
    const Screen* screen = DefaultScreenOfDisplay(display);
    if (area.isEmpty() || !QRect(0, 0, screen->width, screen->height).contains(area))
        return {};
    XImage* image = XGetImage(display, DefaultRootWindow(display), area.x(), area.y(),
                              unsigned(area.width()), unsigned(area.height()), AllPlanes, ZPixmap);
    if (image == nullptr)
        return {};
    QImage result = toQImage(image);
    XDestroyImage(image);
    return result;
}

XServer::XServer(int width, int height)
{
    if (!start(width, height) && m_xvfb.state() != QProcess::NotRunning) {
        m_xvfb.kill();
        m_xvfb.waitForFinished(2000);
    }
}

XServer::~XServer()
{
    if (m_display != nullptr)
        XCloseDisplay(m_display);
    if (m_xvfb.state() != QProcess::NotRunning) {
        m_xvfb.terminate();
        if (!m_xvfb.waitForFinished(3000)) {
            m_xvfb.kill();
            m_xvfb.waitForFinished(2000);
        }
    }
}

bool XServer::start(int width, int height)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        m_error = QStringLiteral("pipe2: ") + QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    const int readFd = fds[0];
    const int writeFd = fds[1];
    // Only Xvfb may inherit the write end, so only the child clears its close-on-exec flag.
    m_xvfb.setChildProcessModifier([writeFd] { fcntl(writeFd, F_SETFD, 0); });
    if (m_log.open())
        m_xvfb.setStandardErrorFile(m_log.fileName());
    m_xvfb.setStandardOutputFile(QProcess::nullDevice());
    m_xvfb.start(QStringLiteral("Xvfb"),
                 {QStringLiteral("-displayfd"), QString::number(writeFd), QStringLiteral("-screen"),
                  QStringLiteral("0"), QStringLiteral("%1x%2x24").arg(width).arg(height),
                  QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    const bool started = m_xvfb.waitForStarted(kStartTimeoutMs);
    close(writeFd); // so that the read end sees end-of-file if Xvfb dies
    const QString number =
        started ? readDisplayNumber(readFd, QDeadlineTimer(kStartTimeoutMs)) : QString();
    close(readFd);
    if (!started) {
        m_error = QStringLiteral("Xvfb did not start: ") + m_xvfb.errorString();
        return false;
    }
    if (number.isEmpty()) {
        m_error = QStringLiteral("Xvfb reported no display number: ") + serverLog();
        return false;
    }
    m_displayName = QLatin1Char(':') + number;
    XSetErrorHandler(ignoreXErrors);
    m_display = XOpenDisplay(m_displayName.toLatin1().constData());
    if (m_display == nullptr) {
        m_error = QStringLiteral("cannot connect to Xvfb at ") + m_displayName;
        return false;
    }
    return true;
}

QString XServer::serverLog() const
{
    QFile log(m_log.fileName());
    return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString();
}

QProcessEnvironment XServer::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_displayName);
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return environment;
}

WindowInfo XServer::findWindow(const QString& title, int timeoutMs) const
{
    WindowInfo info;
    if (m_display == nullptr)
        return info;
    Window found = 0;
    waitUntil(
        [&] {
            found = findTitled(m_display, title);
            return found != 0;
        },
        timeoutMs);
    const QRect geometry = windowGeometry(found);
    if (geometry.isEmpty())
        return info;
    info.id = found;
    info.geometry = geometry;
    return info;
}

QRect XServer::windowGeometry(unsigned long id) const
{
    XWindowAttributes attributes;
    Window child = 0;
    int x = 0;
    int y = 0;
    if (m_display == nullptr || id == 0 || XGetWindowAttributes(m_display, id, &attributes) == 0 ||
        !XTranslateCoordinates(m_display, id, DefaultRootWindow(m_display), 0, 0, &x, &y, &child))
        return {};
    return {x, y, attributes.width, attributes.height};
}

QImage XServer::screenshot() const
{
    return m_display != nullptr ? captureRoot(m_display) : QImage();
}

QImage XServer::grab(const QRect& area) const
{
    return m_display != nullptr ? captureRoot(m_display, area) : QImage();
}

bool XServer::runXdotool(const QStringList& arguments)
{
    return runTool(QStringLiteral("xdotool"), arguments, environment(), &m_error);
}

bool XServer::sendButton(int button, bool down)
{
    if (m_backend == InputBackend::Xdotool)
        return runXdotool({down ? QStringLiteral("mousedown") : QStringLiteral("mouseup"),
                           QString::number(button)});
    if (m_display == nullptr ||
        !XTestFakeButtonEvent(m_display, unsigned(button), down ? True : False, CurrentTime)) {
        m_error = QStringLiteral("XTest refused a button event");
        return false;
    }
    XSync(m_display, False);
    return true;
}

QPoint XServer::pointerPosition() const
{
    Window root = 0;
    Window child = 0;
    int x = -1;
    int y = -1;
    int windowX = 0;
    int windowY = 0;
    unsigned int buttons = 0;
    if (m_display != nullptr)
        XQueryPointer(m_display, DefaultRootWindow(m_display), &root, &child, &x, &y, &windowX,
                      &windowY, &buttons);
    return {x, y};
}

bool XServer::moveTo(QPoint position)
{
    // xdotool's --sync waits for the pointer to leave where it was, so for ever if it stays.
    if (m_backend == InputBackend::Xdotool && pointerPosition() == position)
        return true;
    if (m_backend == InputBackend::Xdotool)
        return runXdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"),
                           QString::number(position.x()), QString::number(position.y())});
    if (m_display == nullptr ||
        !XTestFakeMotionEvent(m_display, -1, position.x(), position.y(), CurrentTime)) {
        m_error = QStringLiteral("XTest refused a motion event");
        return false;
    }
    XSync(m_display, False);
    return true;
}

bool XServer::press(int button)
{
    return sendButton(button, true);
}

bool XServer::release(int button)
{
    return sendButton(button, false);
}

bool XServer::click(QPoint position, int button)
{
    return moveTo(position) && press(button) && release(button);
}

bool XServer::drag(QPoint from, QPoint to, int button, int steps)
{
    if (!moveTo(from) || !press(button))
        return false;
    steps = std::max(1, steps);
    for (int i = 1; i <= steps; ++i) {
        const QPoint step(from.x() + (to.x() - from.x()) * i / steps,
                          from.y() + (to.y() - from.y()) * i / steps);
        if (!moveTo(step)) {
            const QString error = m_error;
            release(button); // a button left down would turn every later move into a drag
            m_error = error;
            return false;
        }
    }
    return release(button);
}

bool XServer::typeText(const QString& text)
{
    return runXdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"),
                       QStringLiteral("--"), text});
}

bool XServer::key(const QString& keys)
{
    return runXdotool({QStringLiteral("key"), QStringLiteral("--"), keys});
}

AppProcess::AppProcess(const XServer& server, const QString& program, const QStringList& arguments,
                       const QProcessEnvironment& extra, const QStringList& launcher)
{
    QProcessEnvironment environment = server.environment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    const QString home = m_home.path();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/cache"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home); // QTemporaryDir is 0700
    environment.insert(extra);
    m_process.setProcessEnvironment(environment);
    // Inherited output cannot fill a pipe nobody reads, and a crash report lands in the log.
    m_process.setProcessChannelMode(QProcess::ForwardedChannels);
    if (launcher.isEmpty())
        m_process.start(program, arguments);
    else
        m_process.start(launcher.first(), launcher.mid(1) + QStringList{program} + arguments);
    if (!m_process.waitForStarted(kStartTimeoutMs))
        m_error = program + QStringLiteral(" did not start: ") + m_process.errorString();
}

AppProcess::~AppProcess()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(2000);
    }
}

bool AppProcess::isRunning()
{
    // waitForFinished(0) collects an exit that no event loop has noticed yet.
    return m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(0);
}

bool AppProcess::waitForExit(int timeoutMs)
{
    return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(timeoutMs);
}

} // namespace e2e
