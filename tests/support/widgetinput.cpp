#include "support/widgetinput.h"

#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

bool showExposed(QWidget& window)
{
    window.show();
    return QTest::qWaitForWindowExposed(&window);
}

void pointAt(QWidget* w)
{
    QTest::mouseMove(w, w->rect().center());
}

void doubleClick(QWidget* w, Qt::MouseButton mouse)
{
    QTest::mouseClick(w, mouse);
    const QPointF at = QPointF(w->rect().center());
    QMouseEvent second(QEvent::MouseButtonDblClick, at, w->mapToGlobal(at), mouse, mouse,
                       Qt::NoModifier);
    QApplication::sendEvent(w, &second);
    QTest::mouseRelease(w, mouse);
}

void dragBy(QWidget* source, Qt::MouseButton mouse, QPoint by)
{
    const QPoint at = source->rect().center();
    QTest::mousePress(source, mouse, {}, at);
    // QTest's own move carries no button, which a drag needs.
    QMouseEvent move(QEvent::MouseMove, QPointF(at + by), QPointF(source->mapToGlobal(at + by)),
                     Qt::NoButton, mouse, Qt::NoModifier);
    QApplication::sendEvent(source, &move);
    QTest::mouseRelease(source, mouse, {}, at + by);
}

void duringModal(QDialog& dialog, const std::function<void()>& whileShown, int watchdogMs)
{
    QTimer::singleShot(0, &dialog, whileShown);
    QTimer::singleShot(watchdogMs, &dialog, [&dialog] { dialog.done(kStuck); });
}
