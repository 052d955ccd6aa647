#include "DecimalNumbers.h"

#include <QLocale>
#include <cmath>

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

QString ShortestNumberText(double value, int significantDigits)
{
    if (significantDigits > 0)
        value = QString::number(value, 'g', significantDigits).toDouble();
    if (value == 0.0)
        return QStringLiteral("0");  // never "-0"
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}
