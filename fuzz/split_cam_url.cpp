// Any text a user can type as a cam address: splitting it must never crash, and what it gives
// must be a request that names the same host and path.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "CamUrl.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString address = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto parts = SplitCamUrl(address);
    if (!parts)
        return 0;
    if (!parts->path.startsWith(QLatin1Char('/')) || parts->port == 0)
        std::abort();
    const QByteArray request = BuildCamRequest(parts->path, parts->hostHeader);
    if (!request.startsWith("GET /") || !request.endsWith("\r\n\r\n"))
        std::abort();
    return 0;
}
