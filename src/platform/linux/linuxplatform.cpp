#include "platform/linux/linuxplatform.h"

#include <QApplication>
#include <QWidget>

void LinuxPlatform::minimiseApplication()
{
    // Every shown window goes, as a whole application does; hidden dialogs stay hidden.
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->isVisible())
            window->showMinimized();
    }
}

void LinuxPlatform::restoreApplication()
{
    const auto windows = QApplication::topLevelWidgets();
    QWidget* toActivate = nullptr;
    for (QWidget* window : windows) {
        if (window->isVisible() && window->isMinimized()) {
            window->showNormal();
            toActivate = window;
        }
    }
    if (toActivate) {
        toActivate->raise();
        toActivate->activateWindow();
    }
}
