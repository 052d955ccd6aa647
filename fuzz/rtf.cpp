// Reads any bytes as a help file: the reader must end, keep its caps and give valid text
// whatever the input is.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "RtfReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const RtfReadResult result = ReadRtf(bytes);
    const QString text = result.plainText();
    // Lone UTF-16 halves would reach the text view as broken characters.
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (text.at(i).isSurrogate())
            std::abort();
    }
    return 0;
}
