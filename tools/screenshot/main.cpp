// vokari_screenshot <file.png>: saves the whole screen of $DISPLAY as a PNG file. The headless
// ./run uses it to show what Vokari looks like on its private X server.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QString>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <file.png>\n", argv[0]);
        return 2;
    }
    const QString file = QString::fromLocal8Bit(argv[1]);
    // The screen of an X display, whatever platform the environment asks for.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    // Window 0 is the root window: everything on the screen.
    const QPixmap shot = screen ? screen->grabWindow(0) : QPixmap();
    if (shot.isNull() || !shot.save(file, "PNG")) {
        std::fprintf(stderr, "%s: cannot capture the screen or write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
