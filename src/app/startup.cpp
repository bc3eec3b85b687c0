#include "app/startup.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTranslator>

// Q_INIT_RESOURCE names a function at global scope, so it cannot stand inside a namespace.
static void initTranslations()
{
    Q_INIT_RESOURCE(translations);
}

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

QTranslator* translateQt()
{
    initTranslations();
    auto* translator = new QTranslator(QCoreApplication::instance());
    // Read in place from the program's own data, not copied: the file is stored uncompressed.
    if (!translator->load(QStringLiteral(":/translations/qtbase_zh_CN.qm")) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

} // namespace Startup
