#include "childprocesses.h"
#include "platform/linux/launcher.h"
#include "platform/linux/linuxplatform.h"

#include <QDBusConnection>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kArriveMs = 5000;

// Shell syntax that would run `touch` (in the working folder) if any part of the text ever
// reached a shell or was split into words.
const QString kHostile = u"a b 'q' \"d\" ; touch pwned1 ; $(touch pwned2) `touch pwned3` & |"_s;
const QStringList kPwned = {u"pwned1"_s, u"pwned2"_s, u"pwned3"_s};

bool writeFile(const QString& path, const QByteArray& content, bool executable)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return false;
    file.close();
    if (executable)
        return file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return true;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A folder to work in, made the working folder so stray `touch` commands would land in it.
class Launching : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_savedCwd = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
        // The opener records how many arguments it got and each one, NUL-terminated; one
        // record per line in the log, appended as soon as it starts.
        m_log = m_dir.filePath(u"opener.log"_s);
        m_opener = m_dir.filePath(u"opener"_s);
        ASSERT_TRUE(writeFile(m_opener,
                              "#!/bin/sh\n{ printf '%s\\0' \"$#\"; for a in \"$@\"; do printf "
                              "'%s\\0' \"$a\"; done; printf '\\n'; } >> '" +
                                  m_log.toUtf8() + "'\n",
                              true));
    }
    void TearDown() override { QDir::setCurrent(m_savedCwd); }

    QString path(const QString& name) const { return m_dir.filePath(name); }

    // The opener's records so far, each as its list of arguments.
    QList<QStringList> openerCalls() const
    {
        QList<QStringList> calls;
        for (const QByteArray& line : readAll(m_log).split('\n')) {
            if (line.isEmpty())
                continue;
            QList<QByteArray> fields = line.split('\0');
            fields.removeLast(); // after the last terminator
            QStringList arguments;
            for (qsizetype i = 1; i < fields.size(); ++i)
                arguments.append(QString::fromUtf8(fields.at(i)));
            EXPECT_EQ(fields.value(0).toInt(), arguments.size()) << line.toStdString();
            calls.append(arguments);
        }
        return calls;
    }

    QList<QStringList> waitForOpenerCalls(qsizetype count) const
    {
        ChildProcesses::waitUntil([&] { return openerCalls().size() >= count; }, kArriveMs);
        return openerCalls();
    }

    void expectNothingElseRan() const
    {
        for (const QString& name : kPwned)
            EXPECT_FALSE(QFile::exists(path(name))) << name.toStdString() << " was created";
    }

    QTemporaryDir m_dir;
    QString m_savedCwd;
    QString m_log;
    QString m_opener;
};

