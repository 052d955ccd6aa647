#include "HlsPlaylist.h"

#include <QRegularExpression>
#include <optional>

bool IsHlsAddress(const QString& address)
{
    const QUrl url(address);
    const QString scheme = url.scheme().toLower();
    return (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
        url.path().endsWith(QLatin1String(".m3u8"), Qt::CaseInsensitive);
}

bool IsPlaylistContentType(const QString& contentType)
{
    const QString type = contentType.section(QLatin1Char(';'), 0, 0).trimmed();
    return type.compare(QLatin1String("application/vnd.apple.mpegurl"), Qt::CaseInsensitive) == 0 ||
        type.compare(QLatin1String("application/x-mpegurl"), Qt::CaseInsensitive) == 0 ||
        type.compare(QLatin1String("audio/mpegurl"), Qt::CaseInsensitive) == 0;
}

namespace {
// An attribute of an #EXT-X-STREAM-INF line: BANDWIDTH=1280000, RESOLUTION=640x360, CODECS="...".
QString Attribute(const QString& line, const QString& name)
{
    const QRegularExpression pattern(QStringLiteral("(?:^|,|:)%1=(\"[^\"]*\"|[^,]*)").arg(name));
    const auto match = pattern.match(line);
    if (!match.hasMatch())
        return {};
    QString value = match.captured(1);
    if (value.startsWith(QLatin1Char('"')))
        value = value.mid(1, value.size() - 2);
    return value;
}

// Whether a CODECS list names any video codec (avc1, hvc1, hev1, vp09, av01, ...), or says nothing.
bool HasVideo(const QString& codecs)
{
    if (codecs.isEmpty())
        return true;
    for (const QString& codec : codecs.split(QLatin1Char(','))) {
        const QString name = codec.trimmed().section(QLatin1Char('.'), 0, 0).toLower();
        if (name != QLatin1String("mp4a") && name != QLatin1String("ac-3") && name != QLatin1String("ec-3") &&
            name != QLatin1String("opus") && name != QLatin1String("flac") && name != QLatin1String("alac") &&
            name != QLatin1String("wvtt") && name != QLatin1String("stpp"))
            return true;
    }
    return false;
}
}  // namespace

HlsPlaylist ParseHlsPlaylist(const QByteArray& text, const QUrl& base)
{
    HlsPlaylist playlist;
    if (text.size() > kMaxPlaylistBytes) {
        playlist.problem = HlsPlaylist::Problem::TooLarge;
        return playlist;
    }
    const QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    if (lines.isEmpty() || !lines.first().trimmed().startsWith(QLatin1String("#EXTM3U"))) {
        playlist.problem = HlsPlaylist::Problem::NotAPlaylist;
        return playlist;
    }
    std::optional<HlsVariant> pending;  // an #EXT-X-STREAM-INF waiting for its address
    int entries = 0;
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1String("#EXT-X-STREAM-INF:"))) {
            HlsVariant variant;
            variant.bandwidth = Attribute(line, QStringLiteral("BANDWIDTH")).toLongLong();
            variant.height = Attribute(line, QStringLiteral("RESOLUTION")).section(QLatin1Char('x'), 1, 1).toInt();
            variant.video = HasVideo(Attribute(line, QStringLiteral("CODECS")));
            pending = variant;
            playlist.master = true;
            continue;
        }
        if (line.startsWith(QLatin1String("#EXT-X-MEDIA-SEQUENCE:")))
            playlist.mediaSequence =
                qBound<qint64>(0, line.section(QLatin1Char(':'), 1).toLongLong(), kMaxMediaSequence);
        else if (line.startsWith(QLatin1String("#EXT-X-TARGETDURATION:")))
            playlist.targetSeconds = qMax(0, line.section(QLatin1Char(':'), 1).toInt());
        else if (line == QLatin1String("#EXT-X-ENDLIST"))
            playlist.endList = true;
        if (line.startsWith(QLatin1Char('#')))
            continue;
        if (++entries > kMaxPlaylistEntries) {
            playlist.problem = HlsPlaylist::Problem::TooManyEntries;
            return playlist;
        }
        const QUrl url = base.resolved(QUrl(line));
        if (pending) {
            pending->url = url;
            playlist.variants << *pending;
            pending.reset();
        } else if (!playlist.master) {
            playlist.segments << url;
        }
    }
    if (playlist.master) {
        bool video = false;
        for (const HlsVariant& variant : playlist.variants)
            video = video || variant.video;
        if (!video)
            playlist.problem = HlsPlaylist::Problem::NoVideo;
    } else if (playlist.segments.isEmpty()) {
        playlist.problem = HlsPlaylist::Problem::NoSegments;
    }
    return playlist;
}

const HlsVariant* ChooseHlsVariant(const QList<HlsVariant>& variants, int shownHeight)
{
    const HlsVariant* lowestEnough = nullptr;
    const HlsVariant* highest = nullptr;
    for (const HlsVariant& variant : variants) {
        if (!variant.video || !variant.url.isValid())
            continue;
        if (!highest || variant.height > highest->height ||
            (variant.height == highest->height && variant.bandwidth > highest->bandwidth))
            highest = &variant;
        if (variant.height >= shownHeight && variant.height > 0 &&
            (!lowestEnough || variant.bandwidth < lowestEnough->bandwidth))
            lowestEnough = &variant;
    }
    return lowestEnough ? lowestEnough : highest;
}

QList<QUrl> HlsFollow::take(const HlsPlaylist& playlist, qint64 loadStartMs, qint64 nowMs)
{
    constexpr qint64 kUnsaidTargetMs = 6000;
    targetMs_ =
        playlist.targetSeconds > 0 ? qint64(qMin(playlist.targetSeconds, kMostTargetSeconds)) * 1000 : kUnsaidTargetMs;
    loadStartMs_ = loadStartMs;
    ended_ = playlist.endList;
    const qint64 first = playlist.mediaSequence;
    const qint64 newest = first + playlist.segments.size() - 1;
    const bool start = !next_;
    // A sequence that went back (the server began again), segments gone before they were taken,
    // or too many new ones: go on from the newest.
    if (start || *next_ > newest + 1 || *next_ < first || newest - *next_ + 1 > kMostBehind)
        next_ = qMax(first, newest - kStartSegments + 1);
    const QList<QUrl> taken = playlist.segments.mid(*next_ - first);
    next_ = newest + 1;
    grew_ = !taken.isEmpty();
    if (grew_ || start)
        grewMs_ = nowMs;
    return taken;
}

qint64 HlsFollow::nextLoadMs() const
{
    return loadStartMs_ + (grew_ ? targetMs_ : targetMs_ / 2);
}
