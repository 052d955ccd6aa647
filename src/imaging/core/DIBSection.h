#pragma once
// One picture as a 24-bit device-independent bitmap (DIB) in plain memory: pixels in the order
// blue, green, red; rows bottom-up (the first row in memory is the picture's bottom row); each
// row padded to BytesPerScanLine, a multiple of 4 bytes. The JPEG writer reads these rows in
// place, so this layout is a contract, not a detail.
//
// Handles: a classic DIB section is a GDI bitmap selected into a memory device context. Here
// the pixel memory is the bitmap and there is no device context, so hdc() and hDib() are
// plain non-zero numbers, fresh for every successful Create, that say "this object holds a
// picture"; both are 0 when the object is Empty. They address nothing and nobody frees them.
#include <QImage>
#include <QtGlobal>
#include <cstdint>
#include <cstdlib>
#include <memory>

class QPainter;
class QPaintDevice;

// Raster operations of the block copies, with the classic GDI codes. Any ternary code is
// accepted. There is no brush to choose here, so the pattern is always white (the default
// brush of a memory device context) and every code comes down to a function of source and
// destination.
namespace DibRop {
constexpr std::uint32_t SRCCOPY = 0x00CC0020;      // source
constexpr std::uint32_t SRCPAINT = 0x00EE0086;     // source OR destination
constexpr std::uint32_t SRCAND = 0x008800C6;       // source AND destination
constexpr std::uint32_t SRCINVERT = 0x00660046;    // source XOR destination
constexpr std::uint32_t SRCERASE = 0x00440328;     // source AND NOT destination
constexpr std::uint32_t NOTSRCCOPY = 0x00330008;   // NOT source
constexpr std::uint32_t NOTSRCERASE = 0x001100A6;  // NOT (source OR destination)
constexpr std::uint32_t MERGEPAINT = 0x00BB0226;   // NOT source OR destination
constexpr std::uint32_t DSTINVERT = 0x00550009;    // NOT destination
constexpr std::uint32_t PATCOPY = 0x00F00021;      // the (white) pattern
constexpr std::uint32_t BLACKNESS = 0x00000042;
constexpr std::uint32_t WHITENESS = 0x00FF0062;
}  // namespace DibRop

// The 40-byte bitmap-information header (the platform's BITMAPINFOHEADER, little-endian).
struct DibInfoHeader {
    std::uint32_t biSize = 0;
    std::int32_t biWidth = 0;   // pixels
    std::int32_t biHeight = 0;  // pixels; positive: rows lie bottom-up
    std::uint16_t biPlanes = 0;
    std::uint16_t biBitCount = 0;
    std::uint32_t biCompression = 0;  // 0: uncompressed RGB
    std::uint32_t biSizeImage = 0;    // bytes: height × BytesPerScanLine
    std::int32_t biXPelsPerMeter = 0;
    std::int32_t biYPelsPerMeter = 0;
    std::uint32_t biClrUsed = 0;
    std::uint32_t biClrImportant = 0;
};
static_assert(sizeof(DibInfoHeader) == 40, "the header is the platform's 40-byte record");

// Holds one picture as a 24-bit bottom-up BGR bitmap; made fresh for every save.
class cDIBSection {
public:
    cDIBSection() = default;
    ~cDIBSection();
    cDIBSection(const cDIBSection&) = delete;
    cDIBSection& operator=(const cDIBSection&) = delete;

    // Puts the picture on the clipboard as a plain bitmap; true only when the clipboard took it.
    // With bAsDIB true it explains that it cannot, and returns false.
    bool CopyToClipboard(bool bAsDIB = false);
    // Writes the header for lWidth × lHeight, then makes the pixel memory; the new handle (0 on
    // failure) goes to hDib and to the object. lhDC is the context the DIB should suit; pixel
    // memory suits every target, so it is not consulted. Raises the overflow error (number 6)
    // when the row length or the image size does not fit in 32 bits.
    bool CreateDIB(std::uint32_t lhDC, int lWidth, int lHeight, std::uint32_t& hDib);
    // Makes the object a copy of the decoded picture, in any QImage format; a null picture
    // leaves it Empty with Width and Height 0.
    void CreateFromPicture(const QImage& picThis);
    // Releases what the object holds, then makes a black picture of lWidth × lHeight pixels.
    // Sizes of 0 or less are refused (false, Empty), so the rows always lie bottom-up.
    bool Create(int lWidth, int lHeight);

