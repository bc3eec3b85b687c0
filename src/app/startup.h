#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QStringList>

// What the program settles before the application object exists.
namespace Startup {

// The display platform to ask Qt for, or empty to leave Qt's own choice. Vokari's windows place,
// move and shape themselves, which a Wayland compositor does not let a client do, so on a
// Wayland session it runs through XWayland (xcb), falling back to Wayland where XWayland is
// missing, unless the user named a platform (QT_QPA_PLATFORM or Qt's -platform option).
QByteArray displayPlatform(const QProcessEnvironment& environment, const QStringList& arguments);

// Applies displayPlatform() and keeps the desktop's platform theme from loading: every window
// is skinned, so the theme would only cost memory and start-up time. Call before QApplication.
void prepare(int argc, char* argv[]);

} // namespace Startup
