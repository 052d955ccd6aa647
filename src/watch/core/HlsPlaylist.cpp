#include "HlsPlaylist.h"

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
// An attribute of a tag's attribute list (what follows its ':'), such as BANDWIDTH=1280000,
// RESOLUTION=640x360 or CODECS="avc1.64001f,mp4a.40.2": a quoted value is taken whole, commas and
// all, without its quotes. Empty when it is not there, or when a quote before it never closes.
// One pass over the line: a hostile line costs no more than its length.
QString Attribute(QStringView line, QStringView name)
{
    qsizetype at = line.indexOf(QLatin1Char(':'));
    if (at < 0)
        return {};
    ++at;
    while (at < line.size()) {
        const qsizetype equals = line.indexOf(QLatin1Char('='), at);
        if (equals < 0)
            return {};
        const QStringView key = line.sliced(at, equals - at).trimmed();
        QStringView value;
        qsizetype next = -1;  // where the next attribute begins
        if (equals + 1 < line.size() && line[equals + 1] == QLatin1Char('"')) {
            const qsizetype close = line.indexOf(QLatin1Char('"'), equals + 2);
            if (close < 0)
                return {};
            value = line.sliced(equals + 2, close - equals - 2);
            next = line.indexOf(QLatin1Char(','), close + 1);
        } else {
            next = line.indexOf(QLatin1Char(','), equals + 1);
            value = line.sliced(equals + 1, (next < 0 ? line.size() : next) - equals - 1).trimmed();
        }
        if (key == name)
            return value.toString();
        if (next < 0)
            return {};
        at = next + 1;
    }
    return {};
}

// Whether a playlist may lead there: only http and https, to a host, are fetched.
bool Fetchable(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return (scheme == QLatin1String("http") || scheme == QLatin1String("https")) && !url.host().isEmpty();
}

// A byte range "<length>[@<offset>]"; without an offset it begins at `follows`. Nothing when it is
// not one (no count, nothing to read, past kMostByteRangeValue).
std::optional<HlsResource> ByteRange(QStringView text, qint64 follows)
{
    const qsizetype at = text.indexOf(QLatin1Char('@'));
    bool lengthOk = false;
    bool offsetOk = true;
    HlsResource range;
    range.length = (at < 0 ? text : text.first(at)).trimmed().toLongLong(&lengthOk);
    range.offset = at < 0 ? follows : text.sliced(at + 1).trimmed().toLongLong(&offsetOk);
    if (!lengthOk || !offsetOk || range.length <= 0 || range.length > kMostByteRangeValue || range.offset < 0 ||
        range.offset > kMostByteRangeValue)
        return std::nullopt;
    return range;
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
    std::optional<HlsResource> range;   // an #EXT-X-BYTERANGE waiting for its segment's address
    HlsResource init;                   // the #EXT-X-MAP in force
    // The #EXT-X-KEY in force encrypts, and so does the newest segment so far. Keys are not
    // fetched (a cam that encrypts is told so in words, not as a picture that does not decode).
    bool encrypted = false;
    bool newestEncrypted = false;
    int entries = 0;
    const auto refuse = [&playlist](HlsPlaylist::Problem problem) {
        playlist.problem = problem;
        return playlist;
    };
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1String("#EXT-X-MAP:"))) {
            const QString uri = Attribute(line, u"URI");
            const QString bytes = Attribute(line, u"BYTERANGE");
            const std::optional<HlsResource> mapRange = bytes.isEmpty() ? HlsResource() : ByteRange(bytes, 0);
            if (uri.isEmpty() || !mapRange)
                return refuse(HlsPlaylist::Problem::BadMapOrRange);
            init = *mapRange;
            init.url = base.resolved(QUrl(uri));
            if (!Fetchable(init.url))
                return refuse(HlsPlaylist::Problem::NotHttp);
            continue;
        }
        if (line.startsWith(QLatin1String("#EXT-X-BYTERANGE:"))) {
            // Without an offset the range follows the previous segment's, of the same address.
            const HlsSegment* previous = playlist.segments.isEmpty() ? nullptr : &playlist.segments.last();
            range = ByteRange(QStringView(line).sliced(line.indexOf(QLatin1Char(':')) + 1),
                              previous && previous->length > 0 ? previous->offset + previous->length : 0);
            if (!range)
                return refuse(HlsPlaylist::Problem::BadMapOrRange);
            continue;
        }
        if (line.startsWith(QLatin1String("#EXT-X-KEY:"))) {
            encrypted = Attribute(line, u"METHOD").compare(QLatin1String("NONE"), Qt::CaseInsensitive) != 0;
            continue;
        }
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
        if (!Fetchable(url))
            return refuse(HlsPlaylist::Problem::NotHttp);
        if (pending) {
            pending->url = url;
            playlist.variants << *pending;
            pending.reset();
        } else if (!playlist.master) {
            HlsSegment segment;
            static_cast<HlsResource&>(segment) = range.value_or(HlsResource());
            segment.url = url;
            segment.init = init;
            playlist.segments << segment;
            newestEncrypted = encrypted;
        }
        range.reset();
    }
    if (playlist.master) {
        bool video = false;
        for (const HlsVariant& variant : playlist.variants)
            video = video || variant.video;
        if (!video)
            playlist.problem = HlsPlaylist::Problem::NoVideo;
    } else if (playlist.segments.isEmpty()) {
        playlist.problem = HlsPlaylist::Problem::NoSegments;
    } else if (newestEncrypted) {
        playlist.problem = HlsPlaylist::Problem::Encrypted;
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

QList<HlsSegment> HlsFollow::take(const HlsPlaylist& playlist, qint64 loadStartMs, qint64 nowMs)
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
    const QList<HlsSegment> taken = playlist.segments.mid(*next_ - first);
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

QByteArray RangeRequest(const HlsResource& resource)
{
    if (resource.length < 0)
        return {};
    return "bytes=" + QByteArray::number(resource.offset) + '-' +
        QByteArray::number(resource.offset + resource.length - 1);
}

std::optional<QByteArray> TakeByteRange(const HlsResource& resource, int status, QByteArray body)
{
    if (resource.length < 0)
        return body;
    if (status == 206)
        return body.size() == resource.length ? std::optional<QByteArray>(std::move(body)) : std::nullopt;
    // A server that does not serve ranges answers with the whole.
    if (body.size() < resource.offset + resource.length)
        return std::nullopt;
    return body.mid(resource.offset, resource.length);
}
