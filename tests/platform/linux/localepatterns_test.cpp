#include "core/clockformat.h"
#include "platform/linux/localepatterns.h"

#include <QLocale>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// An afternoon and a morning, with every field of a different width and value.
const QDateTime kAfternoon(QDate(2024, 3, 5), QTime(15, 7, 9, 42), Qt::UTC);
const QDateTime kMorning(QDate(2031, 11, 23), QTime(9, 45, 30, 500), Qt::UTC);

// What the clock line shows for `pattern`: the designator position stands for the locale's
// AM/PM text, which "ampm" shows in the pattern language.
QString clockLineText(const QString& pattern, const QLocale& locale, const QDateTime& when)
{
    QString shown = pattern;
    shown.replace(u"tt"_s, u"ampm"_s);
    return FormatDateTime(shown, when, formatSettingsFrom(locale));
}

// Qt's own text for `format`, the time zone and what framed it taken out, digits as ASCII
// (the clock line writes Western digits in every region).
QString qtText(const QString& format, const QLocale& locale, const QDateTime& when)
{
    QString text = locale.toString(when, format);
    static const QRegularExpression zone(u"[,\\s]*[\\(\\[]?UTC[\\)\\]]?"_s);
    text.remove(zone);
    QString ascii;
    for (char32_t c : text.toUcs4()) {
        const int digit = QChar::digitValue(c);
        ascii += digit >= 0 ? QString(QChar(u'0' + digit)) : QString::fromUcs4(&c, 1);
    }
    return ascii.trimmed();
}

void expectSameText(const QString& qtFormat, const QLocale& locale, const std::string& name)
{
    const QString pattern = clockPatternFromQtFormat(qtFormat);
    for (const QDateTime& when : {kAfternoon, kMorning}) {
        const QString expected = qtText(qtFormat, locale, when);
        const QString shown = clockLineText(pattern, locale, when).trimmed();
        // Qt writes AP in capitals; the clock line writes the locale's own spelling.
        EXPECT_EQ(shown.compare(expected, Qt::CaseInsensitive), 0)
            << name << ": Qt format \"" << qtFormat.toStdString() << "\" became \""
            << pattern.toStdString() << "\", which shows \"" << shown.toStdString()
            << "\" instead of \"" << expected.toStdString() << "\" for "
            << when.toString(Qt::ISODate).toStdString();
    }
}

TEST(LocalePatterns, QtFormatsBecomeTheClockLinesPatterns)
{
    struct Case
    {
        const char* qt;
        const char* pattern;
    };
    const std::vector<Case> cases = {
        {"yyyy/M/d", "yyyy/M/d"},
        {"M/d/yy", "M/d/yy"},
        {"dd.MM.yyyy", "dd.MM.yyyy"},
        {"d MMM yyyy", "d MMM yyyy"},
        {"dddd, MMMM d, yyyy", "dddd, MMMM d, yyyy"},
        {"yy. M. d.", "yy. M. d."},
        {"H:mm:ss", "H:mm:ss"},
        // The time zone goes, with what framed it.
        {"h:mm:ss AP t", "h:mm:ss tt"},
        {"t HH:mm:ss", "HH:mm:ss"},
        {"H:mm:ss (t)", "H:mm:ss"},
        {"APh:mm:ss [t]", "tth:mm:ss"},
        {"t APh:mm:ss", "tth:mm:ss"},
        {"h:mm:ss AP, t", "h:mm:ss tt"},
        {"HH:mm t ss", "HH:mm ss"},
        {"t", ""},
        // Every spelling of the designator; Qt's h is 24-hour without one.
        {"hh:mm ap", "hh:mm tt"},
        {"h:mm A", "h:mm tt"},
        {"h:mm a", "h:mm tt"},
        {"h:mm", "H:mm"},
        {"AP h\uC2DC m\uBD84 s\uCD08", "tt h\uC2DC m\uBD84 s\uCD08"},
        // Minutes read as minutes only straight after an hour.
        {"mm:ss", "nn:ss"},
        {"H:m:s", "H:m:s"},
        {"HH 'h' mm", "HH 'h' mm"},
        {"ss mm", "ss nn"},
        {"HH:mm:ss.zzz", "HH:mm:ss.zzz"},
        // Letters Qt copies are quoted, so the clock line copies them too.
        {"d.MM.yy '\u0433'.", "d.MM.yy '\u0433'."},
        {"yyyy-MM-ddTHH:mm", "yyyy-MM-dd'T'HH:mm"},
        {"'Klock' H.mm:ss (t)", "'Klock' H.mm:ss"},
        {"Bh:mm", "'B'H:mm"},
        {"y yy", "'y' yy"},
        {"H\u6642mm\u5206ss\u79D2 t", "H\u6642mm\u5206ss\u79D2"},
        // Quotes: Qt's doubled quote is a quote; the clock line needs the other kind around it.
        {"h 'o''clock' AP", "h 'o'\"'\"'clock' tt"},
        {"h '\"' AP", "h '\"' tt"},
        // The caller takes the first "tt" for the designator, so text never holds one whole.
        {"'Ott' h:mm AP", "'Ot''t' h:mm tt"},
        // Neighbouring fields of one letter stay apart.
        {"ddddd", "dddd''d"},
        {"HHh", "HH''H"},
        {"", ""},
    };
    for (const Case& c : cases) {
        const QString qt = QString::fromUtf8(c.qt);
        EXPECT_EQ(clockPatternFromQtFormat(qt), QString::fromUtf8(c.pattern))
            << "Qt format " << c.qt;
        expectSameText(qt, QLocale::c(), std::string("Qt format ") + c.qt);
    }
}

