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

// A media sequence number near the largest a qint64 holds made following the playlist count past
// it. It is capped, and following goes on as with any large number.
TEST(FuzzRegression, HugeMediaSequenceNumberIsFollowedWithoutOverflow)
{
    const QUrl base(QStringLiteral("http://cams.example/live/index.m3u8"));
    const QByteArray text = "#EXTM3U\n#EXT-X-MEDIA-SEQUENCE:9223372036854775807\n#EXTINF:1,\na.ts\n#EXTINF:1,\nb.ts\n";
    const HlsPlaylist playlist = ParseHlsPlaylist(text, base);
    EXPECT_EQ(playlist.mediaSequence, kMaxMediaSequence);
    HlsFollow follow;
    EXPECT_EQ(follow.take(playlist, 0, 0).size(), 2);
    EXPECT_TRUE(follow.take(playlist, 1000, 1000).isEmpty()) << "nothing new";
    const QList<HlsSegment> more = follow.take(ParseHlsPlaylist(text + "#EXTINF:1,\nc.ts\n", base), 2000, 2000);
    ASSERT_EQ(more.size(), 1);
    EXPECT_EQ(more.first().url.fileName(), QStringLiteral("c.ts"));
}
