#include "PictureMemory.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <iterator>
#include <limits>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <mutex>
#include <new>
#include <sys/mman.h>
#include <unistd.h>

#include "Files.h"
#include "JpegReader.h"

namespace {

struct Block {
    std::size_t bytes;
    uchar* data;
    std::size_t mappedBytes = 0;  // a mapping of its own (0: from the C library's heap)
};

// Pictures of this size and more (a full-HD picture, not a thumbnail) get memory mapped for them
// alone, in huge pages where the system gives them: fresh memory costs a page fault per page,
// and a 2 MiB page costs about a quarter of what 512 small ones do (a 4K picture: 7 instead of
// 27 ms here). Let go, such memory goes straight back to the system; from the heap it stayed
// there as free memory the process still holds.
constexpr std::size_t kOwnMappingBytes = std::size_t(2) << 20;
constexpr std::size_t kHugePageBytes = std::size_t(2) << 20;

// `bytes` of memory mapped for one picture, starting on a huge-page boundary; null when the
// system gives none. `mappedBytes` receives the length to unmap.
uchar* MapPictureMemory(std::size_t bytes, std::size_t& mappedBytes)
{
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t length = (bytes + page - 1) / page * page;
    // Mapped a huge page longer, then cut to start on a boundary (the cut-off parts go back).
    void* mapped = mmap(nullptr, length + kHugePageBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return nullptr;
    auto* start = static_cast<uchar*>(mapped);
    const auto address = reinterpret_cast<std::uintptr_t>(start);
    auto* aligned = start + (kHugePageBytes - address % kHugePageBytes) % kHugePageBytes;
    if (aligned > start)
        munmap(start, std::size_t(aligned - start));
    if (const std::size_t tail = std::size_t(start + length + kHugePageBytes - (aligned + length)); tail > 0)
        munmap(aligned + length, tail);
#ifdef MADV_HUGEPAGE
    madvise(aligned, length, MADV_HUGEPAGE);  // advice only: without it, small pages
#endif
    mappedBytes = length;
    return aligned;
}

void Release(Block* block)
{
    if (block->mappedBytes)
        munmap(block->data, block->mappedBytes);
    else
        std::free(block->data);
    delete block;
}

// Spare blocks, most recently let go last. A slot needs one spare at a time (its next picture is
// decoded while the last one is still shown), an automatic save one more, and the Viewer may
// hold the last picture of its slot a little longer; a few spares cover that with room for cams
// of different sizes. Beyond these limits a spare goes back to the system (OneToLetGo).
class PicturePool {
public:
    static constexpr std::size_t kMaxSpareBlocks = 4;
    static constexpr std::size_t kMaxSpareBytes = 160u * 1024 * 1024;

    Block* take(std::size_t bytes)
    {
        {
            const std::lock_guard lock(mutex_);
            for (auto it = spare_.rbegin(); it != spare_.rend(); ++it) {
                if ((*it)->bytes == bytes) {
                    Block* block = *it;
                    spare_.erase(std::next(it).base());
                    spareBytes_ -= bytes;
                    return block;
                }
            }
        }
        auto* block = new (std::nothrow) Block{bytes, nullptr};
        if (!block)
            return nullptr;
        if (bytes >= kOwnMappingBytes) {
            block->data = MapPictureMemory(bytes, block->mappedBytes);
        } else {
            // 64-byte aligned: whole cache lines, and what the vector units of the codecs like.
            block->data = static_cast<uchar*>(std::aligned_alloc(64, (bytes + 63) / 64 * 64));
        }
        if (!block->data) {
            delete block;
            return nullptr;
        }
        return block;
    }

    void give(Block* block)
    {
        std::deque<Block*> released;
        {
            const std::lock_guard lock(mutex_);
            spare_.push_back(block);
            spareBytes_ += block->bytes;
            while (spare_.size() > kMaxSpareBlocks || spareBytes_ > kMaxSpareBytes) {
                const auto spare = OneToLetGo();
                released.push_back(*spare);
                spareBytes_ -= (*spare)->bytes;
                spare_.erase(spare);
            }
        }
        for (Block* old : released)
            Release(old);
    }

    qsizetype spareBytes()
    {
        const std::lock_guard lock(mutex_);
        return static_cast<qsizetype>(spareBytes_);
    }

private:
    // Over the byte limit the oldest spare goes. Over the count, a spare whose size has another
    // spare goes first (the oldest such): 24 cams' thumbnails come and go several times a second,
    // and counted like any other they pushed out the one spare of the full picture the Viewer
    // shows, so that the next click's full decode (33 MB at 4K) took fresh memory.
    std::deque<Block*>::iterator OneToLetGo()
    {
        if (spareBytes_ <= kMaxSpareBytes) {
            for (auto it = spare_.begin(); it != spare_.end(); ++it) {
                const std::size_t bytes = (*it)->bytes;
                if (std::count_if(spare_.begin(), spare_.end(), [bytes](const Block* b) { return b->bytes == bytes; }) >
                    1)
                    return it;
            }
        }
        return spare_.begin();
    }

    std::mutex mutex_;
    std::deque<Block*> spare_;
    std::size_t spareBytes_ = 0;
};

// Never destroyed: the last copy of a picture may go after static destruction has begun.
PicturePool& Pool()
{
    static PicturePool* pool = new PicturePool;
    return *pool;
}

void GiveBack(void* block)
{
    Pool().give(static_cast<Block*>(block));
}

}  // namespace

QImage RecycledImage(const QSize& size, QImage::Format format)
{
    if (size.isEmpty() || format == QImage::Format_Invalid)
        return {};
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    // Rows are padded to 4 bytes, as QImage pads its own.
    const qint64 bytesPerLine = (qint64(size.width()) * depth + 31) / 32 * 4;
    const qint64 bytes = bytesPerLine * size.height();
    if (depth <= 0 || bytesPerLine > std::numeric_limits<int>::max() ||
        bytes > std::numeric_limits<qsizetype>::max() / 2)
        return {};
    Block* block = Pool().take(static_cast<std::size_t>(bytes));
    if (!block)
        return {};
    QImage image(block->data, size.width(), size.height(), static_cast<qsizetype>(bytesPerLine), format, GiveBack,
                 block);
    if (image.isNull())
        GiveBack(block);  // QImage refused the size; the cleanup is not called for a null image
    return image;
}

QImage ReadPicture(QImageReader& reader)
{
    QImage picture;
    const QSize size = reader.size();
    const QImage::Format format = reader.imageFormat();
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxPicturePixels)
        return {};
    if (size.isValid() && format != QImage::Format_Invalid)
        picture = RecycledImage(size, format);  // the reader decodes into it when both match
    if (!reader.read(&picture))
        return {};
    return picture;
}

