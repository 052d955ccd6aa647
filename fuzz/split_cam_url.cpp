// Any text a user can type as a cam address: splitting it must never crash, and what it gives
// must be a request that names the same host and path and cannot carry extra header lines.
#include <QStringList>

#include "CamUrl.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString address = QString::fromUtf8(FuzzBytes(data, size));
    const auto parts = SplitCamUrl(address);
    if (!parts)
        return 0;
    // The host is what the socket connects to: never empty, no path in it, lower case.
    FUZZ_CHECK(!parts->host.isEmpty(), address);
    FUZZ_CHECK(!parts->host.contains(QLatin1Char('/')), parts->host);
    FUZZ_CHECK(parts->host == parts->host.toLower(), parts->host);
    FUZZ_CHECK(parts->port != 0, address);
    // The path is the address from the first "/" after the host on, as typed.
    FUZZ_CHECK(parts->path.startsWith(QLatin1Char('/')) && address.endsWith(parts->path), parts->path);
    const quint16 defaultPort = parts->tls ? 443 : 80;
    const QString portSuffix = QLatin1Char(':') + QString::number(parts->port);
    FUZZ_CHECK(parts->hostHeader.endsWith(portSuffix) == (parts->port != defaultPort), parts->hostHeader);
    FUZZ_CHECK(parts->hostHeader.contains(parts->host), parts->hostHeader);

    const QByteArray request = BuildCamRequest(parts->path, parts->hostHeader);
    // Exactly the four lines and the empty line: no CR or LF of the address may start a line of its own.
    const QList<QByteArray> lines = request.split('\n');
    FUZZ_CHECK(lines.size() == 6 && lines.last().isEmpty(), QString::fromUtf8(request));
    for (qsizetype i = 0; i + 1 < lines.size(); ++i)
        FUZZ_CHECK(lines[i].endsWith('\r') && lines[i].count('\r') == 1, QString::fromUtf8(request));
    FUZZ_CHECK(lines[0].startsWith("GET /") && lines[0].endsWith(" HTTP/1.1\r"), QString::fromUtf8(lines[0]));
    // Blanks in the path are sent as %20, so the request line has exactly its two blanks.
    FUZZ_CHECK(lines[0].count(' ') == 2, QString::fromUtf8(lines[0]));
    FUZZ_CHECK(lines[1] == "Host: " + parts->hostHeader.toUtf8() + "\r", QString::fromUtf8(lines[1]));
    FUZZ_CHECK(lines[2] == "Connection: close\r" && lines[3] == "Accept: */*\r" && lines[4] == "\r", QString());
    return 0;
}
