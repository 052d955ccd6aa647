#include "SlotNumbers.h"

#include <cmath>
#include <limits>

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