namespace {
std::atomic<qint64> decodeCount{0};
}  // namespace

qint64 PictureDecodeCount()
{
    return decodeCount.load(std::memory_order_relaxed);
}

LoadedPicture LoadPicture(const QByteArray& bytes, const QSize& atLeast)
{
    decodeCount.fetch_add(1, std::memory_order_relaxed);
    // Qt's own limit holds what its readers allocate for a format that tells its size only while
    // decoding; in bytes, as much as the largest picture takes at 32 bits a pixel.
    static const bool limited = [] {
        QImageReader::setAllocationLimit(int(kMaxPicturePixels * 4 / (1024 * 1024)));
        return true;
    }();
    (void)limited;

    const PictureCheck check = CheckDeclaredPicture(bytes);
    if (check.verdict == PictureCheck::Verdict::TooLarge)
        return {QImage(), PictureStatus::TooLarge, check.size, {}};
    if (check.verdict == PictureCheck::Verdict::Unfilled)
        return {};
    QImage picture;
    QSize fullSize;
    switch (ReadJpegPicture(bytes, picture, RecycledImage, atLeast, &fullSize)) {
    case JpegReadResult::Decoded:
        return {std::move(picture), PictureStatus::Decoded, {}, fullSize};
    case JpegReadResult::DataEnded:
        // Qt's reader would show the rest grey, as it always has for a small picture; a large one
        // costs its whole size for data that are not there.
        if (check.pixels() > kUncheckedPicturePixels)
            return {};
        break;
    case JpegReadResult::LeftToQt:
        break;
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    picture = ReadPicture(reader);
    if (picture.isNull())
        return {};
    if (qint64(picture.width()) * picture.height() > kMaxPicturePixels)
        return {QImage(), PictureStatus::TooLarge, picture.size(), {}};  // a format that did not tell its size before
    fullSize = picture.size();
    return {std::move(picture), PictureStatus::Decoded, {}, fullSize};
}

LoadedPicture ReadPictureFile(const QString& path, const QSize& atLeast, QByteArray* bytes)
{
    const std::optional<QByteArray> content = ReadNormalFile(path, kMaxPictureFileBytes);
    if (!content)
        return {};
    if (bytes)
        *bytes = *content;
    return LoadPicture(*content, atLeast);
}

QImage LoadPictureFile(const QString& path)
{
    return ReadPictureFile(path).picture;
}

void KeepFreedMemoryForReuse()
{
#ifdef __GLIBC__
    // Blocks below the first limit come from the heap (whose memory stays mapped) rather than
    // from a mapping of their own, which is returned on free; free memory at the top of the heap
    // goes back to the system only beyond the second. 24 response bodies of a few hundred KB
    // each arrive together when the cams were opened together, so a burst is that much.
    constexpr int kHeapBlockLimit = 16 * 1024 * 1024;  // bytes
    constexpr int kKeptFreeMemory = 64 * 1024 * 1024;  // bytes
    mallopt(M_MMAP_THRESHOLD, kHeapBlockLimit);
    mallopt(M_TRIM_THRESHOLD, kKeptFreeMemory);
#endif
}

qsizetype RecycledPictureBytes()
{
    return Pool().spareBytes();
}
