#include "mainwindowscreen.h"

#include "support/readout.h"

namespace e2e {

QString MainWindowScreen::counter(const QImage& window)
{
    return mainWindowCounter(window);
}

QString MainWindowScreen::readout(const QImage& window)
{
    return mainWindowClock(window);
}

} // namespace e2e
