#include "platform/linux/localepatterns.h"

#include <QList>

namespace {

// One piece of a Qt format: a field such as "MM" or "AP", or text Qt copies as it stands.
struct Piece
{
    enum Kind
    {
        Field,
        Text
    };
    Kind kind = Text;
    QChar letter;        // the field's letter as Qt wrote it
    qsizetype count = 0; // how many letters the field took
    QString text;        // the text of a Text piece, quotes resolved
    bool quoted = false;
};

bool isSeparatorOnly(const QString& text)
{
    for (QChar c : text) {
        if (!c.isSpace() && c != QLatin1Char(',') && c != QLatin1Char(';'))
            return false;
    }
    return true;
}

// How many letters Qt 6 takes for a field starting at `at`, or 0 when the letter is plain text.
qsizetype fieldLength(const QString& format, qsizetype at)
{
    const QChar c = format.at(at);
    qsizetype run = 1;
    while (at + run < format.size() && format.at(at + run) == c)
        ++run;
    switch (c.unicode()) {
    case 'd':
    case 'M':
        return qMin<qsizetype>(run, 4);
    case 'y':
        return run >= 4 ? 4 : run >= 2 ? 2 : 0;
    case 'h':
    case 'H':
    case 'm':
    case 's':
        return qMin<qsizetype>(run, 2);
    case 'z':
        return run >= 3 ? 3 : 1;
    case 'a':
    case 'A':
        // "AP", "ap", "aP", "Ap" or a lone "a"/"A" are all the designator.
        if (at + 1 < format.size() && format.at(at + 1).toLower() == QLatin1Char('p'))
            return 2;
        return 1;
    case 't':
        return 1;
    default:
        return 0;
    }
}

// Qt's quoting: '' outside quotes is one quote, '' inside quotes is one quote, an unclosed quote
// runs to the end.
QString readQuoted(const QString& format, qsizetype& at)
{
    ++at;
    if (at < format.size() && format.at(at) == QLatin1Char('\'')) {
        ++at;
        return QStringLiteral("'");
    }
    QString text;
    while (at < format.size()) {
        if (format.at(at) == QLatin1Char('\'')) {
            if (at + 1 < format.size() && format.at(at + 1) == QLatin1Char('\'')) {
                text += QLatin1Char('\'');
                at += 2;
                continue;
            }
            ++at;
            break;
        }
        text += format.at(at++);
    }
    return text;
}

QList<Piece> parse(const QString& format)
{
    QList<Piece> pieces;
    auto appendText = [&pieces](const QString& text, bool quoted) {
        if (!pieces.isEmpty() && pieces.last().kind == Piece::Text &&
            pieces.last().quoted == quoted) {
            pieces.last().text += text;
            return;
        }
        Piece piece;
        piece.text = text;
        piece.quoted = quoted;
        pieces.append(piece);
    };
    qsizetype i = 0;
    while (i < format.size()) {
        if (format.at(i) == QLatin1Char('\'')) {
            appendText(readQuoted(format, i), true);
            continue;
        }
        if (const qsizetype length = fieldLength(format, i)) {
            Piece piece;
            piece.kind = Piece::Field;
            piece.letter = format.at(i);
            piece.count = length;
            pieces.append(piece);
            i += length;
            continue;
        }
        appendText(format.at(i), false);
        ++i;
    }
    return pieces;
}

bool isZone(const Piece& piece)
{
    return piece.kind == Piece::Field && piece.letter == QLatin1Char('t');
}

bool isPlainText(const QList<Piece>& pieces, qsizetype at)
{
    return at >= 0 && at < pieces.size() && pieces.at(at).kind == Piece::Text &&
           !pieces.at(at).quoted;
}

bool hasField(const QList<Piece>& pieces, qsizetype from, qsizetype to)
{
    for (qsizetype i = from; i < to; ++i) {
        if (pieces.at(i).kind == Piece::Field || !pieces.at(i).text.trimmed().isEmpty())
            return true;
    }
    return false;
}

// Drops every time-zone field with the text that only framed it: "(t)", "[t]", ", t" at the
// end, "t " at the start; between two fields one blank stays.
void dropZones(QList<Piece>& pieces)
{
    for (qsizetype z = 0; z < pieces.size();) {
        if (!isZone(pieces.at(z))) {
            ++z;
            continue;
        }
        QString before = isPlainText(pieces, z - 1) ? pieces.at(z - 1).text : QString();
        QString after = isPlainText(pieces, z + 1) ? pieces.at(z + 1).text : QString();
        static const QString opening = QStringLiteral("([{\uFF08\uFF3B");
        static const QString closing = QStringLiteral(")]}\uFF09\uFF3D");
        const QString beforeTrimmed = before.trimmed();
        const QString afterTrimmed = after.trimmed();
        if (!beforeTrimmed.isEmpty() && !afterTrimmed.isEmpty()) {
            const qsizetype kind = opening.indexOf(beforeTrimmed.back());
            if (kind >= 0 && afterTrimmed.front() == closing.at(kind)) {
                before.truncate(before.lastIndexOf(opening.at(kind)));
                after.remove(0, after.indexOf(closing.at(kind)) + 1);
            }
        }
        const qsizetype beforeIndex = isPlainText(pieces, z - 1) ? z - 1 : z;
        const qsizetype afterIndex = isPlainText(pieces, z + 1) ? z + 1 : z;
        const bool atStart = !hasField(pieces, 0, beforeIndex) && before.trimmed().isEmpty();
        const bool atEnd =
            !hasField(pieces, afterIndex + 1, pieces.size()) && isSeparatorOnly(after);
        QString joined;
        if (atEnd) {
            while (!before.isEmpty() && isSeparatorOnly(before.back()))
                before.chop(1);
            joined = before;
        } else if (atStart) {
            while (!after.isEmpty() && isSeparatorOnly(after.front()))
                after.remove(0, 1);
            joined = before + after;
        } else {
            const bool blank = (!before.isEmpty() && before.back().isSpace()) ||
                               (!after.isEmpty() && after.front().isSpace());
            joined = before;
            while (!joined.isEmpty() && joined.back().isSpace())
                joined.chop(1);
            QString rest = after;
            while (!rest.isEmpty() && rest.front().isSpace())
                rest.remove(0, 1);
            joined += (blank ? QStringLiteral(" ") : QString()) + rest;
        }
        Piece text;
        text.text = joined;
        pieces.replace(z, text);
        if (afterIndex != z)
            pieces.removeAt(afterIndex);
        if (beforeIndex != z) {
            pieces.removeAt(beforeIndex);
            --z;
        }
        if (pieces.at(z).text.isEmpty())
            pieces.removeAt(z);
    }
}

// Appends text the clock line must copy as it stands. Letters would read as fields there, so
// they go in quotes; a quote goes inside the other kind of quote; "tt" is never left whole, as
// the caller takes the first "tt" for the designator.
void appendLiteral(QString& out, const QString& text, bool quoteAll)
{
    QChar open;
    auto close = [&] {
        if (!open.isNull())
            out += open;
        open = QChar();
    };
    for (QChar c : text) {
        const QChar lower = c.toLower();
        const bool letter = lower.isLetter() && lower.unicode() < 0x80;
        const bool isQuote = c == QLatin1Char('\'') || c == QLatin1Char('"');
        if (!quoteAll && !letter && !isQuote) {
            close();
            out += c;
            continue;
        }
        const QChar wanted = c == QLatin1Char('\'') ? QLatin1Char('"') : QLatin1Char('\'');
        const bool splitTee =
            lower == QLatin1Char('t') && !out.isEmpty() && out.back().toLower() == QLatin1Char('t');
        if (open != wanted || splitTee) {
            close();
            open = wanted;
            out += open;
        }
        out += c;
    }
    close();
}

void appendField(QString& out, const QString& field)
{
    // A field right after one of the same letter would merge with it ("dddd" then "d" reads
    // as "ddddd"); an empty quote keeps them apart.
    if (!out.isEmpty() && out.back().toLower() == field.front().toLower())
        out += QStringLiteral("''");
    out += field;
}

} // namespace

