// The yardstick for Vokari's start: a bare Qt window of the main window's size, titled like it,
// with one Chinese label and nothing else.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Vokari"));
    window.setFixedSize(351, 347);
    QLabel label(QStringLiteral("倒计时器"), &window);
    label.move(20, 20);
    window.show();
    return QApplication::exec();
}
