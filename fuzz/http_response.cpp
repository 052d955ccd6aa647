// Feeds a response to the assembler in pieces whose sizes come from the input itself, then
// finishes it; the caps and the chunked decoder must hold whatever the bytes are.
#include <cstddef>
#include <cstdint>

#include "HttpResponse.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    // The first byte picks the piece size, so one corpus entry explores many split patterns.
    const size_t piece = 1 + data[0] % 64;
    HttpResponseAssembler assembler;
    size_t at = 1;
    while (at < size) {
        const size_t n = (size - at < piece) ? size - at : piece;
        const QByteArray bytes(reinterpret_cast<const char*>(data + at), static_cast<qsizetype>(n));
        if (assembler.append(bytes, static_cast<qint64>(n)).tooLarge)
            return 0;
        at += n;
    }
    const auto finished = assembler.finish();
    (void)finished;
    (void)DecodeChunkedBody(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    return 0;
}
