#include "SettingRules.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace {
// A host name (letters of any script, digits, "-", "_", ".") or an IPv4 address.
bool IsHostName(QStringView host)
{
    if (host.isEmpty() || host.startsWith(QLatin1Char('.')) || host.startsWith(QLatin1Char('-')))
        return false;
    return std::all_of(host.begin(), host.end(), [](QChar c) {
        return c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_') || c == QLatin1Char('.');
    });
}

bool IsIpv6Text(QStringView address)
{
    if (address.count(QLatin1Char(':')) < 2)
        return false;
    return std::all_of(address.begin(), address.end(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
            (c >= QLatin1Char('A') && c <= QLatin1Char('F')) || c == QLatin1Char(':') || c == QLatin1Char('.');
    });
}

bool IsPortText(QStringView text)
{
    bool ok = false;
    const uint port = text.toUInt(&ok);
    return ok && port >= 1 && port <= 65535 &&
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}
}  // namespace

std::optional<bool> FlagFromText(const QString& text)
{
    bool ok = false;
    const double number = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    const double whole = std::nearbyint(number);  // the default rounding mode: halves to even
    if (whole == 0)
        return false;
    if (whole == 1)
        return true;
    return std::nullopt;
}

bool FlagTextIsExactlyOn(const QString& text)
{
    return text == QLatin1String("1");
}

bool IsTimeServerText(const QString& text)
{
    const QString server = text.trimmed();
    if (server.isEmpty())
        return true;
    if (server.startsWith(QLatin1Char('['))) {
        const qsizetype close = server.indexOf(QLatin1Char(']'));
        if (close < 0 || !IsIpv6Text(QStringView(server).sliced(1, close - 1)))
            return false;
        const QStringView rest = QStringView(server).sliced(close + 1);
        return rest.isEmpty() || (rest.startsWith(QLatin1Char(':')) && IsPortText(rest.sliced(1)));
    }
    const qsizetype colons = server.count(QLatin1Char(':'));
    if (colons > 1)
        return IsIpv6Text(server);
    if (colons == 0)
        return IsHostName(server);
    const qsizetype colon = server.indexOf(QLatin1Char(':'));
    return IsHostName(QStringView(server).first(colon)) && IsPortText(QStringView(server).sliced(colon + 1));
}

bool IsSessionZoomText(const QString& text)
{
    const QString zoom = text.trimmed();
    if (zoom.compare(QLatin1String("fit"), Qt::CaseInsensitive) == 0)
        return true;
    bool number = false;
    const int step = zoom.toInt(&number);
    return number && step >= 1 && step <= 5;
}
