// Thumbnails from a scaled JPEG decode, and the full picture decoded only for whoever needs it.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QLineEdit>
#include <algorithm>
#include <cstdlib>

#include "ImageControl.h"
#include "JpegReader.h"
#include "PictureMemory.h"
#include "PictureSave.h"
#include "SlotGridFixture.h"

namespace {

// Photo-like content: smooth gradients with fine detail, so a shrink has something to average.
QImage PhotoLike(QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            row[x] = qRgb((x * 255) / size.width(), (y * 255) / size.height(), ((x ^ y) & 0x3f) + 96);
    }
    return picture;
}

QByteArray Jpeg(const QImage& picture, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(picture));
    return bytes;
}

// The largest difference of any colour byte between two pictures of the same size, and the mean.
struct Difference {
    int largest = 256;
    double mean = 256;
};
Difference Compare(const QImage& a, const QImage& b)
{
    const QImage left = a.convertToFormat(QImage::Format_RGB32);
    const QImage right = b.convertToFormat(QImage::Format_RGB32);
    if (left.size() != right.size() || left.isNull())
        return {};
    Difference difference{0, 0};
    qint64 total = 0;
    for (int y = 0; y < left.height(); ++y) {
        const uchar* l = left.constScanLine(y);
        const uchar* r = right.constScanLine(y);
        for (int i = 0; i < left.width() * 4; ++i) {
            const int d = std::abs(int(l[i]) - int(r[i]));
            difference.largest = std::max(difference.largest, d);
            total += d;
        }
    }
    difference.mean = double(total) / (double(left.width()) * left.height() * 4);
    return difference;
}

const QSize kThumbnail(85, 64);  // the panel's thumbnail, device pixels at 96 dots per inch

TEST(JpegScaleTest, TheSmallestScaleThatStillCoversTheThumbnail)
{
    EXPECT_EQ(JpegScaleDenominator({1920, 1080}, kThumbnail), 8);  // 240 x 135
    EXPECT_EQ(JpegScaleDenominator({640, 480}, kThumbnail), 4);    // 80 x 60 would be too small
    EXPECT_EQ(JpegScaleDenominator({320, 240}, kThumbnail), 2);
    EXPECT_EQ(JpegScaleDenominator({160, 120}, kThumbnail), 1);
    EXPECT_EQ(JpegScaleDenominator({680, 100}, kThumbnail), 1);  // the height decides
    EXPECT_EQ(JpegScaleDenominator({1920, 1080}, {}), 1);
    EXPECT_EQ(JpegScaledSize({1921, 1081}, 8), QSize(241, 136));  // libjpeg rounds up
}

// Bodies cut off, damaged or progressive come out of the scaled decode exactly as out of the full
// one: refused alike, or shown, and when shown the thumbnail is today's within the shrink's
// rounding.
TEST(ScaledDecodeTest, RefusedOrShownExactlyAsAFullDecode)
{
    const QImage original = PhotoLike({640, 480});
    const QByteArray baseline = Jpeg(original);
    const qsizetype scan = baseline.lastIndexOf("\xFF\xDA");
    ASSERT_GT(scan, 0);
    QByteArray corrupt = baseline;
    for (qsizetype i = scan + 200; i < scan + 260; ++i)
        corrupt[i] = char(0xFF);  // markers in the middle of the scan
    const QByteArray cut = baseline.first(scan + (baseline.size() - scan) / 2);
    const struct {
        const char* name;
        QByteArray bytes;
    } bodies[] = {
        {"baseline", baseline}, {"progressive", Jpeg(original, true)},
        {"cut off", cut},       {"cut off, end marker added", cut + "\xFF\xD9"},
        {"corrupt", corrupt},   {"grey", Jpeg(original.convertToFormat(QImage::Format_Grayscale8))},
    };
    for (const auto& body : bodies) {
        SCOPED_TRACE(body.name);
        const LoadedPicture full = LoadPicture(body.bytes);
        const LoadedPicture scaled = LoadPicture(body.bytes, kThumbnail);
        ASSERT_EQ(scaled.status, full.status);
        ASSERT_EQ(scaled.picture.isNull(), full.picture.isNull());
        if (full.picture.isNull())
            continue;
        EXPECT_EQ(scaled.fullSize, QSize(640, 480));
        EXPECT_EQ(full.fullSize, QSize(640, 480));
        if (scaled.picture.size() == full.picture.size()) {
            EXPECT_EQ(scaled.picture, full.picture);  // left to Qt's reader at full size, as before
            continue;
        }
        EXPECT_EQ(scaled.picture.size(), QSize(160, 120));
        EXPECT_EQ(scaled.picture.format(), full.picture.format());
        // What the thumbnail shows: each pixel the average of about 7.5 x 7.5 pixels either way;
        // the scaled decode averages whole 4 x 4 blocks, so the fine pattern's edges fall apart
        // by a few levels.
        const Difference difference =
            Compare(ShrinkPicture(scaled.picture, kThumbnail), ShrinkPicture(full.picture, kThumbnail));
        EXPECT_LE(difference.largest, 10);
        EXPECT_LE(difference.mean, 1.5);
    }
}

