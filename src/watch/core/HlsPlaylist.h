#pragma once
// HLS playlists (RFC 8216) as far as a still needs them: a master playlist's variants, a media
// playlist's segments, and the limits that keep a hostile playlist from costing more than one
// cam's still.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

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

struct HlsPlaylist {
    enum class Problem { None, NotAPlaylist, TooLarge, TooManyEntries, NoSegments, NoVideo };
    Problem problem = Problem::None;
    bool master = false;
    QList<HlsVariant> variants;  // master
    QList<QUrl> segments;        // media, oldest first
};

inline constexpr qsizetype kMaxPlaylistBytes = 1024 * 1024;
inline constexpr int kMaxPlaylistEntries = 10000;
inline constexpr qint64 kMaxSegmentBytes = qint64(64) * 1024 * 1024;

// Reads a playlist fetched from `base` (relative addresses are resolved against it).
HlsPlaylist ParseHlsPlaylist(const QByteArray& text, const QUrl& base);
// The variant to fetch for a picture shown `shownHeight` pixels high: the lowest bandwidth whose
// height is at least that, else the highest; variants without video are passed over. Null: none.
const HlsVariant* ChooseHlsVariant(const QList<HlsVariant>& variants, int shownHeight);
