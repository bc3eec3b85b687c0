// vokari_pictures <folder>: draws the program's four windows into main-window.png, set-time.png,
// actions.png and message.png in <folder>, each with its rounded corners transparent.

#include "app/startup.h"
#include "app/vokariwindows.h"
#include "platform/fake/recordingplatform.h"
#include "skin/fonts.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QRegion>
#include <QTextEdit>
#include <QWidget>

#include <cstdio>

namespace {

// The window as it looks on screen: what lies outside its region is not part of it, so those
// pixels are left fully transparent rather than showing the background picture's corners.
QImage picture(QWidget& window)
{
    QImage image(window.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    window.render(&image);
    const QRegion region = window.mask();
    if (region.isEmpty())
        return image;
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (!region.contains(QPoint(x, y)))
                row[x] = qRgba(0, 0, 0, 0);
        }
    }
    return image;
}

bool save(QWidget& window, const QDir& folder, const char* name)
{
    const QString file = folder.filePath(QString::fromLatin1(name));
    if (picture(window).save(file, "PNG"))
        return true;
    std::fprintf(stderr, "vokari_pictures: cannot write %s\n", qPrintable(file));
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    // No display needed, and the same pixels wherever it runs.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Set up as the program is, so the text is drawn in the program's fonts.
    Startup::prepare(argc, argv);
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vokari_pictures <output folder>\n");
        return 2;
    }
    installFontSubstitutes();

    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "vokari_pictures: cannot create %s\n", argv[1]);
        return 1;
    }

    // The recording platform's fixed date and time keep the clock line the same on every run.
    RecordingPlatform platform;
    VokariWindows windows(platform);
    windows.Form1.engine().SetDuration(0, 25, 0);
    Q_EMIT windows.Form1.Timer2.OnTimer();
    // Set directly rather than through showText: showing would focus the field, and its blinking
    // caret would make the picture depend on the moment it is taken.
    windows.frmMsg.RichEdit1->setPlainText(QStringLiteral("倒计时结束，休息一下。"));

    // The windows stay hidden: no focus frame or caret in any picture.
    const bool saved = save(windows.Form1, folder, "main-window.png") &&
                       save(windows.frmSetTime, folder, "set-time.png") &&
                       save(windows.frmActions, folder, "actions.png") &&
                       save(windows.frmMsg, folder, "message.png");
    return saved ? 0 : 1;
}
