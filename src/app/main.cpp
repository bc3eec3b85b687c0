#include "app/vokariwindows.h"
#include "assets/assettable.h"
#include "platform/createplatform.h"
#include "platform/platform.h"
#include "skin/fonts.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vokari"));
    QApplication::setWindowIcon(QIcon(Assets::iconPath()));
    installFontSubstitutes();

    const auto platform = createPlatform();
    VokariWindows windows(*platform);
    windows.Form1.show();
    return QApplication::exec();
}
