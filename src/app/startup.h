#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QStringList>

class QTranslator;

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

// Makes Qt's own texts (the file chooser's labels and buttons, the edit fields' context menu)
// Simplified Chinese like the rest of the interface, whatever the region: installs the
// translation the program carries and returns it, or none if it cannot be read. Call once the
// application object exists and before the first window.
QTranslator* translateQt();

} // namespace Startup
