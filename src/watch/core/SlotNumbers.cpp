#include "SlotNumbers.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace {

std::optional<double> ReadIn(QLocale locale, const QString& text)
{
    // "1,000" would otherwise read as a thousand in English and as one in German.
    locale.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<double> ReadDecimalNumber(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    if (auto value = ReadIn(QLocale(), trimmed))
        return value;
    return ReadIn(QLocale::c(), trimmed);
}

std::optional<qint32> RefreshSecondsFromText(const QString& text)
{
    const auto value = ReadDecimalNumber(text);
    if (!value)
        return std::nullopt;
    const double rounded = std::nearbyint(*value);  // default rounding: halves to even
    if (rounded < std::numeric_limits<qint32>::min() || rounded > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(rounded);
}

QString ShortestNumberText(double value, int significantDigits)
{
    if (significantDigits > 0)
        value = QString::number(value, 'g', significantDigits).toDouble();
    if (value == 0.0)
        return QStringLiteral("0");  // never "-0"
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}
