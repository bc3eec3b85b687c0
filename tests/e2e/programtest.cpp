#include "programtest.h"

#include "mainwindowscreen.h"

#include <QFile>

#include <functional>

namespace e2e {

std::vector<Logged> readLog(const QString& path)
{
    std::vector<Logged> lines;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const qsizetype space = line.indexOf(' ');
        if (space > 0)
            lines.push_back(
                {line.left(space).toLongLong(), QString::fromUtf8(line.mid(space + 1))});
    }
    return lines;
}

namespace {

QString pollRead(const std::function<QString()>& read, const QString& expected, int timeoutMs)
{
    QString seen;
    waitUntil(
        [&] {
            seen = read();
            return seen == expected;
        },
        timeoutMs);
    return seen;
}

} // namespace

void ProgramTest::startProgram(const QString& program, const QProcessEnvironment& extra)
{
    ASSERT_TRUE(m_server.isReady()) << m_server.errorString().toStdString();
    m_app = std::make_unique<AppProcess>(m_server, program, QStringList(), extra);
    ASSERT_TRUE(m_app->errorString().isEmpty()) << m_app->errorString().toStdString();
    m_main = m_server.findWindow(QStringLiteral("Vokari"), kTimeoutMs);
    ASSERT_TRUE(m_main.isValid()) << "no window titled Vokari appeared";
}

void ProgramTest::TearDown()
{
    if (m_app != nullptr) {
        EXPECT_TRUE(m_app->isRunning()) << "the program ended during the test";
    }
}

bool ProgramTest::clickIn(const WindowInfo& window, QPoint at)
{
    return m_server.click(window.geometry.topLeft() + at);
}

QImage ProgramTest::mainImage() const
{
    return m_server.grab(m_main.geometry);
}

QString ProgramTest::waitForCounter(const QString& expected, int timeoutMs)
{
    return pollRead([this] { return MainWindowScreen::counter(mainImage()); }, expected, timeoutMs);
}

QString ProgramTest::waitForReadout(const QString& expected, int timeoutMs)
{
    return pollRead([this] { return MainWindowScreen::readout(mainImage()); }, expected, timeoutMs);
}

} // namespace e2e