    int BytesPerScanLine() const;                    // bytes per row, width × 3 rounded up to a multiple of 4
    int Width() const { return header_.biWidth; }    // pixels, as in the header
    int Height() const { return header_.biHeight; }  // pixels, as in the header

    // Copies from the picture lhDC, starting at (lSrcLeft, lSrcTop) there (pixels, top-down),
    // into the DIB at (0, 0), combining by eRop. A negative width or height means the DIB's.
    // The copied area is clipped to both pictures; what lies outside is left as it was.
    void LoadPictureBlt(const QImage& lhDC, int lSrcLeft = 0, int lSrcTop = 0, int lSrcWidth = -1, int lSrcHeight = -1,
                        std::uint32_t eRop = DibRop::SRCCOPY);
    // The same from a pixmap or a widget; other devices cannot be read and copy nothing.
    void LoadPictureBlt(const QPaintDevice& lhDC, int lSrcLeft = 0, int lSrcTop = 0, int lSrcWidth = -1,
                        int lSrcHeight = -1, std::uint32_t eRop = DibRop::SRCCOPY);
    // Copies from the DIB, starting at (lSrcLeft, lSrcTop) (pixels, top-down), onto lhDC at
    // (lDestLeft, lDestTop), lDestWidth × lDestHeight pixels, no stretching, combining by eRop.
    // A negative width or height means the DIB's.
    void PaintPicture(QPainter& lhDC, int lDestLeft = 0, int lDestTop = 0, int lDestWidth = -1, int lDestHeight = -1,
                      int lSrcLeft = 0, int lSrcTop = 0, std::uint32_t eRop = DibRop::SRCCOPY) const;
    void PaintPicture(QPaintDevice& lhDC, int lDestLeft = 0, int lDestTop = 0, int lDestWidth = -1,
                      int lDestHeight = -1, int lSrcLeft = 0, int lSrcTop = 0,
                      std::uint32_t eRop = DibRop::SRCCOPY) const;

    std::uint32_t hdc() const { return hdc_; }    // 0 when Empty; see the top of this file
    std::uint32_t hDib() const { return hDib_; }  // 0 when Empty
    // First byte of the pixel memory (the bottom row); null when Empty. Borrowed, never freed.
    uchar* DIBSectionBitsPtr() const { return bits_.get(); }

    // Fills every pixel with noise (grey with bGray), seeded from the time of day; pad bytes
    // are left alone.
    void RandomiseBits(bool bGray = false);
    // Releases the pixel memory and zeroes the handles; the header keeps the last size.
    void ClearUp();
    // A new picture of lNewWidth × lNewHeight (note the order: height first), interpolated
    // bilinearly; a plain copy at the same size. Null when the new one cannot be created.
    std::unique_ptr<cDIBSection> Resample(int lNewHeight, int lNewWidth) const;

    const DibInfoHeader& InfoHeader() const { return header_; }
    // The picture as a top-down QImage (Format_RGB32) copy; null when Empty.
    QImage ToImage() const;

private:
    struct FreeBits {
        void operator()(uchar* bits) const { std::free(bits); }
    };
    bool CreateSized(int lWidth, int lHeight, bool zeroFill);
    bool AllocateBits(int lWidth, int lHeight, bool zeroFill);
    uchar* RowOf(int pictureRow) const;  // memory of picture row y (0 = top)
    QImage RegionImage(int left, int top, int width, int height) const;
    void ResampleBilinear(cDIBSection& target) const;

    std::uint32_t hDib_ = 0;
    std::uint32_t hdc_ = 0;
    std::unique_ptr<uchar, FreeBits> bits_;
    DibInfoHeader header_;
};