TEST_F(Launching, EachKindOfTargetIsPlannedAsTheDesktopWouldOpenIt)
{
    ASSERT_TRUE(writeFile(path(u"program"_s), "#!/bin/sh\n", true));
    ASSERT_TRUE(writeFile(path(u"notes.txt"_s), "notes", false));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(u"folder"_s));
    ASSERT_TRUE(QFile::link(path(u"program"_s), path(u"link to program"_s)));
    ASSERT_TRUE(writeFile(path(u"-starts with a dash"_s), "x", false));
    ASSERT_TRUE(writeFile(path(u"--version"_s), "#!/bin/sh\n", true));
    ASSERT_TRUE(writeFile(path(u"⏰ 𝄞 مرحبا 'q' \"d\".txt"_s), "x", false));
    // A program found only through the search path, as a bare name.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(u"bin"_s));
    ASSERT_TRUE(writeFile(path(u"bin/vokari-probe"_s), "#!/bin/sh\n", true));
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", path(u"bin"_s).toLocal8Bit() + ':' + savedPath);

    struct Case
    {
        const char* name;
        QString target;
        LaunchPlan::Kind kind;
        QString argument;
    };
    const std::vector<Case> cases = {
        {"empty text", QString(), LaunchPlan::Nothing, QString()},
        {"executable file", path(u"program"_s), LaunchPlan::Program, path(u"program"_s)},
        {"link to an executable", path(u"link to program"_s), LaunchPlan::Program,
         path(u"link to program"_s)},
        {"document", path(u"notes.txt"_s), LaunchPlan::Document, path(u"notes.txt"_s)},
        // Folders carry the execute bit, yet they open rather than run.
        {"folder", path(u"folder"_s), LaunchPlan::Document, path(u"folder"_s)},
        {"relative name of a document", u"notes.txt"_s, LaunchPlan::Document, path(u"notes.txt"_s)},
        {"relative name starting with a dash", u"-starts with a dash"_s, LaunchPlan::Document,
         path(u"-starts with a dash"_s)},
        {"bare host", u"www.example.com"_s, LaunchPlan::Url, u"http://www.example.com"_s},
        {"full URL", u"https://example.com/a/b?c=d&e=f#g"_s, LaunchPlan::Url,
         u"https://example.com/a/b?c=d&e=f#g"_s},
        {"mail address", u"mailto:someone@example.com"_s, LaunchPlan::Url,
         u"mailto:someone@example.com"_s},
        {"blank text", u"   "_s, LaunchPlan::Nothing, QString()},
        {"bare name of a program on the search path", u"vokari-probe"_s, LaunchPlan::Program,
         path(u"bin/vokari-probe"_s)},
        {"bare name of nothing on the search path", u"vokari-absent"_s, LaunchPlan::Url,
         u"http://vokari-absent"_s},
        // Only bare names are looked up: with a slash or a scheme it is a path or an address.
        {"relative path to a program off the search path", u"bin/vokari-probe"_s,
         LaunchPlan::Program, path(u"bin/vokari-probe"_s)},
        {"scheme that looks like a program", u"vokari-probe:x"_s, LaunchPlan::Url,
         u"vokari-probe:x"_s},
        // Text that looks like an option of the opener but names nothing is no address either,
        // so it opens nothing and can never reach the opener as an option.
        {"leading dash naming nothing", u"-e"_s, LaunchPlan::Nothing, QString()},
        {"long option naming nothing", u"--help"_s, LaunchPlan::Nothing, QString()},
        {"relative program named like an option", u"--version"_s, LaunchPlan::Program,
         path(u"--version"_s)},
        {"document named outside GBK, with quotes", u"⏰ 𝄞 مرحبا 'q' \"d\".txt"_s,
         LaunchPlan::Document, path(u"⏰ 𝄞 مرحبا 'q' \"d\".txt"_s)},
        // Any other text is a host name, which the opener gets in its ASCII form.
        {"bare text outside GBK", u"⏰"_s, LaunchPlan::Url, u"http://xn--hoh"_s},
    };
    for (const Case& c : cases) {
        const LaunchPlan plan = planLaunch(c.target);
        EXPECT_EQ(plan.kind, c.kind) << c.name;
        EXPECT_EQ(plan.argument, c.argument) << c.name;
    }
    qputenv("PATH", savedPath);
}

TEST_F(Launching, AProgramWithShellSyntaxInItsPathRunsAloneWithNoArguments)
{
    const QString folder = path(kHostile);
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString program = folder + u"/run me ; $(touch pwned2) `touch pwned3`"_s;
    const QString marker = path(u"ran"_s);
    ASSERT_TRUE(writeFile(program,
                          "#!/bin/sh\nprintf '%s' \"$#\" > '" + marker.toUtf8() + ".part'\nmv '" +
                              marker.toUtf8() + ".part' '" + marker.toUtf8() + "'\n",
                          true));

    LinuxPlatform platform(QDBusConnection(u"unused"_s), Launcher(m_opener));
    platform.openTarget(program, nullptr);

    ASSERT_TRUE(ChildProcesses::waitUntil([&] { return QFile::exists(marker); }, kArriveMs))
        << "the program never ran";
    EXPECT_EQ(readAll(marker), QByteArray("0")) << "the program got arguments";
    expectNothingElseRan();
    EXPECT_TRUE(openerCalls().isEmpty()) << "a program went to the opener";
}

