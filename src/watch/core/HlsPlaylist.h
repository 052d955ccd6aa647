#pragma once
// HLS playlists (RFC 8216) as far as a still needs them: a master playlist's variants, a media
// playlist's segments (MPEG-TS, or fragmented MP4 behind the initialisation section its
// #EXT-X-MAP names), and the limits that keep a hostile playlist from costing more than one
// cam's still.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>
#include <limits>
#include <optional>

// Whether the address is an HLS playlist by its path (".m3u8"), over http or https.
bool IsHlsAddress(const QString& address);
// Whether a Content-Type value names a playlist (application/vnd.apple.mpegurl, application/x-mpegURL).
bool IsPlaylistContentType(const QString& contentType);

struct HlsVariant {
    QUrl url;
    qint64 bandwidth = 0;
    int height = 0;     // 0: not said
    bool video = true;  // false when its CODECS name audio only
};

// What a playlist names to fetch: an address, or a byte range of it (#EXT-X-BYTERANGE, or an
// #EXT-X-MAP's BYTERANGE attribute).
struct HlsResource {
    QUrl url;
    qint64 offset = 0;
    qint64 length = -1;  // -1: the whole answer
    bool operator==(const HlsResource&) const = default;
};

struct HlsSegment : HlsResource {
    // The initialisation section (ftyp and moov) a fragmented-MP4 segment is read behind: the
    // #EXT-X-MAP in force where the segment is listed. An empty address: none (MPEG-TS).
    HlsResource init;
    bool operator==(const HlsSegment&) const = default;
};

struct HlsPlaylist {
    enum class Problem {
        None,
        NotAPlaylist,
        TooLarge,
        TooManyEntries,
        NoSegments,
        NoVideo,
        NotHttp,        // an address it names is not http(s) (a file, another protocol)
        BadMapOrRange,  // an #EXT-X-MAP without its address, or a byte range that is no count of bytes
        Encrypted       // the newest segment is encrypted (#EXT-X-KEY with a METHOD other than NONE)
    };
    Problem problem = Problem::None;
    bool master = false;
    QList<HlsVariant> variants;  // master
    QList<HlsSegment> segments;  // media, oldest first
    // Media, for following it live: the sequence number of its first segment, the longest a
    // segment lasts (0: not said), and whether it ends (no segment is added any more).
    qint64 mediaSequence = 0;
    int targetSeconds = 0;
    bool endList = false;
};

inline constexpr qsizetype kMaxPlaylistBytes = 1024 * 1024;
inline constexpr int kMaxPlaylistEntries = 10000;
inline constexpr qint64 kMaxSegmentBytes = qint64(64) * 1024 * 1024;
// An initialisation section is a few hundred bytes to a few KiB of boxes.
inline constexpr qint64 kMaxInitBytes = 1024 * 1024;
// A byte range's offset or length past this is not read (their sum must stay within a qint64).
inline constexpr qint64 kMostByteRangeValue = qint64(1) << 50;
// A larger media sequence number is taken as this one: following counts on from it by the
// segments listed, which must stay within a qint64.
inline constexpr qint64 kMaxMediaSequence = std::numeric_limits<qint64>::max() / 2;

// Reads a playlist fetched from `base` (relative addresses are resolved against it; each must be
// http or https).
HlsPlaylist ParseHlsPlaylist(const QByteArray& text, const QUrl& base);
// The Range header value that asks for the resource's bytes ("bytes=0-799"); empty: the whole.
QByteArray RangeRequest(const HlsResource& resource);
// The resource's bytes out of an answer with `status` to a request for it: a 206's body when it
// is as long as the range, the range cut out of a 200's whole body; nothing when the answer does
// not hold them.
std::optional<QByteArray> TakeByteRange(const HlsResource& resource, int status, QByteArray body);
// The variant to fetch for a picture shown `shownHeight` pixels high: the lowest bandwidth whose
// height is at least that, else the highest; variants without video are passed over. Null: none.
const HlsVariant* ChooseHlsVariant(const QList<HlsVariant>& variants, int shownHeight);

// A media playlist followed live: which of its segments are new at each load, and when to load it
// again (after its target duration when it grew, half of that when it did not). Pure: the caller
// passes the time.
class HlsFollow {
public:
    // A start takes the newest two segments: one plays while the next is fetched. So does a
    // follower that fell more than kMostBehind segments behind.
    static constexpr int kStartSegments = 2;
    static constexpr int kMostBehind = 3;
    // A longer target duration is taken as this (a hostile playlist cannot make the waits long).
    static constexpr int kMostTargetSeconds = 10;
    // No new segment within this many target durations: the playlist stopped growing.
    static constexpr int kStallTargets = 3;

    // The playlist whose load began at `loadStartMs` and ended at `nowMs`: the segments not yet
    // taken, oldest first.
    QList<HlsSegment> take(const HlsPlaylist& playlist, qint64 loadStartMs, qint64 nowMs);
    // When to begin the next load.
    qint64 nextLoadMs() const;
    // No new segment came for too long.
    bool stalled(qint64 nowMs) const { return nowMs - grewMs_ > kStallTargets * targetMs_; }
    // The playlist said it ends: nothing is added any more.
    bool ended() const { return ended_; }
    qint64 targetMs() const { return targetMs_; }

private:
    std::optional<qint64> next_;  // the sequence number of the first segment not yet taken
    qint64 targetMs_ = 6000;
    qint64 loadStartMs_ = 0;
    qint64 grewMs_ = 0;
    bool grew_ = false;
    bool ended_ = false;
};
