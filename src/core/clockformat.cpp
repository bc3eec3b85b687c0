#include "core/clockformat.h"

#include <QLocale>

namespace {

// Whole-date and whole-time tokens expand into the region's own patterns, and the region's time
// pattern usually holds its designator as "tt". So an expansion is read once: inside it, t and tt
// are the am/pm designator, and whole-date tokens give nothing, which also keeps a pattern that
// refers to itself finite.
constexpr int kExpanded = 1;

QChar lower(QChar c)
{
    return c.toLower();
}

QString padded(int value, int digits)
{
    return QString::number(value).rightJustified(digits, QLatin1Char('0'));
}

bool startsWithNoCase(const QString& text, qsizetype at, QLatin1StringView word)
{
    return text.mid(at, word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

// The length of the 12-hour marker starting at `at` ("am/pm" 5, "a/p" 3, "ampm" 4), or 0.
qsizetype markerLength(const QString& format, qsizetype at)
{
    if (startsWithNoCase(format, at, QLatin1StringView("am/pm")))
        return 5;
    if (startsWithNoCase(format, at, QLatin1StringView("a/p")))
        return 3;
    if (startsWithNoCase(format, at, QLatin1StringView("ampm")))
        return 4;
    return 0;
}

class Formatter
{
public:
    Formatter(const QDateTime& when, const FormatSettings& settings)
        : m_date(when.date()), m_time(when.time()), m_settings(settings)
    {
        if (!m_date.isValid())
            m_date = QDate(1899, 12, 30);
        if (!m_time.isValid())
            m_time = QTime(0, 0);
    }

    void append(const QString& format, int level);
    QString result() const { return m_out; }

private:
    bool twelveHourClock(const QString& format, qsizetype from, int level) const;
    void appendDesignator();
    int hour12() const
    {
        const int h = m_time.hour() % 12;
        return h == 0 ? 12 : h;
    }

    QDate m_date;
    QTime m_time;
    const FormatSettings& m_settings;
    QString m_out;
    bool m_markerSeen = false;
};

bool Formatter::twelveHourClock(const QString& format, qsizetype from, int level) const
{
    if (m_markerSeen)
        return true;
    QChar quote;
    for (qsizetype i = from; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            continue;
        }
        const QChar l = lower(c);
        if (l == QLatin1Char('h'))
            return false;
        if (l == QLatin1Char('a'))
            return markerLength(format, i) > 0;
        if (l == QLatin1Char('t') && level >= kExpanded)
            return true;
    }
    return false;
}

void Formatter::appendDesignator()
{
    m_out += m_time.hour() >= 12 ? m_settings.TimePMString : m_settings.TimeAMString;
    m_markerSeen = true;
}

void Formatter::append(const QString& format, int level)
{
    bool afterHour = false;
    qsizetype i = 0;
    const qsizetype n = format.size();
    while (i < n) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const qsizetype close = format.indexOf(c, i + 1);
            const qsizetype end = close < 0 ? n : close;
            m_out += format.mid(i + 1, end - i - 1);
            i = close < 0 ? n : close + 1;
            continue;
        }
        if (c == QLatin1Char('/')) {
            m_out += m_settings.DateSeparator;
            ++i;
            continue;
        }
        if (c == QLatin1Char(':')) {
            m_out += m_settings.TimeSeparator;
            ++i;
            continue;
        }
        const QChar l = lower(c);
        if (l == QLatin1Char('a')) {
            if (const qsizetype len = markerLength(format, i)) {
                const bool pm = m_time.hour() >= 12;
                if (len == 5) // "am/pm" in the case written
                    m_out += format.mid(pm ? i + 3 : i, 2);
                else if (len == 3) // "a/p"
                    m_out += format.at(pm ? i + 2 : i);
                else
                    appendDesignator();
                m_markerSeen = true;
                afterHour = false;
                i += len;
                continue;
            }
        }
        if (!QLatin1StringView("cdmnyeghszta").contains(l)) {
            m_out += c;
            ++i;
            continue;
        }
        qsizetype count = 1;
        while (i + count < n && lower(format.at(i + count)) == l)
            ++count;
        const bool wasAfterHour = afterHour;
        afterHour = false;
        switch (l.unicode()) {
        case 'c':
            if (level < kExpanded) {
                append(m_settings.ShortDateFormat, level + 1);
                if (m_time.hour() != 0 || m_time.minute() != 0 || m_time.second() != 0) {
                    m_out += QLatin1Char(' ');
                    append(m_settings.LongTimeFormat, level + 1);
                }
            }
            break;
        case 'd':
            if (count <= 2)
                m_out += padded(m_date.day(), int(count));
            else if (count == 3)
                m_out += m_settings.ShortDayNames.value(m_date.dayOfWeek() % 7);
            else if (count == 4)
                m_out += m_settings.LongDayNames.value(m_date.dayOfWeek() % 7);
            else if (level < kExpanded)
                append(count == 5 ? m_settings.ShortDateFormat : m_settings.LongDateFormat,
                       level + 1);
            break;
        case 'm':
            if (wasAfterHour && count <= 2)
                m_out += padded(m_time.minute(), int(count));
            else if (count <= 2)
                m_out += padded(m_date.month(), int(count));
            else if (count == 3)
                m_out += m_settings.ShortMonthNames.value(m_date.month() - 1);
            else
                m_out += m_settings.LongMonthNames.value(m_date.month() - 1);
            break;
        case 'n':
            m_out += padded(m_time.minute(), count >= 2 ? 2 : 1);
            break;
        case 'y':
            m_out += count <= 2 ? padded(m_date.year() % 100, 2) : padded(m_date.year(), 4);
            break;
        case 'e':
            // The Gregorian calendar has one era: the year within it is the year.
            m_out += padded(m_date.year(), count >= 2 ? 2 : 1);
            break;
        case 'g':
            m_out += m_settings.EraName;
            break;
        case 'h': {
            const int hour = twelveHourClock(format, i + count, level) ? hour12() : m_time.hour();
            m_out += padded(hour, count >= 2 ? 2 : 1);
            afterHour = true;
            break;
        }
        case 's':
            m_out += padded(m_time.second(), count >= 2 ? 2 : 1);
            break;
        case 'z':
            m_out += padded(m_time.msec(), int(qMin<qsizetype>(count, 3)));
            break;
        case 't':
            if (level < kExpanded)
                append(count == 1 ? m_settings.ShortTimeFormat : m_settings.LongTimeFormat,
                       level + 1);
            else
                appendDesignator();
            break;
        case 'a':
            // Not a 12-hour marker: three or more a are day names, fewer are plain text.
            if (count == 3)
                m_out += m_settings.ShortDayNames.value(m_date.dayOfWeek() % 7);
            else if (count >= 4)
                m_out += m_settings.LongDayNames.value(m_date.dayOfWeek() % 7);
            else
                m_out += format.mid(i, count);
            break;
        default:
            m_out += format.mid(i, count);
            break;
        }
        i += count;
    }
}

