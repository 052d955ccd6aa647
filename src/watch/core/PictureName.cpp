#include "PictureName.h"

#include <QStringList>
#include <functional>
#include <optional>

#include "DateTimeText.h"

namespace {
// Removes the first `times` occurrences of c from text (fewer when there are fewer).
void RemoveFirst(QString& text, QChar c, int times)
{
    for (int k = 0; k < times; ++k) {
        const qsizetype at = text.indexOf(c);
        if (at < 0)
            return;
        text.remove(at, 1);
    }
}

// One piece of a date or time format: a field ("d", "MM", "yyyy", "AP", ...) or literal text.
struct FormatPiece {
    QString field;    // the field's letters; empty for a literal
    QString literal;  // the text, quotes resolved
};

bool IsFieldLetter(QChar c)
{
    return QStringLiteral("dMyhHmszaApPt").contains(c);
}

// Splits a format as QLocale::toString reads it: runs of one field letter, "AP"/"ap" as one
// field, text in single quotes ('' is a quote) and every other character as literal text.
QList<FormatPiece> SplitFormat(const QString& format)
{
    QList<FormatPiece> pieces;
    const auto addLiteral = [&](const QString& text) {
        if (!pieces.isEmpty() && pieces.back().field.isEmpty())
            pieces.back().literal += text;
        else
            pieces.append({QString(), text});
    };
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            const qsizetype close = format.indexOf(QLatin1Char('\''), i + 1);
            if (close == i + 1) {
                addLiteral(QStringLiteral("'"));
                i += 2;
                continue;
            }
            const qsizetype end = close < 0 ? format.size() : close;
            addLiteral(format.mid(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        if (!IsFieldLetter(c)) {
            addLiteral(c);
            ++i;
            continue;
        }
        const QChar lower = c.toLower();
        if ((lower == QLatin1Char('a')) && i + 1 < format.size() && format.at(i + 1).toLower() == QLatin1Char('p')) {
            pieces.append({format.mid(i, 2), QString()});
            i += 2;
            continue;
        }
        qsizetype end = i;
        while (end < format.size() && format.at(end) == c)
            ++end;
        pieces.append({format.mid(i, end - i), QString()});
        i = end;
    }
    return pieces;
}

// What a field may read as: its texts, or numbers of the given digit counts. Field values are
// compared without blanks, as the name holds them.
struct FieldReading {
    QStringList texts;
    int minDigits = 0;
    int maxDigits = 0;
};

QString WithoutBlanks(QString text)
{
    return text.removeIf([](QChar c) { return c.isSpace(); });
}

FieldReading ReadingOf(const QString& field, const QLocale& locale)
{
    FieldReading reading;
    const QChar letter = field.at(0);
    const qsizetype width = field.size();
    if (letter.toLower() == QLatin1Char('a')) {
        const bool upper = field.at(0).isUpper();
        for (const QString& text : {locale.amText(), locale.pmText()})
            reading.texts << WithoutBlanks(upper ? text.toUpper() : text.toLower());
        return reading;
    }
    if ((letter == QLatin1Char('M') || letter == QLatin1Char('d')) && width >= 3) {
        const QLocale::FormatType type = width == 3 ? QLocale::ShortFormat : QLocale::LongFormat;
        for (int k = 1; k <= 12 && letter == QLatin1Char('M'); ++k)
            reading.texts << WithoutBlanks(locale.monthName(k, type));
        for (int k = 1; k <= 7 && letter == QLatin1Char('d'); ++k)
            reading.texts << WithoutBlanks(locale.dayName(k, type));
        return reading;
    }
    if (letter == QLatin1Char('y')) {
        reading.minDigits = reading.maxDigits = width >= 4 ? 4 : 2;
        return reading;
    }
    if (letter == QLatin1Char('z')) {
        reading.minDigits = 1;
        reading.maxDigits = 3;
        return reading;
    }
    reading.minDigits = width >= 2 ? 2 : 1;
    reading.maxDigits = 2;
    return reading;
}

// The values read so far, by field letter ("M" for a month name too, "a" for AM/PM).
struct Reading {
    int year = -1, month = -1, day = -1, hour = -1, minute = 0, second = 0, millisecond = 0;
    std::optional<bool> pm;
};

void Assign(Reading& r, const QString& field, int value)
{
    switch (field.at(0).unicode()) {
    case 'y':
        r.year = field.size() >= 4 ? value : 2000 + value;
        break;
    case 'M':
        r.month = value;
        break;
    case 'd':
        r.day = value;
        break;
    case 'h':
    case 'H':
        r.hour = value;
        break;
    case 'm':
        r.minute = value;
        break;
    case 's':
        r.second = value;
        break;
    case 'z':
        r.millisecond = value;
        break;
    default:
        break;
    }
}

// Reads `text` from `at` against the pieces from `piece` on, calling found for every complete
// reading. The literal "/" and ":" of the formats may be gone (or a "/" be "_"), and blanks
// always are: which of them the name kept is settled by building the name again.
void Match(const QString& text, qsizetype at, const QList<FormatPiece>& pieces, qsizetype piece, const QLocale& locale,
           Reading reading, const std::function<void(const Reading&)>& found)
{
    if (piece == pieces.size()) {
        if (at == text.size())
            found(reading);
        return;
    }
    const FormatPiece& p = pieces.at(piece);
    if (p.field.isEmpty()) {
        // Every way the literal may stand in the name, character by character.
        std::function<void(qsizetype, qsizetype)> literal = [&](qsizetype k, qsizetype pos) {
            if (k == p.literal.size()) {
                Match(text, pos, pieces, piece + 1, locale, reading, found);
                return;
            }
            const QChar c = p.literal.at(k);
            if (c.isSpace() || c == QLatin1Char('/') || c == QLatin1Char(':'))
                literal(k + 1, pos);
            if (c.isSpace())
                return;
            if (pos < text.size() && (text.at(pos) == c || (c == QLatin1Char('/') && text.at(pos) == QLatin1Char('_'))))
                literal(k + 1, pos + 1);
        };
        literal(0, at);
        return;
    }
    const FieldReading field = ReadingOf(p.field, locale);
    if (!field.texts.isEmpty()) {
        for (qsizetype k = 0; k < field.texts.size(); ++k) {
            const QString& candidate = field.texts.at(k);
            if (candidate.isEmpty() || !QStringView(text).sliced(at).startsWith(candidate))
                continue;
            Reading next = reading;
            if (p.field.at(0).toLower() == QLatin1Char('a'))
                next.pm = k == 1;
            else if (p.field.at(0) == QLatin1Char('M'))
                next.month = static_cast<int>(k) + 1;
            Match(text, at + candidate.size(), pieces, piece + 1, locale, next, found);
        }
        return;
    }
    // Digits of any script: a locale may write its own (Arabic-Indic, for one).
    int value = 0;
    for (int digits = 1; digits <= field.maxDigits && at + digits <= text.size(); ++digits) {
        const QChar c = text.at(at + digits - 1);
        if (!c.isDigit())
            break;
        value = value * 10 + c.digitValue();
        if (digits < field.minDigits)
            continue;
        Reading next = reading;
        Assign(next, p.field, value);
        Match(text, at + digits, pieces, piece + 1, locale, next, found);
    }
}
}  // namespace

QString CleanPictureName(const QString& text)
{
    QString name = text;
    name.remove(QLatin1Char(' '));
    // These removals count from the start of the whole name, so "/" or ":" in the cam's name use
    // some of them up; the saved files of years of watching carry names made this way.
    RemoveFirst(name, QLatin1Char('/'), 2);
    RemoveFirst(name, QLatin1Char(':'), 3);
    // Whatever "/" is left (a cam named "../x", a date format with slashes) would make the name a
    // path out of the cam folder, and a NUL would cut it short.
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.replace(QChar(0), QLatin1Char('_'));
    return name;
}

QString BuildPictureFileName(const QString& camName, const QDateTime& now, const QLocale& locale)
{
    QString name =
        CleanPictureName(camName + DateText(now.date(), locale) + TimeText(now.time(), locale) + QLatin1String(".jpg"));
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        name.prepend(QLatin1Char('_'));
    return name;
}

QString PictureNamePrefix(const QString& camName)
{
    return CleanPictureName(camName);
}

QList<QDateTime> PictureNameTimes(const QString& fileName, const QString& camName, const QLocale& locale)
{
    QList<QDateTime> times;
    const QString prefix = PictureNamePrefix(camName);
    const QLatin1String extension(".jpg");
    if (!fileName.startsWith(prefix) || !fileName.endsWith(extension))
        return times;
    const QString rest = fileName.sliced(prefix.size(), fileName.size() - prefix.size() - extension.size());
    const QList<FormatPiece> pieces = SplitFormat(DateFormat(locale) + QLatin1Char(' ') + TimeFormat(locale));
    Match(rest, 0, pieces, 0, locale, Reading(), [&](const Reading& r) {
        int hour = r.hour;
        if (r.pm.has_value()) {
            if (hour < 1 || hour > 12)
                return;
            hour = hour % 12 + (*r.pm ? 12 : 0);
        }
        const QDate date(r.year, r.month, r.day);
        const QTime time(hour, r.minute, r.second, r.millisecond);
        if (!date.isValid() || !time.isValid())
            return;
        const QDateTime candidate(date, time);
        // Read back only what the saver would have written: the one rule decides.
        if (!times.contains(candidate) && BuildPictureFileName(camName, candidate, locale) == fileName)
            times.append(candidate);
    });
    return times;
}

namespace {
const QString kSortableDate = QStringLiteral("yyyy-MM-dd");
const QString kSortableTime = QStringLiteral("HH.mm.ss");
constexpr qsizetype kCamFolderBytes = 150;  // leaves room for the date, time, " (n)" in 255 bytes

bool RefusedInName(QChar c)
{
    // What one file system or another refuses, or reads as a path: the same cam list may be
    // used with a folder on a shared disk.
    return c.unicode() < 0x20 || c.unicode() == 0x7f || QStringLiteral("/\\:*?\"<>|").contains(c);
}

bool IsDeviceName(const QString& name)
{
    const QString stem = name.section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    static const QStringList devices = {
        QStringLiteral("CON"),  QStringLiteral("PRN"),  QStringLiteral("AUX"),  QStringLiteral("NUL"),
        QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3"), QStringLiteral("COM4"),
        QStringLiteral("COM5"), QStringLiteral("COM6"), QStringLiteral("COM7"), QStringLiteral("COM8"),
        QStringLiteral("COM9"), QStringLiteral("LPT1"), QStringLiteral("LPT2"), QStringLiteral("LPT3"),
        QStringLiteral("LPT4"), QStringLiteral("LPT5"), QStringLiteral("LPT6"), QStringLiteral("LPT7"),
        QStringLiteral("LPT8"), QStringLiteral("LPT9")};
    return devices.contains(stem);
}

QString TrimmedEnds(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).isSpace())
        ++begin;
    while (end > begin && (text.at(end - 1).isSpace() || text.at(end - 1) == QLatin1Char('.')))
        --end;
    return text.sliced(begin, end - begin);
}
}  // namespace

