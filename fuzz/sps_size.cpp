// Stream cams send their H.264 and HEVC parameter sets as they like: reading the declared
// picture size must never read past them, and a size it gives must be one the fields can say.
// Neither the units before the parameter set nor the form it comes in (start codes or an
// avcC/hvcC record) may change the size read.
#include <optional>

#include "FuzzSupport.h"
#include "H264Size.h"

namespace {
QString Describe(const std::optional<QSize>& size)
{
    return size ? QStringLiteral("%1x%2").arg(size->width()).arg(size->height()) : QStringLiteral("none");
}

// Widths and heights the readers' own bounds allow: 65536 macroblocks across and down (twice
// that in lines for fields) for H.264, 2^20 samples for HEVC.
void CheckBounds(const std::optional<QSize>& size, int widthCap, int heightCap)
{
    if (!size)
        return;
    FUZZ_CHECK(size->width() > 0 && size->height() > 0, Describe(size));
    FUZZ_CHECK(size->width() <= widthCap && size->height() <= heightCap, Describe(size));
}

// An access unit delimiter (H.264 type 9, HEVC type 35) ahead of the data: its payload ends
// in a byte that is not zero, so no start code of the data is made or lost, and a delimiter
// is no parameter set.
const QByteArray kH264Delimiter("\0\0\1\x09\xf0", 5);
const QByteArray kHevcDelimiter("\0\0\1\x46\x01\x50", 6);

QByteArray BigEndian16(qsizetype value)
{
    return QByteArray(1, static_cast<char>(value >> 8)) + static_cast<char>(value);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = FuzzBytes(data, size);
    const std::optional<QSize> h264 = H264DeclaredSize(bytes);
    const std::optional<QSize> hevc = HevcDeclaredSize(bytes);
    CheckBounds(h264, 65536 * 16, 65536 * 32);
    CheckBounds(hevc, 1 << 20, 1 << 20);
    const bool continues = H264ContinuesPicture(bytes);

    // A leading 1 makes the data a record rather than Annex B; the delimiter would undo that.
    if (bytes.isEmpty() || bytes[0] != 1) {
        FUZZ_CHECK(H264DeclaredSize(kH264Delimiter + bytes) == h264, Describe(h264));
        FUZZ_CHECK(HevcDeclaredSize(kHevcDelimiter + bytes) == hevc, Describe(hevc));
    }
    FUZZ_CHECK(H264ContinuesPicture(kH264Delimiter + bytes) == continues, QString());

    // The input taken as one whole NAL unit: behind a start code and in a record it is the same
    // parameter set, as long as no start code inside it cuts it short in Annex B.
    if (bytes.size() > 65535 || bytes.contains(QByteArrayView("\0\0\1", 3)))
        return 0;
    const auto header = [&bytes](qsizetype at) { return at < bytes.size() ? static_cast<std::uint8_t>(bytes[at]) : 0; };
    if ((header(0) & 0x1f) == 7) {
        const QByteArray avcc = QByteArray("\x01\x64\x00\x28\xff\xe1", 6) + BigEndian16(bytes.size()) + bytes;
        const auto annexB = H264DeclaredSize(QByteArray("\0\0\0\1", 4) + bytes);
        FUZZ_CHECK(H264DeclaredSize(avcc) == annexB, Describe(annexB));
    }
    if (((header(0) >> 1) & 0x3f) == 33) {
        QByteArray hvcc(22, '\0');
        hvcc[0] = 1;                                // version
        hvcc += QByteArray("\x01\xa1\x00\x01", 4);  // one array: SPS (completeness bit set), one unit
        hvcc += BigEndian16(bytes.size()) + bytes;
        const auto annexB = HevcDeclaredSize(QByteArray("\0\0\0\1", 4) + bytes);
        FUZZ_CHECK(HevcDeclaredSize(hvcc) == annexB, Describe(annexB));
    }
    return 0;
}