TEST(LocalePatterns, TheClockLineFindsTheDesignatorWhereQtHadIt)
{
    struct Case
    {
        const char* qt;
        const char* clockLine;
    };
    const std::vector<Case> cases = {
        {"h:mm:ss AP t", "d h:mm:ss am/pm"},
        {"AP h:mm:ss", "d h:mm:ss am/pm"},
        {"'Ott' h:mm AP", "d 'Ot''t' h:mm am/pm"},
        {"H:mm:ss", "d H:mm:ss am/pm"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(clockLineFormat(u"d"_s, clockPatternFromQtFormat(QString::fromUtf8(c.qt))),
                  QString::fromUtf8(c.clockLine))
            << c.qt;
    }
}

TEST(LocalePatterns, RegionsKeepTheirFieldsInTheirOrder)
{
    // What the locales most users have give; each converted pattern must show what Qt shows.
    struct Case
    {
        const char* locale;
        const char* datePattern;
        const char* timePattern;
    };
    const std::vector<Case> cases = {
        {"zh_CN", "yyyy/M/d", "HH:mm:ss"},     {"en_US", "M/d/yy", "h:mm:ss tt"},
        {"de_DE", "dd.MM.yy", "HH:mm:ss"},     {"fr_FR", "dd/MM/yyyy", "HH:mm:ss"},
        {"ja_JP", "yyyy/MM/dd", nullptr},      {"ko_KR", "yy. M. d.", nullptr},
        {"ar_EG", nullptr, "h:mm:ss tt"},      {"fi_FI", "d.M.yyyy", "H.mm.ss"},
        {"hu_HU", "yyyy. MM. dd.", "H:mm:ss"}, {"ru_RU", "dd.MM.yyyy", "HH:mm:ss"},
        {"es_ES", "d/M/yy", "H:mm:ss"},        {"fa_IR", "yyyy/M/d", "H:mm:ss"},
        {"bg_BG", nullptr, nullptr},           {"th_TH", "d/M/yy", nullptr},
        {"sv_SE", "yyyy-MM-dd", "HH:mm:ss"},   {"en_GB", "dd/MM/yyyy", "HH:mm:ss"},
        {"sq_AL", nullptr, "h:mm:ss tt"},      {"he_IL", "d.M.yyyy", "H:mm:ss"},
        {"zh_TW", nullptr, nullptr},           {"hi_IN", "d/M/yy", "h:mm:ss tt"},
    };
    for (const Case& c : cases) {
        const QLocale locale(QString::fromLatin1(c.locale));
        ASSERT_EQ(locale.name(), QString::fromLatin1(c.locale)) << "Qt lacks " << c.locale;
        const QString date = locale.dateFormat(QLocale::ShortFormat);
        const QString time = locale.timeFormat(QLocale::LongFormat);
        if (c.datePattern) {
            EXPECT_EQ(clockPatternFromQtFormat(date), QString::fromUtf8(c.datePattern)) << c.locale;
        }
        if (c.timePattern) {
            EXPECT_EQ(clockPatternFromQtFormat(time), QString::fromUtf8(c.timePattern)) << c.locale;
        }
        expectSameText(date, locale, std::string(c.locale) + " date");
        expectSameText(time, locale, std::string(c.locale) + " time");
    }
}

TEST(LocalePatterns, EveryLocaleQtKnowsShowsWhatQtShows)
{
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    ASSERT_GT(locales.size(), 300);
    for (const QLocale& locale : locales) {
        const std::string name = locale.name().toStdString();
        const QString date = locale.dateFormat(QLocale::ShortFormat);
        const QString time = locale.timeFormat(QLocale::LongFormat);
        expectSameText(date, locale, name + " date");
        expectSameText(time, locale, name + " time");
    }
}

} // namespace