bool isBlankOrControl(QChar c)
{
    // Newer region data sets the day period off with a no-break or a narrow no-break space.
    return c.unicode() <= 0x20 || c.category() == QChar::Separator_Space;
}

} // namespace

FormatSettings::FormatSettings()
{
    const QLocale c = QLocale::c();
    for (int m = 1; m <= 12; ++m) {
        ShortMonthNames.append(c.monthName(m, QLocale::ShortFormat));
        LongMonthNames.append(c.monthName(m, QLocale::LongFormat));
    }
    for (int d : {7, 1, 2, 3, 4, 5, 6}) {
        ShortDayNames.append(c.dayName(d, QLocale::ShortFormat));
        LongDayNames.append(c.dayName(d, QLocale::LongFormat));
    }
}

FormatSettings formatSettingsFrom(const QLocale& locale, const QString& datePattern,
                                  const QString& timePattern)
{
    FormatSettings s;
    s.ShortMonthNames.clear();
    s.LongMonthNames.clear();
    s.ShortDayNames.clear();
    s.LongDayNames.clear();
    for (int m = 1; m <= 12; ++m) {
        s.ShortMonthNames.append(locale.monthName(m, QLocale::ShortFormat));
        s.LongMonthNames.append(locale.monthName(m, QLocale::LongFormat));
    }
    for (int d : {7, 1, 2, 3, 4, 5, 6}) {
        s.ShortDayNames.append(locale.dayName(d, QLocale::ShortFormat));
        s.LongDayNames.append(locale.dayName(d, QLocale::LongFormat));
    }
    s.TimeAMString = locale.amText();
    s.TimePMString = locale.pmText();
    if (!datePattern.isEmpty())
        s.ShortDateFormat = datePattern;
    if (!timePattern.isEmpty())
        s.LongTimeFormat = timePattern;
    return s;
}

QString FormatDateTime(const QString& format, const QDateTime& when, const FormatSettings& settings)
{
    Formatter formatter(when, settings);
    formatter.append(format, 0);
    return formatter.result();
}

QString clockLineFormat(const QString& datePattern, const QString& timePattern)
{
    QString time = timePattern;
    // The search is case-sensitive, the removal is not: an upper-case designator earlier in the
    // pattern goes instead of the lower-case one that was found.
    if (time.contains(QLatin1StringView("tt"))) {
        const qsizetype at = time.indexOf(QLatin1StringView("tt"), 0, Qt::CaseInsensitive);
        time.remove(at, 2);
    }
    qsizetype first = 0;
    qsizetype last = time.size();
    while (first < last && isBlankOrControl(time.at(first)))
        ++first;
    while (last > first && isBlankOrControl(time.at(last - 1)))
        --last;
    return datePattern + QLatin1Char(' ') + time.mid(first, last - first) +
           QStringLiteral(" am/pm");
}
