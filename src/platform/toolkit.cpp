#include "platform/toolkit.h"

#include <QApplication>
#include <QFileDialog>
#include <QWidget>

namespace Toolkit {

void minimiseApplication()
{
    // Every shown window goes, as a whole application does; hidden dialogs stay hidden.
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->isVisible())
            window->showMinimized();
    }
}

void restoreApplication()
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

void processPendingEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QDateTime localDateTime()
{
    return QDateTime::currentDateTime();
}

std::optional<QString> chooseFile(const QString& filter, bool executablesOnly,
                                  const QString& previous, QWidget* owner)
{
    QFileDialog dialog(owner, QString(), previous);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    if (executablesOnly)
        dialog.setFilter(QDir::AllDirs | QDir::Files | QDir::Executable | QDir::NoDotAndDotDot);
    if (!previous.isEmpty())
        dialog.selectFile(previous);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace Toolkit
