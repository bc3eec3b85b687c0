#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class QLocale;

// What the pattern language takes from the user's region: separators, names, designators and
// the whole-date and whole-time patterns that the tokens ddddd, dddddd, t, tt and c stand for.
struct FormatSettings
{
    QString DateSeparator = QStringLiteral("/");
    QString TimeSeparator = QStringLiteral(":");
    QString ShortDateFormat = QStringLiteral("yyyy/M/d");
    QString LongDateFormat = QStringLiteral("yyyy'年'M'月'd'日'");
    QString ShortTimeFormat = QStringLiteral("H:mm");
    QString LongTimeFormat = QStringLiteral("H:mm:ss");
    QString TimeAMString = QStringLiteral("AM");
    QString TimePMString = QStringLiteral("PM");
    QString EraName = QStringLiteral("AD");
    // Twelve months from January and seven days from Sunday.
    QStringList ShortMonthNames;
    QStringList LongMonthNames;
    QStringList ShortDayNames;
    QStringList LongDayNames;

    FormatSettings();
};

// The settings of `locale`; `datePattern` and `timePattern` are the region's patterns already
// in the pattern language (empty: keep the defaults).
FormatSettings formatSettingsFrom(const QLocale& locale, const QString& datePattern = QString(),
                                  const QString& timePattern = QString());

// Formats `when` with `format` in the pattern language: letters match without regard to case,
// a run of one letter is one token, quoted text is copied without its quotes and any other
// character is copied. Never fails: every input gives some text.
QString FormatDateTime(const QString& format, const QDateTime& when,
                       const FormatSettings& settings);

// The clock line's format from the region's two patterns: the time pattern loses its first "tt"
// designator (when it has a lower-case one) and its outer blanks, and the line ends in the
// 12-hour marker " am/pm".
QString clockLineFormat(const QString& datePattern, const QString& timePattern);

// The patterns used when the region cannot be read at all.
inline constexpr const char16_t* kFallbackDatePattern = u"dd mmm yy";
inline constexpr const char16_t* kFallbackTimePattern = u"hh:mm:ss";
