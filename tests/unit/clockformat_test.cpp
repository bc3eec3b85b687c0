#include "core/clockformat.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

// Tuesday, 5 March 2024, 15:07:09.045.
const QDateTime kAfternoon(QDate(2024, 3, 5), QTime(15, 7, 9, 45));

FormatSettings english()
{
    FormatSettings s = formatSettingsFrom(QLocale(QLocale::English, QLocale::UnitedStates));
    s.ShortDateFormat = QStringLiteral("M/d/yyyy");
    s.LongDateFormat = QStringLiteral("dddd, mmmm d, yyyy");
    s.ShortTimeFormat = QStringLiteral("h:mm");
    s.LongTimeFormat = QStringLiteral("hh:mm:ss");
    s.TimeAMString = QStringLiteral("AM");
    s.TimePMString = QStringLiteral("PM");
    return s;
}

struct Case
{
    const char* format;
    QDateTime when;
    const char* expected;
};

void expectAll(const std::vector<Case>& cases, const FormatSettings& settings)
{
    for (const Case& c : cases) {
        EXPECT_EQ(FormatDateTime(QString::fromUtf8(c.format), c.when, settings).toStdString(),
                  c.expected)
            << "format \"" << c.format << "\" at " << c.when.toString().toStdString();
    }
}

TEST(FormatDateTime, DateTokens)
{
    expectAll({{"d dd ddd dddd", kAfternoon, "5 05 Tue Tuesday"},
               {"m mm mmm mmmm mmmmm", kAfternoon, "3 03 Mar March March"},
               {"y yy yyy yyyy", kAfternoon, "24 24 2024 2024"},
               {"ddddd", kAfternoon, "3/5/2024"},
               {"dddddd", kAfternoon, "Tuesday, March 5, 2024"},
               {"aaa aaaa", kAfternoon, "Tue Tuesday"},
               {"e ee g", QDateTime(QDate(2005, 1, 1), QTime(1, 0)), "2005 2005 AD"},
               {"DD/MM/YYYY", kAfternoon, "05/03/2024"}},
              english());
}

TEST(FormatDateTime, TimeTokens)
{
    expectAll({{"H:N:S", kAfternoon, "15:7:9"},
               {"hh:nn:ss", kAfternoon, "15:07:09"},
               {"hhhh", kAfternoon, "15"},
               {"z zz zzz zzzz", kAfternoon, "45 45 045 045"},
               {"t", kAfternoon, "15:07"},
               {"tt", kAfternoon, "15:07:09"},
               {"c", kAfternoon, "3/5/2024 15:07:09"},
               {"c", QDateTime(QDate(2024, 3, 5), QTime(0, 0, 0, 500)), "3/5/2024"}},
              english());
}

TEST(FormatDateTime, MinutesFollowAnHourMonthsOtherwise)
{
    expectAll({{"h:m", kAfternoon, "15:7"},
               {"hh mm", kAfternoon, "15 07"},
               {"hh'x'mm", kAfternoon, "15x07"},
               {"d/m", kAfternoon, "5/3"},
               {"h s m", kAfternoon, "15 9 3"},
               {"h:mmm", kAfternoon, "15:Mar"}},
              english());
}

TEST(FormatDateTime, TwelveHourClock)
{
    const QDateTime midnight(QDate(2024, 3, 5), QTime(0, 4, 0));
    const QDateTime noon(QDate(2024, 3, 5), QTime(12, 0, 0));
    expectAll({{"h am/pm", kAfternoon, "3 pm"},
               {"h AM/PM", kAfternoon, "3 PM"},
               {"h Am/Pm", kAfternoon, "3 Pm"},
               {"h a/p", kAfternoon, "3 p"},
               {"h A/P", midnight, "12 A"},
               {"h ampm", kAfternoon, "3 PM"},
               {"hh:nn am/pm", midnight, "12:04 am"},
               {"h am/pm", noon, "12 pm"},
               {"h 'am/pm'", kAfternoon, "15 am/pm"},
               {"h h am/pm", kAfternoon, "15 3 pm"},
               {"am/pm h", kAfternoon, "pm 3"},
               {"h ab", kAfternoon, "15 ab"},
               {"h\"a\" am/pm", kAfternoon, "3a pm"}},
              english());
}

TEST(FormatDateTime, SeparatorsQuotesAndOtherCharacters)
{
    FormatSettings s = english();
    s.DateSeparator = QStringLiteral("-");
    s.TimeSeparator = QStringLiteral(".");
    expectAll({{"d/m/yy", kAfternoon, "5-3-24"},
               {"h:nn", kAfternoon, "15.07"},
               {"'d/m' \"h:n\"", kAfternoon, "d/m h:n"},
               {"'unterminated d", kAfternoon, "unterminated d"},
               {"x#b!q", kAfternoon, "x#b!q"},
               {"yyyy'年'm'月'd'日'", kAfternoon, "2024年3月5日"},
               {"", kAfternoon, ""}},
              s);
}

