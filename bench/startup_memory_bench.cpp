// startup_memory_bench <vokari> <bare_window> [runs]
//
// Starts Vokari and the bare window, each several times, on a private Xvfb in two conditions:
// a plain session, and a GNOME session (XDG_CURRENT_DESKTOP=GNOME), where Qt loads the GTK
// platform theme when qt6-gtk-platformtheme is installed. For each it prints the median time
// from start to the first window titled "Vokari" shown with its face painted, and the median
// resident memory 3 s
// after start, and Vokari's figures as multiples of the bare window's plain-session figures.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

bool titled(Display* display, Window window, const char* title)
{
    char* name = nullptr;
    bool match = false;
    if (XFetchName(display, window, &name) && name)
        match = qstrcmp(name, title) == 0;
    if (name)
        XFree(name);
    return match;
}

// The viewable top-level window titled `title`, or 0.
Window viewableWindowTitled(Display* display, const char* title)
{
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count && !found; ++i) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(display, children[i], &attributes) &&
                attributes.map_state == IsViewable && titled(display, children[i], title))
                found = children[i];
        }
    }
    if (children)
        XFree(children);
    return found;
}

// Whether the window shows something painted: an unpainted window shows the black root beneath
// it, one colour throughout; every painted face here has more than one.
bool painted(Display* display, Window window)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes))
        return false;
    XImage* image = XGetImage(display, window, 0, 0, unsigned(attributes.width),
                              unsigned(attributes.height), AllPlanes, ZPixmap);
    if (!image)
        return false;
    const unsigned long first = XGetPixel(image, 0, 0);
    bool more = false;
    for (int y = 0; y < attributes.height && !more; y += 7)
        for (int x = 0; x < attributes.width && !more; x += 7)
            more = XGetPixel(image, x, y) != first;
    XDestroyImage(image);
    return more;
}

qint64 residentKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

struct Run
{
    double firstWindowMs = -1;
    double residentMiB = -1;
};

Run measure(const QString& program, const QProcessEnvironment& env, Display* display)
{
    Run run;
    QTemporaryDir home;
    QProcessEnvironment e = env;
    e.insert(QStringLiteral("HOME"), home.path());
    e.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/config"));
    e.insert(QStringLiteral("XDG_CACHE_HOME"), home.path() + QStringLiteral("/cache"));
    e.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    QProcess process;
    process.setProcessEnvironment(e);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    process.start(program, {});
    if (!process.waitForStarted(5000))
        return run;
    while (clock.elapsed() < 10000) {
        const Window window = viewableWindowTitled(display, "Vokari");
        if (window && painted(display, window)) {
            run.firstWindowMs = double(clock.nsecsElapsed()) / 1e6;
            break;
        }
        QThread::usleep(500);
    }
    const qint64 wait = 3000 - clock.elapsed();
    if (wait > 0)
        QThread::msleep(wait);
    run.residentMiB = double(residentKiB(process.processId())) / 1024.0;
    process.terminate();
    if (!process.waitForFinished(3000))
        process.kill();
    process.waitForFinished(3000);
    // Let the server forget the window before the next start looks for one.
    QElapsedTimer gone;
    gone.start();
    while (viewableWindowTitled(display, "Vokari") && gone.elapsed() < 3000)
        QThread::msleep(5);
    return run;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <vokari> <bare_window> [runs]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, atoi(argv[3])) : 5;

    const QString displayName =
        QStringLiteral(":%1").arg(90 + QCoreApplication::applicationPid() % 100);
    QProcess xvfb;
    xvfb.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    xvfb.start(QStringLiteral("Xvfb"),
               {displayName, QStringLiteral("-screen"), QStringLiteral("0"),
                QStringLiteral("1280x800x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    Display* display = nullptr;
    QElapsedTimer up;
    up.start();
    while (!display && up.elapsed() < 10000) {
        QThread::msleep(50);
        display = XOpenDisplay(displayName.toLatin1().constData());
    }
    if (!display) {
        std::fprintf(stderr, "Xvfb did not start on %s\n", qPrintable(displayName));
        return 1;
    }

    QProcessEnvironment base = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"WAYLAND_DISPLAY", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION",
                             "QT_QPA_PLATFORMTHEME", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"})
        base.remove(QString::fromLatin1(name));
    base.insert(QStringLiteral("DISPLAY"), displayName);
    base.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QProcessEnvironment gnome = base;
    gnome.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("GNOME"));

    const bool gtkTheme = QFile::exists(
        QStringLiteral("/usr/lib/x86_64-linux-gnu/qt6/plugins/platformthemes/libqgtk3.so"));
    std::printf("GTK platform theme plugin installed: %s; %d runs each; medians\n",
                gtkTheme ? "yes" : "no", runs);
    std::printf("%-14s %-8s %16s %14s\n", "program", "session", "first shown ms", "RSS 3 s MiB");

    struct Cell
    {
        const char* program;
        const char* session;
        double ms;
        double mib;
    };
    std::vector<Cell> cells;
    for (const auto& [label, path] : {std::pair{"bare window", QString::fromLocal8Bit(argv[2])},
                                      std::pair{"vokari", QString::fromLocal8Bit(argv[1])}}) {
        for (const auto& [session, env] : {std::pair{"plain", base}, std::pair{"GNOME", gnome}}) {
            std::vector<double> ms;
            std::vector<double> mib;
            for (int i = 0; i < runs; ++i) {
                const Run r = measure(path, env, display);
                ms.push_back(r.firstWindowMs);
                mib.push_back(r.residentMiB);
            }
            cells.push_back({label, session, median(ms), median(mib)});
            std::printf("%-14s %-8s %16.1f %14.1f\n", label, session, cells.back().ms,
                        cells.back().mib);
        }
    }
    const Cell& bare = cells[0];
    for (size_t i = 2; i < cells.size(); ++i)
        std::printf("vokari, %-5s session: %.2fx the bare window's memory, %.2fx its time to the "
                    "first shown window (goals: 1.25x, 1.5x)\n",
                    cells[i].session, cells[i].mib / bare.mib, cells[i].ms / bare.ms);
    XCloseDisplay(display);
    xvfb.terminate();
    xvfb.waitForFinished(3000);
    return 0;
}
