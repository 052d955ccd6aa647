#include "CamUrl.h"

#include <QByteArray>

namespace {
constexpr quint16 kHttpPort = 80;
constexpr quint16 kHttpsPort = 443;

bool startsWithScheme(const QString& text, QLatin1String scheme)
{
    return text.startsWith(scheme, Qt::CaseInsensitive);
}

// The whole number after the authority's ":"; nothing unless it is 1 to 65535 written in digits only.
std::optional<quint16> readPort(QStringView text)
{
    if (text.isEmpty() || text.size() > 5)
        return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    if (value < 1 || value > 65535)
        return std::nullopt;
    return static_cast<quint16>(value);
}

// A line break or NUL in the address would end the request line early and let the rest of the
// address be read as header lines by the server; such an address is refused whole.
bool hasLineBreakOrNul(const QString& text)
{
    for (const QChar c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0))
            return true;
    }
    return false;
}

// Splits "host", "host:port", "[v6]" or "[v6]:port" into parts; false when the port is bad.
bool splitAuthority(QStringView authority, quint16 defaultPort, CamUrlParts& parts)
{
    QStringView hostText = authority;
    QStringView portText;
    bool hasPort = false;
    if (authority.startsWith(QLatin1Char('['))) {
        const qsizetype close = authority.indexOf(QLatin1Char(']'));
        if (close < 0)
            return false;
        hostText = authority.sliced(1, close - 1);
        const QStringView rest = authority.sliced(close + 1);
        if (!rest.isEmpty()) {
            if (!rest.startsWith(QLatin1Char(':')))
                return false;
            portText = rest.sliced(1);
            hasPort = true;
        }
    } else {
        const qsizetype colon = authority.indexOf(QLatin1Char(':'));
        if (colon >= 0) {
            hostText = authority.first(colon);
            portText = authority.sliced(colon + 1);
            hasPort = true;
        }
    }
    if (hostText.isEmpty())
        return false;
    parts.host = hostText.toString().toLower();
    parts.port = defaultPort;
    if (hasPort) {
        const auto port = readPort(portText);
        if (!port)
            return false;
        parts.port = *port;
    }
    const bool bracketed = authority.startsWith(QLatin1Char('['));
    parts.hostHeader = bracketed ? QLatin1Char('[') + parts.host + QLatin1Char(']') : parts.host;
    if (parts.port != defaultPort)
        parts.hostHeader += QLatin1Char(':') + QString::number(parts.port);
    return true;
}
}  // namespace

std::optional<CamUrlParts> SplitCamUrl(const QString& address)
{
    // Anything this short cannot hold a scheme, a host and a path.
    if (address.size() <= 8 || hasLineBreakOrNul(address))
        return std::nullopt;

    CamUrlParts parts;
    QStringView rest(address);
    quint16 defaultPort = kHttpPort;
    if (startsWithScheme(address, QLatin1String("http://"))) {
        rest = rest.sliced(7);
    } else if (startsWithScheme(address, QLatin1String("https://"))) {
        rest = rest.sliced(8);
        parts.tls = true;
        defaultPort = kHttpsPort;
    }

    const qsizetype slash = rest.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return std::nullopt;
    QStringView authority = rest.first(slash);
    // The user part ends at the last "@" of the authority (a password may hold a plain "@").
    const qsizetype at = authority.lastIndexOf(QLatin1Char('@'));
    if (at >= 0) {
        const QStringView userInfo = authority.first(at);
        const qsizetype colon = userInfo.indexOf(QLatin1Char(':'));
        const auto decode = [](QStringView text) {
            return QString::fromUtf8(QByteArray::fromPercentEncoding(text.toUtf8()));
        };
        parts.user = decode(colon < 0 ? userInfo : userInfo.first(colon));
        parts.password = colon < 0 ? QString() : decode(userInfo.sliced(colon + 1));
        parts.signIn = true;
        // A decoded line break would end the Authorization line early, as in the address itself.
        if (hasLineBreakOrNul(parts.user) || hasLineBreakOrNul(parts.password))
            return std::nullopt;
        authority = authority.sliced(at + 1);
    }
    if (!splitAuthority(authority, defaultPort, parts))
        return std::nullopt;
    // The path is sent as typed: servers on case-sensitive file systems tell /Now.JPG from /now.jpg.
    parts.path = rest.sliced(slash).toString();
    return parts;
}

QByteArray RequestTarget(const QString& path)
{
    QString encodedPath = path;
    encodedPath.replace(QLatin1Char(' '), QLatin1String("%20"));
    return encodedPath.toUtf8();
}

QByteArray BuildCamRequest(const QString& path, const QString& hostHeader, const QByteArray& authorization,
                           const RequestConditions& conditions, const QByteArray& range)
{
    const QByteArray target = RequestTarget(path);
    QByteArray request;
    request.reserve(target.size() + hostHeader.size() + authorization.size() + 96);
    request += "GET ";
    request += target;
    request += " HTTP/1.1\r\nHost: ";
    request += hostHeader.toUtf8();
    request += "\r\nConnection: close\r\nAccept: */*\r\n";
    if (!authorization.isEmpty())
        request += "Authorization: " + authorization + "\r\n";
    if (!conditions.etag.isEmpty())
        request += "If-None-Match: " + conditions.etag + "\r\n";
    if (!conditions.lastModified.isEmpty())
        request += "If-Modified-Since: " + conditions.lastModified + "\r\n";
    if (!range.isEmpty())
        request += "Range: " + range + "\r\n";
    request += "\r\n";
    return request;
}

QByteArray ValidatorValue(QByteArrayView value)
{
    constexpr qsizetype kMaxValidatorBytes = 1024;
    const QByteArrayView trimmed = value.trimmed();
    if (trimmed.size() > kMaxValidatorBytes)
        return {};
    for (const char c : trimmed) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f)
            return {};
    }
    return trimmed.toByteArray();
}

namespace {
// Where the user part "user:password@" of an address lies: from the first character after the
// scheme to the last "@" before the path. Nothing when it has none.
struct UserPart {
    qsizetype start = 0;  // of the authority
    qsizetype at = -1;    // the "@" that ends the user part
};
UserPart FindUserPart(const QString& address)
{
    const qsizetype schemeEnd = address.indexOf(QLatin1String("://"));
    const qsizetype authorityStart = schemeEnd < 0 ? 0 : schemeEnd + 3;
    qsizetype authorityEnd = address.indexOf(QLatin1Char('/'), authorityStart);
    if (authorityEnd < 0)
        authorityEnd = address.size();
    if (authorityEnd == authorityStart)
        return {authorityStart, -1};
    const qsizetype at = address.lastIndexOf(QLatin1Char('@'), authorityEnd - 1);
    return {authorityStart, at < authorityStart ? -1 : at};
}
}  // namespace

QString MaskAddressPassword(const QString& address)
{
    // The password follows the first ":" of the user part.
    const UserPart user = FindUserPart(address);
    if (user.at < 0)
        return address;
    const qsizetype colon = address.indexOf(QLatin1Char(':'), user.start);
    if (colon < 0 || colon > user.at)
        return address;
    return address.first(colon + 1) + QStringLiteral("***") + address.sliced(user.at);
}

QString AddressWithoutUserPart(const QString& address)
{
    const UserPart user = FindUserPart(address);
    return user.at < 0 ? address : address.first(user.start) + address.sliced(user.at + 1);
}
