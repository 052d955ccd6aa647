// The declared-size check reads headers and compressed data straight from what a server sent:
// cut off anywhere or with any byte changed, it must give a verdict without reading past the end
// (the sanitizer build runs this too).
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include "PictureBombs.h"
#include "PictureCheck.h"

namespace {

// Large enough that the data checks run (above the size decoded unchecked), small to make.
const QSize kChecked(2100, 2000);

QByteArray RleBmp(QSize size)
{
    QByteArray bmp = BmpHeader(size, 0);
    bmp[30] = 1;  // RLE8
    bmp[28] = 8;
    // Runs, a literal stretch, a jump, a line end, and the end of the picture.
    return bmp + QByteArray("\xFF\x01\x10\x02\x03\x04\x05\x00\x00\x02\x05\x05\x00\x00\x00\x01", 16);
}

QByteArray GifWithAFullFrame(QSize size)
{
    QByteArray gif = GifWithOnePixelFrame(size);
    // The frame descriptor's width and height (after 13 header and 6 table bytes, and 5 more).
    gif[19 + 5] = char(size.width() & 0xFF);
    gif[19 + 6] = char(size.width() >> 8);
    gif[19 + 7] = char(size.height() & 0xFF);
    gif[19 + 8] = char(size.height() >> 8);
    return gif;
}

TEST(PictureCheckTest, AnyCutAndAnyChangedByteGiveAVerdictWithinTheBytes)
{
    const QByteArray png = ZeroRowsPng(kChecked);
    const QList<QByteArray> pictures = {
        png.left(4000),   PlainGif(QSize(64, 64)), GifWithAFullFrame(kChecked), BmpHeader(kChecked, 600),
        RleBmp(kChecked), JpegClaiming(kChecked),  JpegClaiming(QSize(64, 48)),
    };
    QRandomGenerator random(14);
    int refused = 0;
    for (const QByteArray& picture : pictures) {
        for (qsizetype cut = 0; cut <= qMin<qsizetype>(picture.size(), 400); ++cut)
            refused += CheckDeclaredPicture(picture.left(cut)).verdict != PictureCheck::Verdict::Admitted;
        for (int round = 0; round < 300; ++round) {
            QByteArray changed = picture;
            for (int flips = 0; flips < 3; ++flips)
                changed[random.bounded(int(qMin<qsizetype>(changed.size(), 600)))] = char(random.bounded(256));
            refused += CheckDeclaredPicture(changed).verdict != PictureCheck::Verdict::Admitted;
        }
    }
    EXPECT_GT(refused, 0);
}

TEST(PictureCheckTest, LargeDeclaredSizesNeedDataThatFillThem)
{
    using Verdict = PictureCheck::Verdict;
    EXPECT_EQ(CheckDeclaredPicture(ZeroRowsPng(kChecked)).verdict, Verdict::Admitted);
    EXPECT_EQ(CheckDeclaredPicture(PlainGif(kChecked)).verdict, Verdict::Admitted);
    EXPECT_EQ(CheckDeclaredPicture(GifWithAFullFrame(kChecked)).verdict, Verdict::Unfilled);
    EXPECT_EQ(CheckDeclaredPicture(RleBmp(kChecked)).verdict, Verdict::Unfilled);
    const PictureCheck small = CheckDeclaredPicture(RleBmp(QSize(64, 48)));
    EXPECT_EQ(small.verdict, Verdict::Admitted);  // small: the decoder decides
    EXPECT_EQ(small.size, QSize(64, 48));
    const PictureCheck huge = CheckDeclaredPicture(PlainGif(QSize(8, 8)).replace(6, 4, "\x30\x75\x30\x75"));
    EXPECT_EQ(huge.verdict, Verdict::TooLarge);
    EXPECT_EQ(huge.size, QSize(30000, 30000));
}

}  // namespace
