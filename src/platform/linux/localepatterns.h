#pragma once

#include <QString>

// Rewrites a Qt date or time format (QLocale::dateFormat, QLocale::timeFormat) in the clock
// line's pattern language: "yyyy/M/d" stays, "h:mm:ss AP t" becomes "h:mm:ss tt". The time zone
// goes, with the brackets and separators that only framed it; letters Qt copies as text are
// quoted so the clock line copies them too.
QString clockPatternFromQtFormat(const QString& qtFormat);