TEST(ScaledDecodeTest, OtherFormatsDecodeAtFullSize)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(PhotoLike({640, 480}).save(&buffer, "PNG"));
    const LoadedPicture loaded = LoadPicture(png, kThumbnail);
    EXPECT_EQ(loaded.picture.size(), QSize(640, 480));
    EXPECT_EQ(loaded.fullSize, QSize(640, 480));
}

class FullPictureOnDemandTest : public CamServerFixture {
protected:
    const QByteArray body = Jpeg(PhotoLike({800, 600}));
    // Another picture of that size: the bytes a slot shows already are not decoded again.
    const QByteArray again = Jpeg(PhotoLike({800, 600}).mirrored(true, false));
    const QByteArray stampA = "Mon, 07 May 2007 15:59:45 GMT";
    const QByteArray stampB = "Mon, 07 May 2007 16:04:45 GMT";

    // Opens Cam 1 into slot 0 and Cam 2 into slot 1, both serving `body`; the Viewer shows slot 0.
    void OpenTwoCams(const QByteArray& lastModified = {})
    {
        ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(PictureAnswer(body, lastModified))));
        server.enqueue(ScriptedReply::whole(PictureAnswer(body, lastModified)));
        StartCam(QStringLiteral("Cam 2"));
        ASSERT_TRUE(WaitForHandled(1));
    }

    static QImage FileDecode(const QString& path) { return LoadPictureFile(path); }
    static QByteArray FileBytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(FullPictureOnDemandTest, ANeverShownSlotHoldsNoFullPictureAndTheViewerGetsEveryPixel)
{
    OpenTwoCams();
    const QImage full = LoadPicture(body).picture;
    // Slot 1 was never shown: its thumbnail holds a scaled decode, and nothing else holds more.
    EXPECT_EQ(grid->slot(1).imgCam->picture().size(), QSize(100, 75));  // 1/8 covers 85 x 64
    EXPECT_EQ(grid->cam(1).pictureSize(), QSize(800, 600));
    EXPECT_EQ(grid->cam(1).slotPictureBytes, body);
    // The Viewer follows slot 0 (selected from the start): the full picture, pixel for pixel.
    ASSERT_FALSE(viewerPictures.isEmpty());
    EXPECT_EQ(viewerPictures.last(), full);

    // Shown, slot 1 gives the Viewer its full picture, decoded once and kept while it is shown.
    grid->cams().setSelectedSlot(1);
    const QImage shown = grid->cam(1).fullPicture();
    EXPECT_EQ(shown, full);
    EXPECT_EQ(grid->cam(1).fullPicture().cacheKey(), shown.cacheKey());
    // A thumbnail-sized view takes the scaled decode; a larger one the full picture.
    EXPECT_EQ(grid->cam(1).displayPicture({100, 70}).size(), QSize(100, 75));
    EXPECT_EQ(grid->cam(1).displayPicture({400, 300}).size(), QSize(800, 600));
    // Another slot selected: the kept picture goes.
    grid->cams().setSelectedSlot(0);
    EXPECT_NE(grid->cam(1).fullPicture().cacheKey(), shown.cacheKey());
}

// The slot the Viewer leaves gives up the full decode it held for it and keeps a thumbnail like
// a never-shown slot's; its full picture is still every pixel, decoded again when asked for.
TEST_F(FullPictureOnDemandTest, TheSlotTheViewerLeavesKeepsOnlyAThumbnail)
{
    OpenTwoCams();
    const QImage full = LoadPicture(body).picture;
    const QImage scaled = LoadPicture(body, kThumbnail).picture;
    ASSERT_EQ(grid->slot(0).imgCam->picture().size(), QSize(800, 600));  // the Viewer follows slot 0
    int changes = 0;
    QObject::connect(&grid->cams(), &WatchedCams::changed, grid.get(),
                     [&](int index) { changes += index == 0 ? 1 : 0; });

    grid->cams().setSelectedSlot(1);
    EXPECT_EQ(grid->slot(0).imgCam->picture().size(), QSize(800, 600)) << "shrunk after the click, not in it";
    QCoreApplication::sendPostedEvents();
    const QImage thumbnail = grid->slot(0).imgCam->picture();
    EXPECT_EQ(thumbnail.size(), scaled.size());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(grid->cam(0).pictureSize(), QSize(800, 600));
    // What the panel draws is what a scaled decode gives, within the two averagings' rounding.
    const Difference difference = Compare(ShrinkPicture(thumbnail, kThumbnail), ShrinkPicture(scaled, kThumbnail));
    EXPECT_LE(difference.largest, 10);
    EXPECT_LE(difference.mean, 1.5);
    EXPECT_EQ(grid->cam(0).fullPicture(), full);

    // Selecting again, or a slot already scaled, changes nothing.
    grid->cams().setSelectedSlot(1);
    grid->cams().setSelectedSlot(0);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(grid->slot(1).imgCam->picture().size(), scaled.size());

    // Nor does leaving a slot and coming back before the shrink.
    ASSERT_TRUE(FetchAgain(0, ScriptedReply::whole(PictureAnswer(again))));
    ASSERT_EQ(grid->slot(0).imgCam->picture().size(), QSize(800, 600));
    grid->cams().setSelectedSlot(1);
    grid->cams().setSelectedSlot(0);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(grid->slot(0).imgCam->picture().size(), QSize(800, 600));

    // With the wall's tiles larger than a 1/8 decode, the kept picture covers the tiles.
    grid->cams().setLargestTileSize({300, 200});
    grid->cams().setSelectedSlot(1);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(grid->slot(0).imgCam->picture().size(), QSize(400, 300));
    EXPECT_EQ(grid->cam(0).displayPicture({300, 200}).size(), QSize(400, 300));
}

