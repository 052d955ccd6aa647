// Block copies into and out of a cDIBSection, and the clipboard.
#include "DIBSection.h"

#include "ProductInfo.h"
#include "Prompt.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMetaObject>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cstring>
#include <vector>

namespace {
// One scanline of `count` pixels, starting at pixel `first`, written out as blue-green-red bytes.
using RowConverter = void (*)(const uchar* line, int first, int count, uchar* bgr);

// Decoded JPEGs arrive in this format, so every save of a picture runs this over every pixel.
// Kept as a plain loop on purpose: the compiler vectorises it, which beats packing four pixels
// into three words by hand. Built also for processors with byte shuffles (SSSE3, AVX2), chosen
// when the program loads, since the shuffles move a row's bytes in far fewer steps
// (bench/README.md has the figures).
// (Sanitizer builds keep the one plain version: a resolver that runs while the program is being
// loaded would run before the sanitizer is ready.)
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer) || __has_feature(thread_sanitizer)
#define TOLVANE_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define TOLVANE_SANITIZED 1
#endif
#if defined(__x86_64__) && defined(__GNUC__) && !defined(TOLVANE_SANITIZED)
__attribute__((target_clones("avx2", "ssse3", "default")))
#endif
void Rgb32ToBgr(const uchar* line, int first, int count, uchar* bgr)
{
    const auto* in = reinterpret_cast<const QRgb*>(line) + first;
    for (int x = 0; x < count; ++x, bgr += 3) {
        const QRgb pixel = in[x];
        bgr[0] = static_cast<uchar>(qBlue(pixel));
        bgr[1] = static_cast<uchar>(qGreen(pixel));
        bgr[2] = static_cast<uchar>(qRed(pixel));
    }
}

void Rgb888ToBgr(const uchar* line, int first, int count, uchar* bgr)
{
    const uchar* in = line + static_cast<qsizetype>(first) * 3;
    for (int x = 0; x < count; ++x, in += 3, bgr += 3) {
        bgr[0] = in[2];
        bgr[1] = in[1];
        bgr[2] = in[0];
    }
}

void Bgr888ToBgr(const uchar* line, int first, int count, uchar* bgr)
{
    std::memcpy(bgr, line + static_cast<qsizetype>(first) * 3, static_cast<std::size_t>(count) * 3);
}

void GreyToBgr(const uchar* line, int first, int count, uchar* bgr)
{
    const uchar* in = line + first;
    for (int x = 0; x < count; ++x, bgr += 3)
        bgr[0] = bgr[1] = bgr[2] = in[x];
}

RowConverter DirectConverter(QImage::Format format)
{
    switch (format) {
    case QImage::Format_RGB32:
        return Rgb32ToBgr;
    case QImage::Format_RGB888:
        return Rgb888ToBgr;
    case QImage::Format_BGR888:
        return Bgr888ToBgr;
    case QImage::Format_Grayscale8:
        return GreyToBgr;
    default:
        return nullptr;
    }
}

// Converts picture rows top .. top + rows - 1, `count` pixels from column `left`, to BGR:
// target(y) says where row y goes, done(y, bytes) runs once it is there.
template <typename Target, typename Done>
void ConvertRows(const QImage& picture, int left, int top, int count, int rows, Target target, Done done)
{
    if (const RowConverter direct = DirectConverter(picture.format())) {
        for (int y = top; y < top + rows; ++y) {
            uchar* out = target(y);
            direct(picture.constScanLine(y), left, count, out);
            done(y, out);
        }
        return;
    }
    // Every other format goes through Qt's own conversion to 32-bit RGB, a strip of rows at a time,
    // so that the picture is never copied whole.
    constexpr int kStripRows = 64;
    const QList<QRgb> colours = picture.colorTable();
    for (int first = top; first < top + rows; first += kStripRows) {
        const int strip = std::min(kStripRows, top + rows - first);
        QImage view(picture.constScanLine(first), picture.width(), strip, picture.bytesPerLine(), picture.format());
        if (!colours.isEmpty())
            view.setColorTable(colours);
        const QImage rgb = view.convertToFormat(QImage::Format_RGB32);
        for (int i = 0; i < strip; ++i) {
            uchar* out = target(first + i);
            Rgb32ToBgr(rgb.constScanLine(i), left, count, out);
            done(first + i, out);
        }
    }
}

