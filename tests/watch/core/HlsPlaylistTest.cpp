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
    EXPECT_EQ(media.segments.last().url.toString(), QStringLiteral("http://user:pw@cams.example/live/seg101.ts"));

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
    // Encrypted: refused when the newest segment is (keys are not fetched), read when a key was
    // taken back with METHOD=NONE before it.
    EXPECT_EQ(ParseHlsPlaylist("#EXTM3U\n#EXT-X-KEY:METHOD=AES-128,URI=\"k.key\"\na.ts\n", base).problem,
              HlsPlaylist::Problem::Encrypted);
    EXPECT_EQ(
        ParseHlsPlaylist("#EXTM3U\n#EXT-X-KEY:METHOD=SAMPLE-AES,URI=\"k\"\na.ts\n#EXT-X-KEY:METHOD=NONE\nb.ts\n", base)
            .problem,
        HlsPlaylist::Problem::None);
}

// Following a media playlist live: a start takes the newest two segments, each later load what
// came since (or the newest two when it fell far behind or the sequence went back), loads come a
// target duration apart while it grows and half of that while it does not, and a playlist that
// adds nothing for three target durations has stopped growing.
TEST(HlsFollow, TakesEachNewSegmentOncePacedByTheTargetDurationAndSeesWhenItStopsGrowing)
{
    const QUrl base(QStringLiteral("http://cams.example/live/index.m3u8"));
    const auto media = [&base](qint64 first, int count, const QByteArray& tail = {}) {
        QByteArray text = "#EXTM3U\n#EXT-X-TARGETDURATION:2\n#EXT-X-MEDIA-SEQUENCE:" + QByteArray::number(first) + "\n";
        for (qint64 n = first; n < first + count; ++n)
            text += "#EXTINF:2.0,\nseg" + QByteArray::number(n) + ".ts\n";
        return ParseHlsPlaylist(text + tail, base);
    };
    const auto names = [](const QList<HlsSegment>& segments) {
        QStringList list;
        for (const HlsSegment& segment : segments)
            list << segment.url.fileName();
        return list.join(QLatin1Char(' ')).toStdString();
    };
    HlsFollow follow;
    EXPECT_EQ(names(follow.take(media(10, 5), 0, 100)), "seg13.ts seg14.ts");
    EXPECT_EQ(follow.targetMs(), 2000);
    EXPECT_EQ(follow.nextLoadMs(), 2000);
    EXPECT_EQ(names(follow.take(media(11, 5), 2000, 2100)), "seg15.ts");
    EXPECT_EQ(names(follow.take(media(11, 5), 4000, 4100)), "");
    EXPECT_EQ(follow.nextLoadMs(), 5000) << "unchanged: half the target duration";
    EXPECT_FALSE(follow.stalled(2100 + 6000));
    EXPECT_TRUE(follow.stalled(2100 + 6001));
    EXPECT_EQ(names(follow.take(media(20, 5), 9000, 9100)), "seg23.ts seg24.ts") << "fell behind";
    EXPECT_EQ(names(follow.take(media(0, 3), 11000, 11100)), "seg1.ts seg2.ts") << "the server began again";
    EXPECT_FALSE(follow.ended());
    EXPECT_EQ(names(follow.take(media(1, 3, "#EXT-X-ENDLIST\n"), 13000, 13100)), "seg3.ts");
    EXPECT_TRUE(follow.ended());
    // A hostile target duration cannot stretch the waits.
    HlsFollow slow;
    slow.take(ParseHlsPlaylist("#EXTM3U\n#EXT-X-TARGETDURATION:86400\n#EXTINF:1,\na.ts\n", base), 0, 0);
    EXPECT_EQ(slow.targetMs(), HlsFollow::kMostTargetSeconds * 1000);
}

