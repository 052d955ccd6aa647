#include "DIBSection.h"

#include "ProductInfo.h"
#include "TolvaneError.h"

#include <QTime>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace {
// The run-time error number of an arithmetic overflow.
constexpr std::uint32_t kOverflowError = 6;

[[noreturn]] void RaiseOverflow(const QString& what)
{
    throw TolvaneError(kOverflowError, ExecutableName() + QStringLiteral(".cDIBSection"),
                       QStringLiteral("Overflow: ") + what + QStringLiteral(" does not fit in 32-bit arithmetic"));
}

// Handles only need to be distinct and non-zero while they are held. Atomic, so that a picture
// may also be prepared off the user-interface thread.
std::uint32_t NextHandle()
{
    static std::atomic<std::uint32_t> last{0};
    std::uint32_t handle = 0;
    while (handle == 0)
        handle = ++last;
    return handle;
}
}  // namespace

cDIBSection::~cDIBSection()
{
    ClearUp();
}

int cDIBSection::BytesPerScanLine() const
{
    // 32-bit signed arithmetic as in the header: a width whose row length cannot be counted is an error
    // rather than a short row that the JPEG writer would then read past.
    std::int32_t tripled = 0;
    std::int32_t padded = 0;
    if (__builtin_mul_overflow(header_.biWidth, 3, &tripled) || __builtin_add_overflow(tripled, 3, &padded))
        RaiseOverflow(QStringLiteral("the row length of a picture %1 pixels wide").arg(header_.biWidth));
    return padded & ~3;
}

bool cDIBSection::CreateDIB(std::uint32_t /*lhDC*/, int lWidth, int lHeight, std::uint32_t& hDib)
{
    const bool made = AllocateBits(lWidth, lHeight, true);
    hDib = hDib_;
    return made;
}

bool cDIBSection::AllocateBits(int lWidth, int lHeight, bool zeroFill)
{
    bits_.reset();
    hDib_ = 0;
    // The header is written before the memory is asked for, so a failed creation still reports the
    // requested size.
    header_ = DibInfoHeader{};
    header_.biSize = sizeof(DibInfoHeader);
    header_.biWidth = lWidth;
    header_.biHeight = lHeight;
    header_.biPlanes = 1;
    header_.biBitCount = 24;
    header_.biCompression = 0;
    const int rowBytes = BytesPerScanLine();
    std::int32_t imageBytes = 0;
    if (__builtin_mul_overflow(lHeight, rowBytes, &imageBytes))
        RaiseOverflow(QStringLiteral("the size of a picture of %1 × %2 pixels").arg(lWidth).arg(lHeight));
    // A height of 0 or less would mean no rows or top-down rows; the writer counts on bottom-up ones.
    if (lWidth <= 0 || lHeight <= 0)
        return false;
    header_.biSizeImage = static_cast<std::uint32_t>(imageBytes);
    void* memory = zeroFill ? std::calloc(static_cast<std::size_t>(imageBytes), 1)
                            : std::malloc(static_cast<std::size_t>(imageBytes));
    if (!memory)
        return false;
    bits_.reset(static_cast<uchar*>(memory));
    hDib_ = NextHandle();
    return true;
}

bool cDIBSection::Create(int lWidth, int lHeight)
{
    return CreateSized(lWidth, lHeight, true);
}

bool cDIBSection::CreateSized(int lWidth, int lHeight, bool zeroFill)
{
    ClearUp();
    const std::uint32_t context = NextHandle();  // the memory device context
    if (!AllocateBits(lWidth, lHeight, zeroFill))
        return false;
    hdc_ = context;
    return true;
}

void cDIBSection::CreateFromPicture(const QImage& picThis)
{
    // A null picture has size 0 × 0, which Create refuses: the object stays Empty.
    // The memory is not cleared first: the copy below writes every pixel, and clearing 6 MB for a
    // full-HD picture would cost more than the conversion itself.
    if (!CreateSized(picThis.width(), picThis.height(), false))
        return;
    const int pixelBytes = Width() * 3;
    const int padBytes = BytesPerScanLine() - pixelBytes;
    if (padBytes > 0) {
        for (int y = 0; y < Height(); ++y)
            std::memset(RowOf(y) + pixelBytes, 0, static_cast<std::size_t>(padBytes));
    }
    LoadPictureBlt(picThis, 0, 0, -1, -1, DibRop::SRCCOPY);
}