QString CamFolderName(const QString& camName)
{
    QString name = camName;
    for (QChar& c : name)
        if (RefusedInName(c))
            c = QLatin1Char('_');
    name = TrimmedEnds(name);
    // A long name is cut where a whole character (a surrogate pair is one) still fits.
    if (name.toUtf8().size() > kCamFolderBytes) {
        qsizetype end = name.size();
        while (end > 0 && name.first(end).toUtf8().size() > kCamFolderBytes)
            --end;
        if (end > 0 && name.at(end - 1).isHighSurrogate())
            --end;
        name = TrimmedEnds(name.first(end));
    }
    // A hidden name, "." or "..": none of them a cam's folder of its own.
    if (name.startsWith(QLatin1Char('.')))
        name[0] = QLatin1Char('_');
    if (name.isEmpty() || IsDeviceName(name))
        name.prepend(QLatin1Char('_'));
    return name;
}

QString BuildSortablePicturePath(const QString& camName, const QDateTime& now)
{
    const QString cam = CamFolderName(camName);
    const QString date = now.date().toString(kSortableDate);
    return QStringLiteral("%1/%2/%1 %2 %3.jpg").arg(cam, date, now.time().toString(kSortableTime));
}

QString KeptApartName(const QString& path, int n)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype at = dot > slash ? dot : path.size();
    return path.first(at) + QStringLiteral(" (%1)").arg(n) + path.sliced(at);
}