// The pattern is a white brush, so a ternary raster code reduces to the upper half of its truth
// table: bit (source << 1 | destination) of the result says the output for that pair of bits.
unsigned RopTable(std::uint32_t rop)
{
    return (rop >> 20) & 0xFu;
}
constexpr unsigned kCopySource = 0xC;
constexpr unsigned kKeepDestination = 0xA;

void CombineBytes(uchar* destination, const uchar* source, std::size_t count, unsigned table)
{
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned s = source[i];
        const unsigned d = destination[i];
        unsigned result = 0;
        if (table & 1u)
            result |= ~s & ~d;
        if (table & 2u)
            result |= ~s & d;
        if (table & 4u)
            result |= s & ~d;
        if (table & 8u)
            result |= s & d;
        destination[i] = static_cast<uchar>(result);
    }
}

QPainter::CompositionMode ModeForTable(unsigned table)
{
    static constexpr QPainter::CompositionMode modes[16] = {
        QPainter::RasterOp_ClearDestination,        QPainter::RasterOp_NotSourceAndNotDestination,
        QPainter::RasterOp_NotSourceAndDestination, QPainter::RasterOp_NotSource,
        QPainter::RasterOp_SourceAndNotDestination, QPainter::RasterOp_NotDestination,
        QPainter::RasterOp_SourceXorDestination,    QPainter::RasterOp_NotSourceOrNotDestination,
        QPainter::RasterOp_SourceAndDestination,    QPainter::RasterOp_NotSourceXorDestination,
        QPainter::CompositionMode_Destination,      QPainter::RasterOp_NotSourceOrDestination,
        QPainter::CompositionMode_Source,           QPainter::RasterOp_SourceOrNotDestination,
        QPainter::RasterOp_SourceOrDestination,     QPainter::RasterOp_SetDestination,
    };
    return modes[table & 0xFu];
}

// The span [first, last) of offsets x (0 <= x < length) for which start + x lies in [0, limit).
struct Span {
    int first = 0;
    int last = 0;
    bool empty() const { return first >= last; }
    int size() const { return last - first; }
};

Span Overlap(qint64 length, qint64 start, qint64 limit, qint64 otherLimit)
{
    const qint64 first = std::max<qint64>(0, -start);
    const qint64 last = std::min({length, limit - start, otherLimit});
    return {static_cast<int>(first), static_cast<int>(std::max(first, last))};
}
}  // namespace

void cDIBSection::LoadPictureBlt(const QImage& lhDC, int lSrcLeft, int lSrcTop, int lSrcWidth, int lSrcHeight,
                                 std::uint32_t eRop)
{
    if (!bits_ || lhDC.isNull())
        return;
    // DIB pixel (x, y) takes picture pixel (lSrcLeft + x, lSrcTop + y); keep the pixels both have.
    const Span columns = Overlap(lSrcWidth < 0 ? Width() : lSrcWidth, lSrcLeft, lhDC.width(), Width());
    const Span rows = Overlap(lSrcHeight < 0 ? Height() : lSrcHeight, lSrcTop, lhDC.height(), Height());
    if (columns.empty() || rows.empty())
        return;
    const int left = lSrcLeft + columns.first;
    const int top = lSrcTop + rows.first;
    const auto destination = [&](int y) { return RowOf(y - lSrcTop) + static_cast<qsizetype>(columns.first) * 3; };
    const unsigned table = RopTable(eRop);
    if (table == kCopySource) {
        ConvertRows(lhDC, left, top, columns.size(), rows.size(), destination, [](int, uchar*) {});
        return;
    }
    std::vector<uchar> converted(static_cast<std::size_t>(columns.size()) * 3);
    ConvertRows(
        lhDC, left, top, columns.size(), rows.size(), [&](int) { return converted.data(); },
        [&](int y, const uchar* bgr) { CombineBytes(destination(y), bgr, converted.size(), table); });
}

