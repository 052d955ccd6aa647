#include "JpegWriter.h"

#include "DIBSection.h"
#include "ProductInfo.h"
#include "ReplaceFile.h"
#include "TolvaneError.h"

#include <QByteArray>
#include <memory>
#include <turbojpeg.h>

namespace {
QString ErrorSource()
{
    return ExecutableName() + QStringLiteral(".JpegWriter");
}

[[noreturn]] void RaiseInitError(int status)
{
    throw TolvaneError(kJpegWriterError, ErrorSource(),
                       QStringLiteral("Failed to initialise the IJL library: ") + QString::number(status));
}

[[noreturn]] void RaiseWriteError(int status, const QString& reason = {})
{
    throw TolvaneError(kJpegWriterError, ErrorSource(),
                       QStringLiteral("Failed to save to JPG ") + QString::number(status), reason);
}

struct CompressorDeleter {
    void operator()(void* handle) const { tjDestroy(handle); }
};
struct JpegBytesDeleter {
    void operator()(unsigned char* bytes) const { tjFree(bytes); }
};

// The writer's status for a failed replace.
int ReplaceStatus(const ReplaceFileResult& result)
{
    switch (result.status) {
    case ReplaceFileStatus::Replaced:
        return 0;
    case ReplaceFileStatus::CannotCreate:
        return kJpegCannotCreate;
    case ReplaceFileStatus::CannotWrite:
        return kJpegCannotWrite;
    case ReplaceFileStatus::CannotReplace:
        return kJpegCannotReplace;
    }
    return kJpegCannotWrite;
}
}  // namespace

namespace {
// The DIB as JPEG bytes, owned by turbojpeg.
std::unique_ptr<unsigned char, JpegBytesDeleter> Encode(const cDIBSection& dib, int quality, unsigned long& size)
{
    const std::unique_ptr<void, CompressorDeleter> compressor(tjInitCompress());
    if (!compressor)
        RaiseInitError(kJpegEncoderRefused);
    if (!dib.DIBSectionBitsPtr() || dib.Width() <= 0 || dib.Height() <= 0)
        RaiseWriteError(kJpegNoPixels);
    // The rows are read where they lie: bottom-up, BytesPerScanLine apart, pad bytes skipped.
    // 4:2:0 chroma is what cameras send and what every viewer expects; the cams' own pictures
    // rarely hold finer colour detail, and it keeps the files small and the encoding quick.
    unsigned char* encoded = nullptr;
    size = 0;
    const int status = tjCompress2(compressor.get(), dib.DIBSectionBitsPtr(), dib.Width(), dib.BytesPerScanLine(),
                                   dib.Height(), TJPF_BGR, &encoded, &size, TJSAMP_420, quality, TJFLAG_BOTTOMUP);
    std::unique_ptr<unsigned char, JpegBytesDeleter> jpeg(encoded);
    if (status != 0)
        RaiseWriteError(kJpegEncoderRefused);
    return jpeg;
}
}  // namespace

QByteArray EncodeDibAsJpeg(const cDIBSection& dib, int quality)
{
    unsigned long size = 0;
    const auto jpeg = Encode(dib, quality, size);
    return QByteArray(reinterpret_cast<const char*>(jpeg.get()), static_cast<qsizetype>(size));
}

bool SaveDibAsJpeg(const cDIBSection& dib, const QString& fileName, int quality)
{
    if (fileName.isEmpty() && dib.DIBSectionBitsPtr() && dib.Width() > 0 && dib.Height() > 0)
        RaiseWriteError(kJpegCannotCreate);
    unsigned long encodedSize = 0;
    const auto jpeg = Encode(dib, quality, encodedSize);
    if (fileName.isEmpty())
        RaiseWriteError(kJpegCannotCreate);
    // A replaced picture keeps its permissions and dates. A new picture is not waited for on its
    // way to the disk: with 24 cams saving, waiting for the disk (far longer on a busy one) would
    // stall the window several times a second, and only a power cut in the moment after a save
    // could cost that one picture. A picture that replaces another still reaches the disk first.
    // A link under the picture's name is followed only to a file beside it: the cam's name and the
    // time make the name foreseeable, and a link planted there must not get a file elsewhere
    // overwritten.
    const auto written =
        ReplaceFileContents(fileName, reinterpret_cast<const char*>(jpeg.get()), static_cast<qsizetype>(encodedSize),
                            true, NewFileDurability::Started, LinkAtName::FollowInFolder);
    if (!written.ok())
        RaiseWriteError(ReplaceStatus(written), written.reason());
    return true;
}