TEST_F(Launching, DocumentsAndUrlsReachTheOpenerAsOneUnchangedArgument)
{
    const QString document = path(kHostile + u".txt"_s);
    ASSERT_TRUE(writeFile(document, "not a program", false));
    const QString folder = path(u"folder $(touch pwned2)"_s);
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString hostileUrl = u"https://example.com/q?a=1;touch pwned1&b='$(touch pwned2)'`x`"_s;
    for (const QString& name : {u"-e"_s, u"--help"_s})
        ASSERT_TRUE(writeFile(path(name), "x", false));
    const QString nonGbk = path(u"⏰ 𝄞 مرحبا 'q' \"d\".txt"_s);
    ASSERT_TRUE(writeFile(nonGbk, "x", false));

    struct Case
    {
        const char* name;
        QString target;
        QString argument;
    };
    const std::vector<Case> cases = {
        {"document", document, document},
        {"folder", folder, folder},
        {"bare host", u"www.example.com"_s, u"http://www.example.com"_s},
        {"plain URL", u"https://example.com/path?x=1&y=2"_s, u"https://example.com/path?x=1&y=2"_s},
        // Relative names go out absolute, so the opener never sees a leading dash.
        {"document named like an option", u"-e"_s, path(u"-e"_s)},
        {"document named like a long option", u"--help"_s, path(u"--help"_s)},
        {"document named outside GBK, with quotes", nonGbk, nonGbk},
        {"URL outside GBK", u"https://example.com/⏰/𝄞?q=مرحبا"_s,
         u"https://example.com/%E2%8F%B0/%F0%9D%84%9E?q=%D9%85%D8%B1%D8%AD%D8%A8%D8%A7"_s},
        // Blanks and quotes travel encoded, which leaves the URL itself as it was.
        {"URL with shell syntax", hostileUrl,
         QUrl::fromUserInput(hostileUrl).toString(QUrl::FullyEncoded)},
    };
    LinuxPlatform platform(QDBusConnection(u"unused"_s), Launcher(m_opener));
    for (qsizetype i = 0; i < qsizetype(cases.size()); ++i) {
        const Case& c = cases[std::size_t(i)];
        platform.openTarget(c.target, nullptr);
        const QList<QStringList> calls = waitForOpenerCalls(i + 1);
        ASSERT_EQ(calls.size(), i + 1) << c.name << ": the opener did not run once";
        EXPECT_EQ(calls.last(), QStringList{c.argument}) << c.name;
    }
    EXPECT_EQ(QUrl(openerCalls().last().constFirst()), QUrl::fromUserInput(hostileUrl));
    expectNothingElseRan();
}

TEST_F(Launching, AnExecutableFileTheSystemCannotRunIsOpenedAsADocument)
{
    const QString notes = path(u"notes marked executable.txt"_s);
    ASSERT_TRUE(writeFile(notes, "just text, no program", true));
    LinuxPlatform platform(QDBusConnection(u"unused"_s), Launcher(m_opener));
    platform.openTarget(notes, nullptr);
    EXPECT_EQ(waitForOpenerCalls(1), QList<QStringList>{QStringList{notes}});
}

TEST_F(Launching, EmptyTextOpensNothing)
{
    LinuxPlatform platform(QDBusConnection(u"unused"_s), Launcher(m_opener));
    platform.openTarget(QString(), nullptr);
    // A launch that did happen would have started before this one and logged first.
    platform.openTarget(u"www.example.org"_s, nullptr);
    const QList<QStringList> calls = waitForOpenerCalls(1);
    EXPECT_EQ(calls, QList<QStringList>{QStringList{u"http://www.example.org"_s}});
}

// Stands in for the desktop's handler of a URL scheme.
class UrlCatcher final : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void catchUrl(const QUrl& url) { urls.append(url); }
};

TEST_F(Launching, WithoutAnOpenerProgramQtsDesktopServicesTakeOver)
{
    UrlCatcher catcher;
    for (const QString& scheme : {u"http"_s, u"file"_s})
        QDesktopServices::setUrlHandler(scheme, &catcher, "catchUrl");
    const QString document = path(u"notes.txt"_s);
    ASSERT_TRUE(writeFile(document, "notes", false));

    LinuxPlatform platform(QDBusConnection(u"unused"_s), Launcher(path(u"no such opener"_s)));
    platform.openTarget(u"www.example.com"_s, nullptr);
    platform.openTarget(document, nullptr);
    for (const QString& scheme : {u"http"_s, u"file"_s})
        QDesktopServices::unsetUrlHandler(scheme);

    EXPECT_EQ(catcher.urls,
              (QList<QUrl>{QUrl(u"http://www.example.com"_s), QUrl::fromLocalFile(document)}));
}

} // namespace

#include "launcher_test.moc"
