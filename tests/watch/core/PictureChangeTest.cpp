// Telling a changed picture from one that only looks changed to a byte comparison: a labelled
// set of picture pairs made from the demo's photo-like pictures, each with its verdict under
// every rule, with and without a mask over the burnt-in clock.
#include <gtest/gtest.h>

#include <QPainter>

#include "ClockPictures.h"
#include "PhotoLikePicture.h"
#include "PictureChange.h"
#include "PictureMemory.h"

namespace {

// The copy the program makes: from the thumbnail's scaled decode of the bytes.
GreyCopy CopyOf(const QByteArray& bytes)
{
    return MakeGreyCopy(LoadPicture(bytes, QSize(85, 64)).picture);
}

struct Labelled {
    const char* what;
    QByteArray before, after;
    bool stampSaysNew;  // the server's Last-Modified line changed between the two
    // The verdict under each rule, without and with the mask over the clock.
    bool lastModified, content, contentMasked, both, bothMasked;
};

std::vector<Labelled> LabelledSet()
{
    const QImage photo = ClockScene();
    QImage clockBefore = photo, clockAfter = photo;
    DrawClock(clockBefore, QStringLiteral("12:00:08"));
    DrawClock(clockAfter, QStringLiteral("12:00:19"));
    QImage moved = photo, movedAgain = photo;  // a dark object of 1% of the area, moved by its width
    {
        QPainter painter(&moved);
        painter.fillRect(QRect(300, 300, 64, 48), QColor(30, 25, 20));
    }
    {
        QPainter painter(&movedAgain);
        painter.fillRect(QRect(364, 300, 64, 48), QColor(30, 25, 20));
    }
    QImage lighter = photo;  // +30 levels
    for (int y = 0; y < lighter.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(lighter.scanLine(y));
        for (int x = 0; x < lighter.width(); ++x) {
            const QRgb p = line[x];
            line[x] = qRgb(std::min(255, qRed(p) + 30), std::min(255, qGreen(p) + 30), std::min(255, qBlue(p) + 30));
        }
    }
    // The same object of 1% of the area: a logo that blinks inside the masked corner, and one
    // that leaves the mask for the open picture.
    const auto withBlock = [&photo](QPoint at) {
        QImage picture = photo;
        QPainter(&picture).fillRect(QRect(at, QSize(64, 48)), QColor(30, 25, 20));
        return picture;
    };
    const QImage logoInMask = withBlock({100, 20}), logoOut = withBlock({100, 120});
    const QByteArray plain = JpegOf(photo);
    return {
        // A cam whose picture froze while its clock ticks, and whose server stamps every answer.
        {"clock ticks alone", JpegOf(clockBefore), JpegOf(clockAfter), true, true, true, false, true, false},
        // The same scene encoded again at another quality: only noise differs.
        {"re-encoded at 60", plain, JpegOf(photo, 60), true, true, false, false, false, false},
        {"re-encoded at 95", plain, JpegOf(photo, 95), false, false, false, false, false, false},
        // Something moved, and the server says so.
        {"object moved by 1%", JpegOf(moved), JpegOf(movedAgain), true, true, true, true, true, true},
        // The light changed, and the server sent the same stamp (or none).
        {"light +30", plain, JpegOf(lighter), false, false, true, true, false, false},
        // A server that stamps every answer with the time of the request.
        {"identical bytes, new stamp", plain, plain, true, true, false, false, false, false},
        {"identical bytes", plain, plain, false, false, false, false, false, false},
        // Under the mask a change is none; a change that leaves the mask is one.
        {"logo blinks under the mask", plain, JpegOf(logoInMask), true, true, true, false, true, false},
        {"logo leaves the mask", JpegOf(logoInMask), JpegOf(logoOut), false, false, true, true, false, false},
    };
}

TEST(PictureChangeTest, TheLabelledSetIsClassifiedWithoutAnError)
{
    const ChangeRule rule;  // 25 of 255, 0.5%
    for (const Labelled& c : LabelledSet()) {
        const bool same = c.before == c.after;
        const GreyCopy before = CopyOf(c.before), after = CopyOf(c.after);
        ASSERT_FALSE(before.isNull()) << c.what;
        ASSERT_FALSE(after.isNull()) << c.what;
        const bool changed = PictureChanged(before, after, rule);
        const bool changedMasked = PictureChanged(before, after, rule, {kClockArea});
        const double share = ChangedShare(before, after, rule.pixelLevel);
        EXPECT_EQ(IsNewPicture(NewPictureRule::LastModified, c.stampSaysNew, same, changed), c.lastModified) << c.what;
        EXPECT_EQ(IsNewPicture(NewPictureRule::Content, c.stampSaysNew, same, changed), c.content)
            << c.what << " (changed share " << share << ")";
        EXPECT_EQ(IsNewPicture(NewPictureRule::Content, c.stampSaysNew, same, changedMasked), c.contentMasked)
            << c.what << " with the mask (changed share " << ChangedShare(before, after, 25, {kClockArea}) << ")";
        EXPECT_EQ(IsNewPicture(NewPictureRule::Both, c.stampSaysNew, same, changed), c.both) << c.what;
        EXPECT_EQ(IsNewPicture(NewPictureRule::Both, c.stampSaysNew, same, changedMasked), c.bothMasked)
            << c.what << " with the mask";
    }
}

TEST(PictureChangeTest, TheFirstPictureIsTheBaselineAndNeverNew)
{
    for (const NewPictureRule rule : {NewPictureRule::Content, NewPictureRule::Both})
        EXPECT_FALSE(IsNewPicture(rule, true, false, std::nullopt));
    EXPECT_TRUE(IsNewPicture(NewPictureRule::LastModified, true, false, std::nullopt));
}

TEST(PictureChangeTest, TheCopyIsSmallGreyAndAlikeFromAnyDecodeScale)
{
    const QByteArray bytes = JpegOf(ClockScene());
    const GreyCopy full = MakeGreyCopy(LoadPicture(bytes).picture);
    const GreyCopy scaled = CopyOf(bytes);
    EXPECT_EQ(full.size, QSize(85, 64));
    EXPECT_EQ(scaled.size, full.size);
    // The followed cam is decoded in full, the others scaled: their copies must not differ by more
    // than the odd pixel at a sharp edge, far below what makes a picture new.
    EXPECT_LT(ChangedShare(full, scaled, 25), 0.003);
    EXPECT_FALSE(PictureChanged(full, scaled, ChangeRule{}));

    // Another size is another picture; a mask over everything leaves nothing to change.
    const GreyCopy other = MakeGreyCopy(MakePhotoLikePicture(320, 320, 3));
    EXPECT_EQ(other.size, QSize(64, 64));
    EXPECT_EQ(ChangedShare(full, other, 25), 1.0);
    EXPECT_EQ(ChangedShare(full, MakeGreyCopy(QImage(kClockPictureWidth, kClockPictureHeight, QImage::Format_RGB32)),
                           25, {QRectF(0, 0, 1, 1)}),
              0.0);
    // A panorama keeps its copy narrow enough; a tiny picture keeps its own size.
    EXPECT_EQ(MakeGreyCopy(MakePhotoLikePicture(4000, 400, 4)).size, QSize(kGreyCopyMaxWidth, 64));
    EXPECT_EQ(MakeGreyCopy(MakePhotoLikePicture(40, 30, 5)).size, QSize(40, 30));
    EXPECT_TRUE(MakeGreyCopy(QImage()).isNull());
}

TEST(PictureChangeTest, TheThresholdsDecide)
{
    GreyCopy a{QSize(100, 10), QByteArray(1000, char(100))};
    GreyCopy b = a;
    for (int i = 0; i < 6; ++i)
        b.levels[i] = char(126);  // 6 pixels of 1000 by 26 levels
    EXPECT_DOUBLE_EQ(ChangedShare(a, b, 25), 0.006);
    EXPECT_EQ(ChangedShare(a, b, 26), 0.0);
    EXPECT_TRUE(PictureChanged(a, b, ChangeRule{25, 5}));
    EXPECT_FALSE(PictureChanged(a, b, ChangeRule{25, 6}));
    EXPECT_FALSE(PictureChanged(a, b, ChangeRule{26, 5}));
    // The changed pixels under a mask do not count, nor do they count as pixels.
    EXPECT_FALSE(PictureChanged(a, b, ChangeRule{25, 5}, {QRectF(0, 0, 0.1, 1)}));
}

TEST(PictureChangeTest, AStoredRuleOutsideTheChoicesIsTheLastModifiedRule)
{
    EXPECT_EQ(NewPictureRuleFromText(QStringLiteral("content")), NewPictureRule::Content);
    EXPECT_EQ(NewPictureRuleFromText(QStringLiteral("both")), NewPictureRule::Both);
    EXPECT_EQ(NewPictureRuleFromText(QStringLiteral("lastModified")), NewPictureRule::LastModified);
    EXPECT_EQ(NewPictureRuleFromText(QStringLiteral("Content")), NewPictureRule::LastModified);
    EXPECT_EQ(NewPictureRuleFromText(QString()), NewPictureRule::LastModified);
}

}  // namespace

