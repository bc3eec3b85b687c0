#include "platform/toolkit.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QTimer>
#include <QWidget>

namespace {

// The program's own windows: those no other window owns. The windows they own (the message
// window, the dialogs) go and come back with them through the window system, which keeps them
// where they were and in front of their owner.
QWidgetList ownWindows()
{
    QWidgetList own;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->isVisible() && !window->parentWidget())
            own.append(window);
    }
    return own;
}

} // namespace

namespace Toolkit {

void minimiseApplication()
{
    const auto windows = ownWindows();
    for (QWidget* window : windows)
        window->showMinimized();
}

void restoreApplication()
{
    QWidget* toActivate = nullptr;
    const auto windows = ownWindows();
    for (QWidget* window : windows) {
        if (window->isMinimized()) {
            window->showNormal();
            toActivate = window;
        }
    }
    if (toActivate) {
        toActivate->raise();
        toActivate->activateWindow();
    }
}

void askAttention(QWidget* window)
{
    // The caller has decided; Qt itself skips a window that is active already.
    QApplication::alert(window->window(), 0);
}

void processPendingEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool waitForEvents(int ms)
{
    // A nested loop that sleeps in the system's event wait and a timer ends; an exec that
    // returns -1 at once means the application is quitting and no loop can run any more.
    QEventLoop loop;
    QTimer end;
    end.setSingleShot(true);
    end.setTimerType(Qt::PreciseTimer);
    QObject::connect(&end, &QTimer::timeout, &loop, &QEventLoop::quit);
    end.start(ms > 0 ? ms : 0);
    return loop.exec(QEventLoop::AllEvents) != -1;
}

QDateTime localDateTime()
{
    return QDateTime::currentDateTime();
}

std::optional<QString> chooseFile(const QString& filter, bool executablesOnly,
                                  const QString& previous, QWidget* owner)
{
    QFileDialog dialog(owner, QString(), previous);
    // Blocks only the window that asked: an open message window can still be closed.
    dialog.setWindowModality(Qt::WindowModal);
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
