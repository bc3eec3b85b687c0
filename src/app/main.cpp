#include "app/startup.h"
#include "app/vokariwindows.h"
#include "assets/assettable.h"
#include "platform/createplatform.h"
#include "platform/platform.h"
#include "skin/fonts.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    Startup::prepare(argc, argv);
    QApplication app(argc, argv);
    // One look on every system: Fusion draws the edits, spins and boxes in the windows' own
    // colours, where Windows' native style would paint them in the system's.
    QApplication::setStyle(QStringLiteral("Fusion"));
    Startup::translateQt();
    // The class of every window's WM_CLASS, which the desktop entry's StartupWMClass names; the
    // desktop file name is the app id on Wayland and towards the desktop portal.
    QApplication::setApplicationName(QStringLiteral(VOKARI_WM_CLASS));
    QGuiApplication::setDesktopFileName(QStringLiteral(VOKARI_APP_ID));
    QApplication::setWindowIcon(QIcon(Assets::iconPath()));
    // Only the main window's close ends the program, and only once a completion under way has
    // finished: a message window closed last must not end it behind the main window's back.
    QApplication::setQuitOnLastWindowClosed(false);
    installFontSubstitutes();

    const auto platform = createPlatform();
    VokariWindows windows(*platform);
    windows.Form1.show();
    return QApplication::exec();
}