TEST(PictureChangeTest, AMaskIsStoredAsFractionsAndReadBackClippedToThePicture)
{
    const QList<QRectF> mask{kClockArea, QRectF(0.5, 0.875, 0.5, 0.125)};
    EXPECT_EQ(MaskText(mask), QStringLiteral("0.02,0.02,0.45,0.14;0.5,0.875,0.5,0.125"));
    EXPECT_EQ(MaskFromText(MaskText(mask)), mask);
    // Dragged up and left, reaching out of the picture, or empty, or not four numbers.
    EXPECT_EQ(MaskFromText(QStringLiteral("0.9,0.9,-0.4,-0.2; 0.8,0.8,0.5,0.5;0.1,0.1,0,0.3;1,2,3;x,0,1,1")),
              (QList<QRectF>{QRectF(0.5, 0.7, 0.4, 0.2), QRectF(0.8, 0.8, 0.2, 0.2)}));
    EXPECT_TRUE(MaskFromText(QString()).isEmpty());
    EXPECT_EQ(CamRuleFromText(QStringLiteral("content")), NewPictureRule::Content);
    EXPECT_EQ(CamRuleFromText(QStringLiteral("lastModified")), NewPictureRule::LastModified);
    EXPECT_FALSE(CamRuleFromText(QString()).has_value()) << "the Options' rule";
    EXPECT_FALSE(CamRuleFromText(QStringLiteral("Content")).has_value());
}
