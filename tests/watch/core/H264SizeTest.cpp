// The size an H.264 stream declares, read from its sequence parameter set before a decoder sees it.
#include <gtest/gtest.h>

#include "FakeRtspServer.h"
#include "H264Size.h"

namespace {
QByteArray AnnexB(const QByteArray& nal)
{
    return QByteArray("\0\0\0\1", 4) + nal;
}
}  // namespace

TEST(H264DeclaredSize, ReadsTheSizeOfBaselineAndHighProfilesWithCropping)
{
    for (const QSize size : {QSize(320, 240), QSize(1920, 1080), QSize(30000, 30000), QSize(642, 362)}) {
        EXPECT_EQ(H264DeclaredSize(AnnexB(MakeH264Sps(size))), size) << size.width() << "x" << size.height();
        EXPECT_EQ(H264DeclaredSize(AnnexB(MakeH264Sps(size, true))), size) << size.width() << "x" << size.height();
    }
    // After other NAL units (an access unit delimiter, a slice), and with three-byte start codes.
    const QByteArray stream = QByteArray("\0\0\1\x09\xf0", 5) + QByteArray("\0\0\1", 3) + MakeH264Sps({1280, 720});
    EXPECT_EQ(H264DeclaredSize(stream), QSize(1280, 720));
    // An avcC record, as MP4 keeps it.
    const QByteArray sps = MakeH264Sps({640, 480}, true);
    QByteArray avcc("\x01\x64\x00\x28\xff\xe1", 6);
    avcc += static_cast<char>(sps.size() >> 8);
    avcc += static_cast<char>(sps.size());
    avcc += sps;
    EXPECT_EQ(H264DeclaredSize(avcc), QSize(640, 480));
}

TEST(H264DeclaredSize, SaysNothingForDataWithoutAWholeParameterSet)
{
    EXPECT_FALSE(H264DeclaredSize({}));
    EXPECT_FALSE(H264DeclaredSize(AnnexB(QByteArray("\x65\x88\x84", 3))));  // a slice only
    // A parameter set cut short gives no size, or (when only its tail is missing) the right one.
    const QByteArray sps = AnnexB(MakeH264Sps({1920, 1080}, true));
    for (qsizetype cut = 4; cut < sps.size(); ++cut) {
        const auto size = H264DeclaredSize(sps.first(cut));
        EXPECT_TRUE(!size || *size == QSize(1920, 1080)) << cut;
    }
    EXPECT_FALSE(H264DeclaredSize(sps.first(10)));
    // Exp-Golomb codes longer than 32 bits are damage, not a size.
    EXPECT_FALSE(H264DeclaredSize(AnnexB(QByteArray("\x67\x42\x00\x28", 4) + QByteArray(12, '\0') + "\x01")));
}
