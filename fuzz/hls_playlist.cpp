// HLS playlists come from any server, one load after another: reading them must never crash,
// what is read must agree with itself, and following a live playlist must take each segment
// at most once, a few at a time, at waits the playlist cannot stretch.
#include <fuzzer/FuzzedDataProvider.h>

#include <optional>

#include "FuzzSupport.h"
#include "HlsPlaylist.h"

namespace {
void CheckPlaylist(const HlsPlaylist& playlist, const QString& text)
{
    FUZZ_CHECK(playlist.variants.size() + playlist.segments.size() <= kMaxPlaylistEntries, text);
    FUZZ_CHECK(playlist.mediaSequence >= 0 && playlist.targetSeconds >= 0, text);
    // Segments before a variant stay listed, but a master playlist is read for its variants only.
    FUZZ_CHECK(playlist.master || playlist.variants.isEmpty(), text);
    // Whatever is to be fetched is http(s), and a byte range is one: a count from an offset.
    const auto fetchable = [](const QUrl& url) {
        return (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")) &&
            !url.host().isEmpty();
    };
    const auto range = [](const HlsResource& resource) {
        if (resource.length == -1)
            return resource.offset == 0 && RangeRequest(resource).isEmpty();
        return resource.length > 0 && resource.length <= kMostByteRangeValue && resource.offset >= 0 &&
            resource.offset <= kMostByteRangeValue && RangeRequest(resource).startsWith("bytes=");
    };
    for (const HlsVariant& variant : playlist.variants)
        FUZZ_CHECK(fetchable(variant.url), variant.url.toString());
    for (const HlsSegment& segment : playlist.segments) {
        FUZZ_CHECK(fetchable(segment.url) && range(segment), segment.url.toString());
        FUZZ_CHECK(segment.init.url.isEmpty() ? segment.init == HlsResource() : fetchable(segment.init.url),
                   segment.init.url.toString());
        FUZZ_CHECK(range(segment.init), text);
    }
    if (playlist.problem != HlsPlaylist::Problem::None)
        return;
    bool video = false;
    for (const HlsVariant& variant : playlist.variants)
        video = video || variant.video;
    FUZZ_CHECK(playlist.master ? video : !playlist.segments.isEmpty(), text);
}

void CheckChoice(const QList<HlsVariant>& variants, int shownHeight)
{
    const HlsVariant* chosen = ChooseHlsVariant(variants, shownHeight);
    bool usable = false;
    for (const HlsVariant& variant : variants)
        usable = usable || (variant.video && variant.url.isValid());
    FUZZ_CHECK((chosen != nullptr) == usable, QString::number(shownHeight));
    if (!chosen)
        return;
    FUZZ_CHECK(chosen >= variants.constData() && chosen < variants.constData() + variants.size(), QString());
    FUZZ_CHECK(chosen->video && chosen->url.isValid(), chosen->url.toString());
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const int shownHeight = input.ConsumeIntegralInRange(0, 4320);
    const QUrl base(QStringLiteral("https://cam.example/live/index.m3u8"));
    HlsFollow follow;
    qint64 loadStartMs = 1000;
    std::optional<qint64> newestBefore;  // the sequence number of the previous load's newest segment
    // Several loads of the same address, as a live cam's playlist is fetched again and again.
    for (int load = 0; load < 4 && input.remaining_bytes() > 0; ++load) {
        const QByteArray bytes = QByteArray::fromStdString(input.ConsumeRandomLengthString(4096));
        const QString text = QString::fromUtf8(bytes);
        const HlsPlaylist playlist = ParseHlsPlaylist(bytes, base);
        CheckPlaylist(playlist, text);
        if (playlist.master) {
            CheckChoice(playlist.variants, shownHeight);
            continue;
        }
        const qint64 nowMs = loadStartMs + input.ConsumeIntegralInRange(0, 5000);
        const bool start = !newestBefore;
        const QList<HlsSegment> taken = follow.take(playlist, loadStartMs, nowMs);
        // The newest segments, never more than a start or a follower that fell behind takes.
        const qsizetype count = playlist.segments.size();
        FUZZ_CHECK(taken.size() <= (start ? HlsFollow::kStartSegments : HlsFollow::kMostBehind), text);
        FUZZ_CHECK(taken == playlist.segments.mid(count - taken.size()), text);
        const qint64 newest = playlist.mediaSequence + count - 1;
        // A playlist that went on from the last load gives only segments after those seen then.
        if (newestBefore && newest >= *newestBefore)
            FUZZ_CHECK(newest - taken.size() + 1 > *newestBefore, text);
        newestBefore = newest;
        FUZZ_CHECK(follow.ended() == playlist.endList, text);
        FUZZ_CHECK(follow.targetMs() > 0 && follow.targetMs() <= HlsFollow::kMostTargetSeconds * 1000, text);
        const qint64 wait = follow.nextLoadMs() - loadStartMs;
        FUZZ_CHECK(wait >= follow.targetMs() / 2 && wait <= follow.targetMs(), QString::number(wait));
        // A start or a load that brought something is growth, not a stall.
        if (start || !taken.isEmpty())
            FUZZ_CHECK(!follow.stalled(nowMs), text);
        loadStartMs = follow.nextLoadMs();
    }
    return 0;
}