QString clockPatternFromQtFormat(const QString& qtFormat)
{
    QList<Piece> pieces = parse(qtFormat);
    dropZones(pieces);

    // Qt's h is a 12-hour hour only when the format shows the designator.
    bool hasDesignator = false;
    for (const Piece& piece : pieces) {
        if (piece.kind == Piece::Field && piece.letter.toLower() == QLatin1Char('a'))
            hasDesignator = true;
    }

    QString out;
    bool afterHour = false;
    for (const Piece& piece : pieces) {
        if (piece.kind == Piece::Text) {
            appendLiteral(out, piece.text, piece.quoted);
            continue;
        }
        const qsizetype n = piece.count;
        const bool wasAfterHour = afterHour;
        afterHour = false;
        switch (piece.letter.unicode()) {
        case 'd':
            appendField(out, QString(n, QLatin1Char('d')));
            break;
        case 'M':
            appendField(out, QString(n, QLatin1Char('M')));
            break;
        case 'y':
            appendField(out, QString(n, QLatin1Char('y')));
            break;
        case 'h':
            appendField(out, QString(n, QLatin1Char(hasDesignator ? 'h' : 'H')));
            afterHour = true;
            break;
        case 'H':
            appendField(out, QString(n, QLatin1Char('H')));
            afterHour = true;
            break;
        case 'm':
            // The clock line reads m as minutes only straight after an hour; n always is.
            appendField(out, QString(n, QLatin1Char(wasAfterHour ? 'm' : 'n')));
            break;
        case 's':
            appendField(out, QString(n, QLatin1Char('s')));
            break;
        case 'z':
            appendField(out, QStringLiteral("zzz"));
            break;
        default: // the designator
            appendField(out, QStringLiteral("tt"));
            break;
        }
    }
    return out;
}
