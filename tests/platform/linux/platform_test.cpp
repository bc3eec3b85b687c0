#include "platform/createplatform.h"
#include "platform/linux/linuxplatform.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QTimeZone>
#include <QTimer>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The system's monotonic clock, read independently of the backend.
std::uint64_t monotonicMs()
{
    using namespace std::chrono;
    return std::uint64_t(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

TEST(LinuxPlatform, TickCountIsTheMonotonicClockInMillisecondsWrappingAt32Bits)
{
    LinuxPlatform platform(QDBusConnection(u"unused"_s));
    for (int round = 0; round < 3; ++round) {
        const std::uint64_t before = monotonicMs();
        const std::uint32_t tick = platform.tickCount();
        const std::uint64_t after = monotonicMs();
        // Compared in 32-bit arithmetic, so the check holds across a wrap too.
        EXPECT_LE(std::uint32_t(tick - std::uint32_t(before)), std::uint32_t(after - before))
            << "tick " << tick << " outside [" << before << ", " << after << "]";
        QThread::msleep(20);
    }
    const std::uint32_t first = platform.tickCount();
    QThread::msleep(50);
    EXPECT_GE(std::uint32_t(platform.tickCount() - first), 50u);
}

TEST(LinuxPlatform, SleepClocksAreTheMonotonicClockAndOneThatIsNeverBehindIt)
{
    LinuxPlatform platform(QDBusConnection(u"unused"_s));
    const std::uint64_t before = monotonicMs();
    const SleepClocks first = platform.clocks();
    const std::uint64_t after = monotonicMs();
    EXPECT_GE(first.monotonicMs, std::int64_t(before));
    EXPECT_LE(first.monotonicMs, std::int64_t(after));
    EXPECT_GE(first.bootMs, first.monotonicMs);

    QThread::msleep(50);
    const SleepClocks second = platform.clocks();
    EXPECT_GE(second.monotonicMs - first.monotonicMs, 50);
    EXPECT_GE(second.bootMs - first.bootMs, 50);
    // Awake, the two move together; only rounding of the separate reads may tell them apart.
    EXPECT_LE(std::abs(second.sleptMs() - first.sleptMs()), 2);
}

TEST(LinuxPlatform, LocalDateTimeIsNowInLocalTime)
{
    LinuxPlatform platform(QDBusConnection(u"unused"_s));
    const QDateTime before = QDateTime::currentDateTime();
    const QDateTime now = platform.localDateTime();
    const QDateTime after = QDateTime::currentDateTime();
    EXPECT_EQ(now.timeZone(), QTimeZone::systemTimeZone());
    EXPECT_LE(before, now);
    EXPECT_LE(now, after);
}

TEST(LinuxPlatform, PendingEventsAreHandled)
{
    LinuxPlatform platform(QDBusConnection(u"unused"_s));
    bool handled = false;
    QTimer::singleShot(0, qApp, [&] { handled = true; });
    platform.processPendingEvents();
    EXPECT_TRUE(handled);
}

TEST(LinuxPlatform, CreatePlatformGivesTheLinuxBackend)
{
    // Made only, never asked to end a session: it sits on the real system bus.
    const std::unique_ptr<Platform> platform = createPlatform();
    EXPECT_NE(dynamic_cast<LinuxPlatform*>(platform.get()), nullptr);
}

// The patterns inside the parentheses of a file-dialog filter.
QStringList patternsOf(const QString& filter)
{
    static const QRegularExpression inParentheses(u"\\(([^)]*)\\)"_s);
    return inParentheses.match(filter).captured(1).split(u' ', Qt::SkipEmptyParts);
}

TEST(LinuxPlatform, FileChoicesOfferTheRightFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"lower.wav", "UPPER.WAV", "song.mp3", "wav", "program", "notes.txt"}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QFile::setPermissions(dir.filePath(u"program"_s),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    struct Case
    {
        FileKind kind;
        const char* filter;
        bool executablesOnly;
        QStringList offered;
    };
    const std::vector<Case> cases = {
        {FileKind::Sound, "WAV 声音文件 (*.WAV *.wav)", false, {u"UPPER.WAV"_s, u"lower.wav"_s}},
        {FileKind::Program, "可执行文件 (*)", true, {u"program"_s}},
    };
    for (const Case& c : cases) {
        const FileChoice choice = fileChoiceFor(c.kind);
        const QString name = QString::fromUtf8(c.filter);
        EXPECT_EQ(choice.filter, name);
        EXPECT_EQ(choice.executablesOnly, c.executablesOnly) << c.filter;
        // What the dialog lists: the filter's patterns, case-sensitively, as this system names.
        QDir::Filters filters = QDir::Files;
        if (choice.executablesOnly)
            filters |= QDir::Executable;
        QDir listing(dir.path());
        listing.setSorting(QDir::Name);
        EXPECT_EQ(listing.entryList(patternsOf(choice.filter), filters), c.offered) << c.filter;
    }
}

// Runs `act` on the file dialog once it is up, from inside its own event loop.
void whenDialogShows(const std::function<void(QFileDialog&)>& act)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, qApp, [poll, act] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(*dialog);
        }
    });
    poll->start(10);
}

TEST(LinuxPlatform, ChooseFileShowsTheFilterAndReturnsTheChoice)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString sound = dir.filePath(u"bell.wav"_s);
    QFile file(sound);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    LinuxPlatform platform(QDBusConnection(u"unused"_s));
    QStringList filtersShown;
    whenDialogShows([&](QFileDialog& dialog) {
        filtersShown = dialog.nameFilters();
        dialog.selectFile(sound);
        static_cast<QDialog&>(dialog).accept(); // public there, and virtual
    });
    EXPECT_EQ(platform.chooseFile(FileKind::Sound, sound, nullptr), std::optional<QString>(sound));
    EXPECT_EQ(filtersShown, QStringList{u"WAV 声音文件 (*.WAV *.wav)"_s});

    QDir::Filters programFilter;
    whenDialogShows([&](QFileDialog& dialog) {
        filtersShown = dialog.nameFilters();
        programFilter = dialog.filter();
        dialog.reject();
    });
    EXPECT_EQ(platform.chooseFile(FileKind::Program, QString(), nullptr), std::nullopt);
    EXPECT_EQ(filtersShown, QStringList{u"可执行文件 (*)"_s});
    EXPECT_TRUE(programFilter.testFlag(QDir::Executable));
}

// Run by CTest under LC_ALL=zh_CN.UTF-8 and LC_ALL=en_US.UTF-8 (see CMakeLists.txt): Qt reads
// the region from the environment, whether or not the C library has that locale installed.
TEST(SystemLocale, PatternsComeFromTheUsersRegion)
{
    struct Case
    {
        const char* locale;
        const char* date;
        const char* time;
    };
    const std::vector<Case> cases = {
        {"zh_CN", "yyyy/M/d", "HH:mm:ss"},
        {"en_US", "M/d/yy", "h:mm:ss tt"},
    };
    const QString region = QLocale::system().name();
    LinuxPlatform platform(QDBusConnection(u"unused"_s));
    for (const Case& c : cases) {
        if (region != QString::fromLatin1(c.locale))
            continue;
        EXPECT_EQ(platform.shortDatePattern(), QString::fromUtf8(c.date)) << c.locale;
        EXPECT_EQ(platform.timePattern(), QString::fromUtf8(c.time)) << c.locale;
        return;
    }
    FAIL() << "run under LC_ALL=zh_CN.UTF-8 or en_US.UTF-8, not " << region.toStdString();
}

} // namespace
