// Feeds arbitrary patterns to the clock line's formatter: whatever a region or a user's
// settings hold, formatting must end, stay in bounds and give text of sane length.

#include "core/clockformat.h"

#include <QDateTime>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// The input is up to five NUL-separated texts: the format, the date and time patterns and the
// region's whole-date and whole-time patterns. The first byte picks UTF-8 or UTF-16 decoding so
// odd code units (lone surrogates) reach the formatter too.
QStringList split(const std::uint8_t* data, std::size_t size)
{
    QStringList parts;
    if (size == 0)
        return parts;
    const bool utf16 = (data[0] & 1) != 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const QList<QByteArray> raw = bytes.split('\0');
    for (const QByteArray& r : raw) {
        if (utf16)
            parts.append(
                QString::fromUtf16(reinterpret_cast<const char16_t*>(r.constData()), r.size() / 2));
        else
            parts.append(QString::fromUtf8(r));
    }
    return parts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QStringList parts = split(data, size);
    FormatSettings settings;
    settings.ShortDateFormat = parts.value(3);
    settings.LongDateFormat = parts.value(4);
    settings.ShortTimeFormat = parts.value(2);
    settings.LongTimeFormat = parts.value(4) + parts.value(1);

    const QDateTime moments[] = {
        QDateTime(QDate(2024, 3, 5), QTime(15, 7, 9, 45)),
        QDateTime(QDate(1, 1, 1), QTime(0, 0)),
        QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59, 999)),
        QDateTime(),
    };
    const QString line = clockLineFormat(parts.value(1), parts.value(2));
    qsizetype inputLength = 0;
    for (const QString& p : parts)
        inputLength += p.size();
    for (const QDateTime& when : moments) {
        for (const QString& format : {parts.value(0), line}) {
            const QString out = FormatDateTime(format, when, settings);
            // Each character expands at most into a bounded piece of nested patterns.
            if (out.size() > 64 * (format.size() + 1) * (inputLength + 64))
                std::abort();
        }
    }
    return 0;
}
