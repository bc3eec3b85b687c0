#include "app/startup.h"

#include <QGuiApplication>

namespace Startup {

QByteArray displayPlatform(const QProcessEnvironment& environment, const QStringList& arguments)
{
    if (!environment.value(QStringLiteral("QT_QPA_PLATFORM")).isEmpty())
        return {};
    for (const QString& argument : arguments) {
        if (argument == QLatin1StringView("-platform") ||
            argument == QLatin1StringView("--platform") ||
            argument.startsWith(QLatin1StringView("-platform=")))
            return {};
    }
    const bool wayland =
        !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty() ||
        environment.value(QStringLiteral("XDG_SESSION_TYPE")) == QLatin1StringView("wayland");
    return wayland ? QByteArrayLiteral("xcb;wayland") : QByteArray();
}

void prepare(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const QByteArray platform =
        displayPlatform(QProcessEnvironment::systemEnvironment(), arguments);
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
    // Without this Qt loads the GTK or KDE theme plugin on those desktops (tens of megabytes).
    // The file chooser is then Qt's own, which needs no theme.
    QGuiApplication::setDesktopSettingsAware(false);
}

} // namespace Startup
