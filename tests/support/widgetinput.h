#pragma once

#include <QPoint>
#include <Qt>

#include <functional>

class QDialog;
class QWidget;

// Pointer input and modal showings as the widget tests drive them.

// Shows `window` and waits until the window system has exposed it.
bool showExposed(QWidget& window);

// Moves the pointer to the middle of `w`.
void pointAt(QWidget* w);

// What a widget receives from a fast double click: press, release, the second press as a
// double-click event, release.
void doubleClick(QWidget* w, Qt::MouseButton mouse = Qt::LeftButton);

// Presses `mouse` in the middle of `source`, moves by `by` with it held and releases there.
void dragBy(QWidget* source, Qt::MouseButton mouse, QPoint by);

// What a modal showing that nothing ended returns, so a hang shows as a failure, not a hang.
constexpr int kStuck = 99;

// Runs `whileShown` once the event loop turns, that is inside a modal showing of `dialog` opened
// right after this call, and ends the showing with kStuck if it is still open after `watchdogMs`.
void duringModal(QDialog& dialog, const std::function<void()>& whileShown, int watchdogMs = 5000);
