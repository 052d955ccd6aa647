// The size an H.264 or HEVC stream declares, read from its sequence parameter set before a decoder
// sees it.
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

TEST(HevcDeclaredSize, ReadsTheSizeAfterTheProfilesOfEverySubLayerLessTheWindow)
{
    for (const QSize size : {QSize(320, 240), QSize(1918, 1078), QSize(30000, 30000)})
        for (const int subLayers : {1, 3, 7})
            EXPECT_EQ(HevcDeclaredSize(AnnexB(MakeHevcSps(size, subLayers))), size)
                << size.width() << "x" << size.height() << ", " << subLayers << " sub-layers";
    // After the video parameter set, and in an hvcC record (as MP4 keeps it).
    const QByteArray sps = MakeHevcSps({1280, 720});
    EXPECT_EQ(HevcDeclaredSize(AnnexB(QByteArray("\x40\x01\x0c\x01", 4)) + AnnexB(sps)), QSize(1280, 720));
    QByteArray hvcc(22, '\0');
    hvcc[0] = 1;
    hvcc += '\x02';                                             // two arrays
    hvcc += QByteArray("\xa0\x00\x01\x00\x03\x40\x01\x0c", 8);  // one VPS
    hvcc += QByteArray("\xa1\x00\x01", 3);
    hvcc += static_cast<char>(sps.size() >> 8);
    hvcc += static_cast<char>(sps.size());
    hvcc += sps;
    EXPECT_EQ(HevcDeclaredSize(hvcc), QSize(1280, 720));
    EXPECT_FALSE(HevcDeclaredSize(hvcc.first(hvcc.size() - 1)));
    // An H.264 parameter set is no HEVC one, and one cut short before the size gives none.
    EXPECT_FALSE(HevcDeclaredSize(AnnexB(MakeH264Sps({320, 240}))));
    EXPECT_FALSE(HevcDeclaredSize(AnnexB(sps.first(12))));
}