// Fragmented MP4: each segment carries the #EXT-X-MAP in force where it is listed (a second one
// takes over from there), resolved as segments are, with its byte range; segments' byte ranges
// go on from the previous one when they name no offset. A map or segment that is no http(s)
// address, and a map or range that is malformed, refuse the playlist.
TEST(HlsPlaylist, ReadsEachSegmentsInitSectionAndByteRangesAndRefusesWhatCannotBeFetched)
{
    const QUrl base(QStringLiteral("https://cams.example/live/index.m3u8"));
    const HlsPlaylist media = ParseHlsPlaylist(
        "#EXTM3U\n#EXT-X-VERSION:7\n#EXTINF:1,\nold.ts\n#EXT-X-MAP:URI=\"init,a.mp4\"\n#EXTINF:1,\na_0.m4s\n"
        "#EXTINF:1,\na_1.m4s\n#EXT-X-MAP:BYTERANGE=\"808@0\",URI=\"http://other.example/all.mp4\"\n"
        "#EXT-X-BYTERANGE:1000@808\n#EXTINF:1,\nhttp://other.example/all.mp4\n"
        "#EXT-X-BYTERANGE: 500\n#EXTINF:1,\nhttp://other.example/all.mp4\n",
        base);
    ASSERT_EQ(media.problem, HlsPlaylist::Problem::None);
    ASSERT_EQ(media.segments.size(), 5);
    EXPECT_TRUE(media.segments[0].init.url.isEmpty()) << "before any map: MPEG-TS";
    const HlsResource first{QUrl(QStringLiteral("https://cams.example/live/init,a.mp4"))};
    EXPECT_EQ(media.segments[1].init, first);
    EXPECT_EQ(media.segments[2].init, first);
    EXPECT_EQ(media.segments[2].length, -1);
    const HlsResource second{QUrl(QStringLiteral("http://other.example/all.mp4")), 0, 808};
    EXPECT_EQ(media.segments[3].init, second);
    EXPECT_EQ(media.segments[4].init, second);
    EXPECT_EQ(media.segments[3].offset, 808);
    EXPECT_EQ(media.segments[3].length, 1000);
    EXPECT_EQ(media.segments[4].offset, 1808) << "after the previous range";
    EXPECT_EQ(media.segments[4].length, 500);
    EXPECT_EQ(RangeRequest(media.segments[4]), QByteArray("bytes=1808-2307"));
    EXPECT_EQ(RangeRequest(media.segments[2]), QByteArray());

    const auto problem = [&base](const QByteArray& lines) {
        return ParseHlsPlaylist("#EXTM3U\n" + lines + "#EXTINF:1,\na.m4s\n", base).problem;
    };
    using Problem = HlsPlaylist::Problem;
    EXPECT_EQ(problem("#EXT-X-MAP:URI=\"file:///etc/passwd\"\n"), Problem::NotHttp);
    EXPECT_EQ(problem("#EXT-X-MAP:URI=\"ftp://cams.example/init.mp4\"\n"), Problem::NotHttp);
    EXPECT_EQ(problem("#EXTINF:1,\nfoo:80/a.ts\n"), Problem::NotHttp);
    EXPECT_EQ(problem("#EXT-X-MAP:URI=\"init.mp4\n"), Problem::BadMapOrRange) << "a quote never closed";
    EXPECT_EQ(problem("#EXT-X-MAP:BYTERANGE=\"10@0\"\n"), Problem::BadMapOrRange) << "no address";
    EXPECT_EQ(problem("#EXT-X-MAP:URI=\"init.mp4\",BYTERANGE=\"x@0\"\n"), Problem::BadMapOrRange);
    EXPECT_EQ(problem("#EXT-X-BYTERANGE:0@10\n"), Problem::BadMapOrRange);
    EXPECT_EQ(problem("#EXT-X-BYTERANGE:10@-1\n"), Problem::BadMapOrRange);
    EXPECT_EQ(problem("#EXT-X-BYTERANGE:10@9999999999999999999\n"), Problem::BadMapOrRange);
    EXPECT_EQ(problem("#EXT-X-MAP:URI=\"init.mp4\",BYTERANGE=\"720\"\n"), Problem::None);

    // An answer to a range: a 206 of its length, or the range cut out of a whole 200.
    const HlsResource range{QUrl(QStringLiteral("http://cams.example/all.mp4")), 2, 3};
    EXPECT_EQ(TakeByteRange(range, 206, "cde"), QByteArray("cde"));
    EXPECT_EQ(TakeByteRange(range, 206, "cdef"), std::nullopt);
    EXPECT_EQ(TakeByteRange(range, 200, "abcdef"), QByteArray("cde"));
    EXPECT_EQ(TakeByteRange(range, 200, "abcd"), std::nullopt);
    EXPECT_EQ(TakeByteRange(HlsResource{range.url}, 200, "abcd"), QByteArray("abcd"));
}
