#include "mainwindowscreen.h"

#include "support/readout.h"

namespace e2e {

namespace {

// The panel holding both displays sits at (29, 32) in the window.
constexpr QPoint kPanel(29, 32);

} // namespace

QString MainWindowScreen::counter(const QImage& window)
{
    return readCounter(window, kPanel + QPoint(15, 15));
}

QString MainWindowScreen::readout(const QImage& window)
{
    return readClock(window, kPanel + QPoint(13, 85));
}

} // namespace e2e
