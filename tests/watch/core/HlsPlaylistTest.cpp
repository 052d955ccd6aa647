// HLS playlists: what is read of them, which variant is taken, and the limits.
#include <gtest/gtest.h>

#include "HlsPlaylist.h"

TEST(HlsPlaylist, ReadsVariantsAndSegmentsAndChoosesTheLowestVariantTallEnough)
{
    const QUrl base(QStringLiteral("http://user:pw@cams.example/live/master.m3u8"));
    const HlsPlaylist master = ParseHlsPlaylist(
        "#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=2500000,RESOLUTION=1280x720,CODECS=\"avc1.64001f,mp4a.40.2\"\n"
        "hd/index.m3u8\n#EXT-X-STREAM-INF:BANDWIDTH=800000,RESOLUTION=640x360\r\nsd/index.m3u8\r\n"
        "#EXT-X-STREAM-INF:BANDWIDTH=64000,CODECS=\"mp4a.40.2\"\naudio/index.m3u8\n"
        "#EXT-X-STREAM-INF:BANDWIDTH=400000,RESOLUTION=416x234\nhttp://other.example/low.m3u8\n",
        base);
    ASSERT_EQ(master.problem, HlsPlaylist::Problem::None);
    ASSERT_TRUE(master.master);
    ASSERT_EQ(master.variants.size(), 4);
    EXPECT_EQ(master.variants[0].url.toString(), QStringLiteral("http://user:pw@cams.example/live/hd/index.m3u8"));
    EXPECT_EQ(master.variants[1].height, 360);
    EXPECT_FALSE(master.variants[2].video);
    const auto chosen = [&master](int shownHeight) {
        return ChooseHlsVariant(master.variants, shownHeight)->url.path();
    };
    EXPECT_EQ(chosen(120), QStringLiteral("/low.m3u8"));
    EXPECT_EQ(chosen(300), QStringLiteral("/live/sd/index.m3u8"));
    EXPECT_EQ(chosen(400), QStringLiteral("/live/hd/index.m3u8"));
    EXPECT_EQ(chosen(2160), QStringLiteral("/live/hd/index.m3u8"));  // none tall enough: the highest

    const HlsPlaylist media =
        ParseHlsPlaylist("#EXTM3U\n#EXT-X-TARGETDURATION:2\n#EXTINF:2.0,\nseg100.ts\n#EXTINF:2.0,\nseg101.ts\n", base);
    ASSERT_EQ(media.problem, HlsPlaylist::Problem::None);
    EXPECT_FALSE(media.master);
    EXPECT_EQ(media.segments.last().toString(), QStringLiteral("http://user:pw@cams.example/live/seg101.ts"));

    EXPECT_TRUE(IsHlsAddress(QStringLiteral("https://cams.example/live/Index.M3U8?token=1")));
    EXPECT_FALSE(IsHlsAddress(QStringLiteral("https://cams.example/live/index.jpg?x=.m3u8")));
    EXPECT_FALSE(IsHlsAddress(QStringLiteral("rtsp://cams.example/a.m3u8")));
    EXPECT_TRUE(IsPlaylistContentType(QStringLiteral("application/x-mpegURL; charset=utf-8")));
    EXPECT_TRUE(IsPlaylistContentType(QStringLiteral("application/vnd.apple.mpegurl")));
    EXPECT_FALSE(IsPlaylistContentType(QStringLiteral("image/jpeg")));
}

TEST(HlsPlaylist, RefusesWhatIsNoPlaylistTooLargeTooLongEmptyOrSoundOnly)
{
    const QUrl base(QStringLiteral("http://cams.example/a.m3u8"));
    EXPECT_EQ(ParseHlsPlaylist("<html>", base).problem, HlsPlaylist::Problem::NotAPlaylist);
    EXPECT_EQ(ParseHlsPlaylist("#EXTM3U\n" + QByteArray(kMaxPlaylistBytes, '#'), base).problem,
              HlsPlaylist::Problem::TooLarge);
    QByteArray many = "#EXTM3U\n";
    for (int i = 0; i <= kMaxPlaylistEntries; ++i)
        many += "s" + QByteArray::number(i) + ".ts\n";
    ASSERT_LE(many.size(), kMaxPlaylistBytes);
    EXPECT_EQ(ParseHlsPlaylist(many, base).problem, HlsPlaylist::Problem::TooManyEntries);
    EXPECT_EQ(ParseHlsPlaylist("#EXTM3U\n#EXT-X-ENDLIST\n", base).problem, HlsPlaylist::Problem::NoSegments);
    EXPECT_EQ(
        ParseHlsPlaylist("#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=64000,CODECS=\"mp4a.40.2\"\na.m3u8\n", base).problem,
        HlsPlaylist::Problem::NoVideo);
}