void cDIBSection::ClearUp()
{
    bits_.reset();
    hDib_ = 0;
    hdc_ = 0;
}

uchar* cDIBSection::RowOf(int pictureRow) const
{
    // Bottom-up: the picture's last row is the first in memory.
    return bits_.get() + static_cast<qsizetype>(Height() - 1 - pictureRow) * BytesPerScanLine();
}

QImage cDIBSection::ToImage() const
{
    if (!bits_)
        return {};
    return RegionImage(0, 0, Width(), Height());
}

QImage cDIBSection::RegionImage(int left, int top, int width, int height) const
{
    QImage region(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const uchar* bgr = RowOf(top + y) + static_cast<qsizetype>(left) * 3;
        auto* out = reinterpret_cast<QRgb*>(region.scanLine(y));
        for (int x = 0; x < width; ++x, bgr += 3)
            out[x] = qRgb(bgr[2], bgr[1], bgr[0]);
    }
    return region;
}

void cDIBSection::RandomiseBits(bool bGray)
{
    if (!bits_)
        return;
    std::mt19937 generator(static_cast<std::mt19937::result_type>(QTime::currentTime().msecsSinceStartOfDay()));
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const auto next = [&] { return static_cast<uchar>(std::lround(unit(generator) * 255.0)); };
    for (int y = 0; y < Height(); ++y) {
        uchar* pixel = RowOf(y);
        for (int x = 0; x < Width(); ++x, pixel += 3) {
            if (bGray) {
                pixel[0] = pixel[1] = pixel[2] = next();
            } else {
                pixel[0] = next();
                pixel[1] = next();
                pixel[2] = next();
            }
        }
    }
}

std::unique_ptr<cDIBSection> cDIBSection::Resample(int lNewHeight, int lNewWidth) const
{
    auto resampled = std::make_unique<cDIBSection>();
    if (!resampled->Create(lNewWidth, lNewHeight))
        return nullptr;
    if (!bits_)
        return resampled;  // nothing to copy: the new picture stays black
    if (lNewWidth == Width() && lNewHeight == Height())
        std::memcpy(resampled->DIBSectionBitsPtr(), bits_.get(), header_.biSizeImage);
    else
        ResampleBilinear(*resampled);
    return resampled;
}

void cDIBSection::ResampleBilinear(cDIBSection& target) const
{
    // Pixel centres are mapped onto pixel centres, so the picture neither shifts nor loses its
    // border half-pixels; positions beyond the outer centres take the border pixel.
    struct Tap {
        int near;
        int far;
        double weight;  // of the far pixel
    };
    const auto taps = [](int from, int to) {
        std::vector<Tap> result(static_cast<std::size_t>(to));
        for (int i = 0; i < to; ++i) {
            const double at = std::clamp((i + 0.5) * from / to - 0.5, 0.0, double(from - 1));
            const int near = static_cast<int>(at);
            result[static_cast<std::size_t>(i)] = {near, std::min(near + 1, from - 1), at - near};
        }
        return result;
    };
    const std::vector<Tap> columns = taps(Width(), target.Width());
    const std::vector<Tap> rows = taps(Height(), target.Height());
    for (int y = 0; y < target.Height(); ++y) {
        const Tap& row = rows[static_cast<std::size_t>(y)];
        const uchar* upper = RowOf(row.near);
        const uchar* lower = RowOf(row.far);
        uchar* out = target.RowOf(y);
        for (const Tap& column : columns) {
            const int a = column.near * 3;
            const int b = column.far * 3;
            for (int channel = 0; channel < 3; ++channel, ++out) {
                const double top = upper[a + channel] + (upper[b + channel] - upper[a + channel]) * column.weight;
                const double bottom = lower[a + channel] + (lower[b + channel] - lower[a + channel]) * column.weight;
                *out = static_cast<uchar>(std::lround(top + (bottom - top) * row.weight));
            }
        }
    }
}