// Other formats are decoded at full size, and a slot the Viewer never followed keeps it so.
TEST_F(FullPictureOnDemandTest, AnotherFormatKeepsItsFullDecode)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(PhotoLike({800, 600}).save(&buffer, "PNG"));
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(PictureAnswer(body))));
    server.enqueue(ScriptedReply::whole(PictureAnswer(png)));
    StartCam(QStringLiteral("Cam 2"));
    ASSERT_TRUE(WaitForHandled(1));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(grid->slot(1).imgCam->picture().size(), QSize(800, 600));
}

// While no one can see the Viewer (before the first click, under the wall), the slot it follows
// is decoded for its thumbnail like any other; the full-window view sees it as the Viewer would.
TEST_F(FullPictureOnDemandTest, AViewerNoOneSeesGetsNoFullPictures)
{
    viewerShown = false;
    OpenTwoCams();
    EXPECT_EQ(grid->slot(0).imgCam->picture().size(), QSize(100, 75));
    EXPECT_TRUE(viewerPictures.isEmpty());
    EXPECT_EQ(grid->cam(0).fullPicture(), LoadPicture(body).picture);  // decoded when asked for

    fullWindowViewOpen = true;
    ASSERT_TRUE(FetchAgain(0, ScriptedReply::whole(PictureAnswer(again))));
    EXPECT_EQ(grid->slot(0).imgCam->picture().size(), QSize(800, 600));
    ASSERT_EQ(fullWindowPictures.size(), 1);
    EXPECT_EQ(fullWindowPictures.last().size(), QSize(800, 600));

    fullWindowViewOpen = false;
    viewerShown = true;
    ASSERT_TRUE(FetchAgain(0, ScriptedReply::whole(PictureAnswer(body))));
    EXPECT_EQ(grid->slot(0).imgCam->picture().size(), QSize(800, 600));
    ASSERT_FALSE(viewerPictures.isEmpty());
    EXPECT_EQ(viewerPictures.last(), LoadPicture(body).picture);
}

TEST_F(FullPictureOnDemandTest, SaveImageAndAutoSaveWriteWhatAFullDecodeWould)
{
    chkSave->setChecked(true);
    OpenTwoCams(stampA);
    // Save Image of a slot whose thumbnail is a scaled decode: the full picture is saved.
    grid->cams().setSelectedSlot(1);
    grid->cmdSave_Click();
    const QString camFolder = home.filePath(QStringLiteral("cam"));
    const QString manual = camFolder + QStringLiteral("/Cam257200735945PM.jpg");
    ASSERT_TRUE(QFile::exists(manual));
    const QString expected = home.filePath(QStringLiteral("expected.jpg"));
    SavePictureAsJpeg(LoadPicture(body).picture, expected);
    EXPECT_EQ(FileBytes(manual), FileBytes(expected));
    ASSERT_FALSE(viewerPictures.isEmpty());
    EXPECT_EQ(viewerPictures.last().size(), QSize(800, 600));

    // A new picture of the unshown slot 0... (slot 1 is shown now) saved automatically.
    now = now.addSecs(300);  // 4:04:45 PM
    ASSERT_TRUE(FetchAgain(0, ScriptedReply::whole(PictureAnswer(body, stampB))));
    const QString automatic = camFolder + QStringLiteral("/Cam157200740445PM.jpg");
    ASSERT_TRUE(QFile::exists(automatic));
    EXPECT_EQ(FileBytes(automatic), FileBytes(expected));
    // The thumbnail shows the saved file, scaled, and decodes from the saved file's bytes.
    EXPECT_EQ(grid->slot(0).imgCam->picture().size(), QSize(100, 75));
    EXPECT_EQ(grid->cam(0).slotPictureBytes, FileBytes(automatic));
    EXPECT_EQ(grid->cam(0).fullPicture(), FileDecode(automatic));
}

}  // namespace
