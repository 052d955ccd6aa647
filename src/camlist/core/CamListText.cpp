#include "CamListText.h"

#include <QStringDecoder>
#include <array>

namespace {
bool StartsAsUtf16(const QByteArray& bytes)
{
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}
}  // namespace

QString DecodeCamListText(const QByteArray& bytes)
{
    // Read as Windows-1252, such a file showed a NUL between every two letters, and the first
    // cam added rewrote it so garbled.
    if (StartsAsUtf16(bytes)) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                             QStringConverter::Flag::Stateless);
        // A lone surrogate (a cut pair) as the replacement character that a UTF-8 rewrite keeps,
        // so that a rewrite never changes a name read before it.
        QString text = QString::fromUtf8(QString(utf16.decode(bytes)).toUtf8());
        // Marks repeated by careless conversions go too: written at the start of a UTF-8 rewrite,
        // one would be dropped when read back, and the first name would change.
        while (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        return text;
    }
    // Stateless: a sequence cut off at the end of the file is an error, not a pending character.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return DecodeWindows1252(bytes);
}

bool IsUtf8CamListText(const QByteArray& bytes)
{
    if (StartsAsUtf16(bytes))
        return false;
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    return !utf8.hasError();
}

QString DecodeWindows1252(const QByteArray& bytes)
{
    // 0x80..0x9F differ from Latin-1; the five bytes Windows leaves unassigned (0x81, 0x8D,
    // 0x8F, 0x90, 0x9D) map to the control characters of the same value, as Windows does.
    static constexpr std::array<char16_t, 32> high = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        text += (value >= 0x80 && value <= 0x9F) ? QChar(high[value - 0x80]) : QChar(value);
    }
    return text;
}

QStringList SplitCamListLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < size && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(text.mid(start));
    return lines;
}
