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

void ProgramTest::startProgram(const QString& program, const QProcessEnvironment& extra,
                               const QStringList& launcher, int timeoutMs)
{
    ASSERT_TRUE(m_server.isReady()) << m_server.errorString().toStdString();
    m_app = std::make_unique<AppProcess>(m_server, program, QStringList(), extra, launcher);
    ASSERT_TRUE(m_app->errorString().isEmpty()) << m_app->errorString().toStdString();
    m_main = m_server.findWindow(QStringLiteral("Vokari"), timeoutMs);
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

bool ProgramTest::replaceText(const WindowInfo& window, QPoint at, const QString& text)
{
    return clickIn(window, at) && m_server.key(QStringLiteral("ctrl+a")) && m_server.typeText(text);
}

bool ProgramTest::waitGone(const QString& title, int timeoutMs)
{
    return waitUntil([&] { return !m_server.findWindow(title, 0).isValid(); }, timeoutMs);
}

void ProgramTest::tickActions(const Actions& wanted)
{
    const QString title = QStringLiteral("操作");
    ASSERT_TRUE(clickIn(m_main, MainWindowScreen::actionsButton()));
    const WindowInfo actions = m_server.findWindow(title, kTimeoutMs);
    ASSERT_TRUE(actions.isValid()) << "the action dialog did not appear";
    ASSERT_TRUE(clickIn(actions, ActionsScreen::messageBox()));
    if (!wanted.message.isEmpty()) {
        ASSERT_TRUE(replaceText(actions, {20 + 60, 130 + 40}, wanted.message)); // Memo1
    }
    if (!wanted.program.isEmpty()) {
        ASSERT_TRUE(clickIn(actions, {20 + 30, 230 + 8})); // 执行程序
        ASSERT_TRUE(replaceText(actions, {20 + 100, 250 + 11}, wanted.program));
    }
    ASSERT_TRUE(replaceText(actions, {280 + 10, 48 + 10}, QString::number(wanted.repeats)));
    if (wanted.powerOff) {
        ASSERT_TRUE(clickIn(actions, {20 + 30, 280 + 8})); // 关闭 Windows
    }
    if (!wanted.url.isEmpty()) {
        ASSERT_TRUE(clickIn(actions, {20 + 30, 347 + 8})); // 启动 URL
        ASSERT_TRUE(replaceText(actions, {20 + 150, 365 + 11}, wanted.url));
    }
    ASSERT_TRUE(clickIn(actions, ActionsScreen::closeButton()));
    ASSERT_TRUE(waitGone(title)) << "the action dialog did not close";
}

void ProgramTest::setCountdownSeconds(int seconds, int timeoutMs)
{
    const QString title = QStringLiteral("设置时间");
    ASSERT_TRUE(clickIn(m_main, MainWindowScreen::setTimeButton()));
    const WindowInfo setTime = m_server.findWindow(title, timeoutMs);
    ASSERT_TRUE(setTime.isValid()) << "the set-time dialog did not appear";
    const QString tab = QStringLiteral("Tab");
    const QString all = QStringLiteral("ctrl+a");
    ASSERT_TRUE(replaceText(setTime, SetTimeScreen::hoursField(), QStringLiteral("0")));
    ASSERT_TRUE(m_server.key(tab) && m_server.key(all) && m_server.typeText(QStringLiteral("0")));
    ASSERT_TRUE(m_server.key(tab) && m_server.key(all) &&
                m_server.typeText(QString::number(seconds)));
    ASSERT_TRUE(clickIn(setTime, SetTimeScreen::okButton()));
    ASSERT_TRUE(waitGone(title, timeoutMs)) << "the set-time dialog did not close";
    const QString counter = QString::number(seconds).rightJustified(6, QLatin1Char('0'));
    ASSERT_EQ(waitForCounter(counter, timeoutMs).toStdString(), counter.toStdString());
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
