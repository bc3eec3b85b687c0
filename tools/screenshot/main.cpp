// vokari_screenshot <file.png>: saves the root window of $DISPLAY as a PNG file.
#include "xharness.h"

#include <QImage>
#include <QString>

#include <X11/Xlib.h>
#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <file.png>\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "%s: cannot open display '%s'\n", argv[0], XDisplayName(nullptr));
        return 1;
    }
    const QImage shot = e2e::captureRoot(display);
    XCloseDisplay(display);
    if (shot.isNull() || !shot.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "%s: cannot capture the screen or write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