TEST(FormatDateTime, SelfReferringPatternsStayFinite)
{
    FormatSettings s = english();
    s.ShortDateFormat = QStringLiteral("ddddd c t");
    s.LongDateFormat = QStringLiteral("dddddd");
    s.ShortTimeFormat = QStringLiteral("t tt c");
    s.LongTimeFormat = QStringLiteral("tt c dddddd");
    for (const char* f : {"c", "ddddd", "dddddd", "t", "tt", "c c c c"}) {
        const QString out = FormatDateTime(QString::fromLatin1(f), kAfternoon, s);
        EXPECT_LT(out.size(), 2000) << f;
    }
}

TEST(ClockLine, BuildsTheLineFromTheRegionsPatterns)
{
    const FormatSettings s = english();
    struct Line
    {
        const char* date;
        const char* time;
        const char* format;
        const char* shown;
    };
    const Line lines[] = {
        {"yyyy/M/d", "H:mm:ss", "yyyy/M/d H:mm:ss am/pm", "2024/3/5 3:07:09 pm"},
        {"M/d/yyyy", "h:mm:ss tt", "M/d/yyyy h:mm:ss am/pm", "3/5/2024 3:07:09 pm"},
        {"yyyy/M/d", "hh:mm:ss tt", "yyyy/M/d hh:mm:ss am/pm", "2024/3/5 03:07:09 pm"},
        {"yyyy/M/d", "HH:mm:ss", "yyyy/M/d HH:mm:ss am/pm", "2024/3/5 03:07:09 pm"},
        {"yyyy/M/d", "tt h:mm:ss", "yyyy/M/d h:mm:ss am/pm", "2024/3/5 3:07:09 pm"},
        // Found case-sensitively, removed case-insensitively: the first TT goes.
        {"d", "TT h tt", "d h tt am/pm", "5 3 15:07:09 pm"},
        {"d", " \t h:mm \r\n", "d h:mm am/pm", "5 3:07 pm"},
        // Newer region data: a narrow no-break space before the day period, a no-break one after.
        {"yyyy/M/d", "h:mm:ss\u202Ftt", "yyyy/M/d h:mm:ss am/pm", "2024/3/5 3:07:09 pm"},
        {"yyyy/M/d", "tt\u00A0h:mm:ss", "yyyy/M/d h:mm:ss am/pm", "2024/3/5 3:07:09 pm"},
        {"", "", "  am/pm", "  pm"},
    };
    for (const Line& l : lines) {
        const QString format =
            clockLineFormat(QString::fromUtf8(l.date), QString::fromUtf8(l.time));
        EXPECT_EQ(format.toStdString(), l.format) << l.date << " | " << l.time;
        EXPECT_EQ(FormatDateTime(format, kAfternoon, s).toStdString(), l.shown)
            << l.date << " | " << l.time;
    }
}

TEST(ClockLine, UpperCaseDesignatorIsKeptAndReadAsTheLongTime)
{
    const QString format = clockLineFormat(QStringLiteral("d"), QStringLiteral("h:mm:ss TT"));
    EXPECT_EQ(format, QStringLiteral("d h:mm:ss TT am/pm"));
    const QString shown = FormatDateTime(format, kAfternoon, english());
    EXPECT_EQ(shown, QStringLiteral("5 3:07:09 15:07:09 pm"));
}

TEST(ClockLine, WholeDateAndTimeTokensAreReadOnceInsideTheirOwnExpansion)
{
    // The region's time pattern is also the long time that TT stands for, so an upper-case
    // designator would expand inside its own expansion; there it is the designator itself.
    struct Line
    {
        const char* date;
        const char* time;
        const char* shown;
    };
    const Line lines[] = {
        {"yyyy/M/d", "hh:mm:ss TT", "2024/3/5 03:07:09 03:07:09 PM pm"},
        {"d", "TT", "5 PM pm"},
        // The lower-case search removes the first designator of either case: here the TT.
        {"d", "h:mm TT tt", "5 3:07  3:07 PM PM pm"},
        // A region whose whole date refers to itself shows no date rather than a loop.
        {"ddddd", "h:mm", " 3:07 pm"},
        {"c", "h:mm", " 15:07 3:07 pm"},
    };
    for (const Line& l : lines) {
        FormatSettings s =
            formatSettingsFrom(QLocale(QLocale::English, QLocale::UnitedStates),
                               QString::fromLatin1(l.date), QString::fromLatin1(l.time));
        s.ShortTimeFormat = QStringLiteral("h:mm");
        s.TimeAMString = QStringLiteral("AM");
        s.TimePMString = QStringLiteral("PM");
        const QString format =
            clockLineFormat(QString::fromUtf8(l.date), QString::fromUtf8(l.time));
        EXPECT_EQ(FormatDateTime(format, kAfternoon, s).toStdString(), l.shown)
            << l.date << " | " << l.time;
    }
}

TEST(ClockLine, FallbackPatternsShowAnAbbreviatedMonth)
{
    const QString format = clockLineFormat(QString::fromUtf16(kFallbackDatePattern),
                                           QString::fromUtf16(kFallbackTimePattern));
    EXPECT_EQ(FormatDateTime(format, kAfternoon, english()),
              QStringLiteral("05 Mar 24 03:07:09 pm"));
}

} // namespace