void cDIBSection::LoadPictureBlt(const QPaintDevice& lhDC, int lSrcLeft, int lSrcTop, int lSrcWidth, int lSrcHeight,
                                 std::uint32_t eRop)
{
    switch (lhDC.devType()) {
    case QInternal::Image:
        LoadPictureBlt(static_cast<const QImage&>(lhDC), lSrcLeft, lSrcTop, lSrcWidth, lSrcHeight, eRop);
        break;
    case QInternal::Pixmap:
        LoadPictureBlt(static_cast<const QPixmap&>(lhDC).toImage(), lSrcLeft, lSrcTop, lSrcWidth, lSrcHeight, eRop);
        break;
    case QInternal::Widget: {
        // Grabbing renders the widget; it does not change it. QWidget::grab is called through
        // Qt's meta-object system, so that this library needs no widget toolkit: a widget only
        // exists where the program has linked one.
        auto* widget = dynamic_cast<QObject*>(const_cast<QPaintDevice*>(&lhDC));
        QPixmap grabbed;
        if (widget && QMetaObject::invokeMethod(widget, "grab", Qt::DirectConnection, Q_RETURN_ARG(QPixmap, grabbed)))
            LoadPictureBlt(grabbed.toImage(), lSrcLeft, lSrcTop, lSrcWidth, lSrcHeight, eRop);
        break;
    }
    default:
        break;  // printers, recordings and the like cannot be read back
    }
}

void cDIBSection::PaintPicture(QPainter& lhDC, int lDestLeft, int lDestTop, int lDestWidth, int lDestHeight,
                               int lSrcLeft, int lSrcTop, std::uint32_t eRop) const
{
    if (!bits_ || !lhDC.isActive())
        return;
    // Target pixel (lDestLeft + x, lDestTop + y) takes DIB pixel (lSrcLeft + x, lSrcTop + y). Only
    // the DIB bounds x (through the source offset); the target is as wide as it was asked to be,
    // and the painter clips what lies outside its device.
    const int width = lDestWidth < 0 ? Width() : lDestWidth;
    const int height = lDestHeight < 0 ? Height() : lDestHeight;
    const Span columns = Overlap(width, lSrcLeft, Width(), width);
    const Span rows = Overlap(height, lSrcTop, Height(), height);
    if (columns.empty() || rows.empty())
        return;
    const unsigned table = RopTable(eRop);
    if (table == kKeepDestination)
        return;
    const QRect area(lDestLeft + columns.first, lDestTop + rows.first, columns.size(), rows.size());
    lhDC.save();
    if (table == 0x0 || table == 0xF) {
        lhDC.setCompositionMode(QPainter::CompositionMode_Source);
        lhDC.fillRect(area, table == 0x0 ? Qt::black : Qt::white);
    } else {
        lhDC.setCompositionMode(ModeForTable(table));
        lhDC.drawImage(area.topLeft(),
                       RegionImage(lSrcLeft + columns.first, lSrcTop + rows.first, columns.size(), rows.size()));
    }
    lhDC.restore();
}

void cDIBSection::PaintPicture(QPaintDevice& lhDC, int lDestLeft, int lDestTop, int lDestWidth, int lDestHeight,
                               int lSrcLeft, int lSrcTop, std::uint32_t eRop) const
{
    QPainter painter(&lhDC);
    if (painter.isActive())
        PaintPicture(painter, lDestLeft, lDestTop, lDestWidth, lDestHeight, lSrcLeft, lSrcTop, eRop);
}

bool cDIBSection::CopyToClipboard(bool bAsDIB)
{
    if (bAsDIB) {
        CurrentPrompt().ask(ProductName(),
                            QStringLiteral("I don't know how to put a DIB on the clipboard! Copy as bitmap instead!!!"),
                            PromptButtons::Ok);
        return false;
    }
    // The clipboard belongs to a GUI application; without one there is nowhere to put the bitmap.
    QClipboard* clipboard =
        qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
    if (!bits_ || !clipboard)
        return false;
    QImage bitmap(Width(), Height(), QImage::Format_RGB32);
    PaintPicture(bitmap, 0, 0, -1, -1, 0, 0, DibRop::SRCCOPY);
    clipboard->clear();
    clipboard->setImage(bitmap);
    const QMimeData* held = clipboard->mimeData();
    return held && held->hasImage();
}
