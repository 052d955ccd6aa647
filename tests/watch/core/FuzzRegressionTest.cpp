// Stream data and playlists that fuzzing found mishandled, kept as tests so the faults stay fixed.
#include <gtest/gtest.h>

#include "FakeRtspServer.h"
#include "H264Size.h"
#include "HlsPlaylist.h"

// An HEVC unit whose first header byte says "parameter set" and is followed straight by the next
// start code has no room for its second header byte: its payload length came out as -1, and the
// reader ran on past the end of the data. It is skipped; a parameter set after it is still read.
TEST(FuzzRegression, HevcUnitShorterThanItsHeaderIsSkipped)
{
    const QByteArray cut("\0\0\1\x42\0\0\1\x46\x01\x50", 10);
    EXPECT_FALSE(HevcDeclaredSize(cut));
    EXPECT_EQ(HevcDeclaredSize(cut + QByteArray("\0\0\0\1", 4) + MakeHevcSps({1280, 720})), QSize(1280, 720));
}