std::optional<SortablePicture> ReadSortablePicturePath(const QString& relativePath)
{
    const QStringList parts = relativePath.split(QLatin1Char('/'));
    if (parts.size() != 3)
        return std::nullopt;
    const QString& cam = parts.at(0);
    const QString& day = parts.at(1);
    const QDate date = QDate::fromString(day, kSortableDate);
    const QString start = QStringLiteral("%1 %2 ").arg(cam, day);
    const QString& file = parts.at(2);
    const QLatin1String extension(".jpg");
    if (cam.isEmpty() || !date.isValid() || !file.startsWith(start) || !file.endsWith(extension))
        return std::nullopt;
    // "HH.mm.ss", then nothing or " (n)" with n from 2.
    const QString rest = file.sliced(start.size(), file.size() - start.size() - extension.size());
    const QTime time = QTime::fromString(rest.left(8), kSortableTime);
    if (!time.isValid())
        return std::nullopt;
    const QString suffix = rest.sliced(qMin<qsizetype>(8, rest.size()));
    int n = 1;
    if (!suffix.isEmpty()) {
        bool ok = false;
        n = suffix.startsWith(QLatin1String(" (")) && suffix.endsWith(QLatin1Char(')'))
            ? suffix.sliced(2, suffix.size() - 3).toInt(&ok)
            : 0;
        if (!ok || n < 2 || suffix != QStringLiteral(" (%1)").arg(n))
            return std::nullopt;
    }
    return SortablePicture{cam, QDateTime(date, time), n};
}
