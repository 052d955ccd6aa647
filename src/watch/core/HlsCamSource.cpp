#include "HlsCamSource.h"

#include <limits>

#include "HlsPlaylist.h"
#include "HttpCamSource.h"
#include "HttpHeader.h"
#include "StreamCamSource.h"
#include "Translations.h"

namespace {
// What is wrong with a playlist, in the health's words; empty: nothing.
QString ProblemWords(HlsPlaylist::Problem problem)
{
    switch (problem) {
    case HlsPlaylist::Problem::None:
        break;
    case HlsPlaylist::Problem::NotAPlaylist:
        return TranslatedText("CamHealth", "not an HLS playlist");
    case HlsPlaylist::Problem::TooLarge:
        return TranslatedText("CamHealth", "HLS playlist larger than 1 MiB");
    case HlsPlaylist::Problem::TooManyEntries:
        return TranslatedText("CamHealth", "HLS playlist with more than 10000 entries");
    case HlsPlaylist::Problem::NoSegments:
        return TranslatedText("CamHealth", "HLS playlist without segments");
    case HlsPlaylist::Problem::NoVideo:
        return TranslatedText("CamHealth", "HLS playlist without video");
    case HlsPlaylist::Problem::NotHttp:
        return TranslatedText("CamHealth", "HLS playlist names an address that cannot be fetched over http or https");
    case HlsPlaylist::Problem::BadMapOrRange:
        return TranslatedText("CamHealth", "HLS playlist with a malformed EXT-X-MAP or EXT-X-BYTERANGE tag");
    case HlsPlaylist::Problem::Encrypted:
        return TranslatedText("CamHealth", "HLS stream is encrypted (EXT-X-KEY): not supported");
    }
    return {};
}

// An answer that carries no playlist or segment: an HTTP problem, which the cam tells in the
// words of any picture address.
bool HttpProblem(const CamAnswer& answer)
{
    const int status = StatusCodeOf(answer.response.header);
    return answer.kind != FetchOutcomeKind::None || status < 200 || status > 299 || !answer.headerComplete;
}
}  // namespace

struct HlsCamSource::Decode {
    std::atomic<bool> abandon{false};
    bool current = true;
};

// One live stream: its thread reads `abandon`, `stillWanted` and `feed` and fills `frames`; the
// window's thread alone touches the rest.
struct HlsCamSource::Live {
    enum Load { Playlist, Variant, Media, Init, Segment };
    std::atomic<bool> abandon{false};
    std::atomic<bool> stillWanted{false};  // the next frame is the current fetch's still
    LiveFeed feed{kMaxSegmentBytes};
    LiveFrameBox frames;
    QString address;
    bool current = false;     // a fetch awaits its still from here
    bool threadRuns = false;  // its decoding job runs (or waits its turn)
    bool loading = false;     // the inner HTTP source loads for it
    int load = Playlist;
    int loads = 0;
    QUrl url;    // being loaded
    QUrl media;  // the media playlist followed
    QSet<QUrl> visited;
    HlsFollow follow;
    QList<HlsSegment> segments;  // listed, not yet fetched
    HlsSegment segment;          // being fetched (its init section first, when not kept)
    qint64 loadStartMs = 0;
};

HlsCamSource::HlsCamSource(CamSourceEvents& events, const FetchOptions& options, std::function<qint64()> monotonicMs,
                           std::function<int()> shownHeight, std::function<qint32()> refreshSeconds, QObject* parent)
    : CamSource(events, parent), monotonicMs_(monotonicMs), shownHeight_(std::move(shownHeight)),
      refreshSeconds_(std::move(refreshSeconds))
{
    CamSourceEvents& inner = *this;
    http_ = std::make_unique<HttpCamSource>(inner, options, std::move(monotonicMs), this);
    liveTimer_.setSingleShot(true);
    connect(&liveTimer_, &QTimer::timeout, this, &HlsCamSource::LiveTimer);
}

HlsCamSource::~HlsCamSource()
{
    if (decode_)
        decode_->abandon = true;
    if (live_) {
        live_->abandon = true;
        live_->feed.cancel();
    }
    thread_.finish();
    liveThread_.finish();
}

bool HlsCamSource::start(const QString& address)
{
    stop();
    const QUrl url(address);
    if (!url.isValid() || !SplitCamUrl(address))
        return false;
    if (live_ && live_->address != address)
        EndLive(false, {});
    if (live_ && live_->address == address) {
        // The live stream's next frame is the still.
        events_.SourcePhase(FetchPhase::Keyframe);
        live_->current = true;
        live_->stillWanted = true;
        return true;
    }
    if (!live_ && address == liveAddress_) {
        OpenLive(address, true);  // what failed is tried again at the refresh
        return true;
    }
    stillAddress_ = address;
    visited_.clear();
    Fetch({url}, Stage::Playlist);
    return true;
}

void HlsCamSource::stop()
{
    StopStill();
    if (live_ && live_->current) {
        live_->current = false;
        live_->stillWanted = false;  // the stream stays open for the Viewer
    }
}

void HlsCamSource::StopStill()
{
    ++fetches_;
    if (stage_ != Stage::Idle && stage_ != Stage::Decoding)
        http_->stop();
    stage_ = Stage::Idle;
    if (decode_) {
        decode_->current = false;
        decode_->abandon = true;
    }
}

bool HlsCamSource::LiveLoading() const
{
    return live_ && live_->loading;
}

std::optional<FetchOutcome> HlsCamSource::cutShort(double seconds) const
{
    Q_UNUSED(seconds);
    if (!live_ || !live_->current)
        return std::nullopt;
    FetchOutcome outcome;
    outcome.kind = FetchOutcomeKind::StreamNoAnswer;
    outcome.seconds = LiveDeadlineSeconds();
    return outcome;
}

RunningFetch HlsCamSource::runningFetch() const
{
    return stage_ == Stage::Segment ? http_->runningFetch() : RunningFetch{};
}

qint64 HlsCamSource::lastBodyByteMs() const
{
    return stage_ == Stage::Segment ? http_->lastBodyByteMs() : -1;
}

QStringList HlsCamSource::redirectHops() const
{
    return http_->redirectHops();
}

void HlsCamSource::Fetch(const HlsResource& what, Stage stage)
{
    stage_ = stage;
    current_ = what.url;
    if (stage == Stage::Playlist || stage == Stage::Variant)
        visited_.insert(what.url);
    Piece piece = Piece::Playlist;
    QString words = TranslatedText("CamHealth", "fetching the playlist");
    if (stage == Stage::Init) {
        piece = Piece::Init;
        words = TranslatedText("CamHealth", "fetching the segment's init section");
    } else if (stage == Stage::Segment) {
        piece = Piece::Segment;
        words = TranslatedText("CamHealth", "fetching the newest segment");
    }
    events_.SourceStep(words, 0.0f);
    if (!Load(what, piece, &newest_))
        Fail(ProblemWords(HlsPlaylist::Problem::NotHttp));
}

bool HlsCamSource::Load(const HlsResource& what, Piece piece, const HlsSegment* segment)
{
    piece_ = what;
    pieceKind_ = piece;
    pieceInit_.clear();
    if (piece == Piece::Segment && segment && !segment->init.url.isEmpty() && !NeedsInit(*segment))
        pieceInit_ = init_->bytes;
    qint64 bound = kMaxPlaylistBytes;
    if (piece != Piece::Playlist)
        bound = piece == Piece::Init ? kMaxInitBytes : kMaxSegmentBytes;
    // The limit counts the header too. A server without ranges answers with the whole, which is
    // read up to the range's end.
    if (what.length >= 0)
        bound = qMin(bound, what.offset + what.length + HttpResponseAssembler::kMaxHeaderBytes);
    http_->setAnswerLimit(bound);
    http_->setRange(RangeRequest(what));
    return http_->start(what.url.toString(QUrl::FullyEncoded));
}

bool HlsCamSource::NeedsInit(const HlsSegment& segment) const
{
    return !segment.init.url.isEmpty() && !(init_ && init_->where == segment.init);
}

void HlsCamSource::FetchNewest()
{
    if (NeedsInit(newest_))
        return Fetch(newest_.init, Stage::Init);
    Fetch(newest_, Stage::Segment);
}

void HlsCamSource::SourcePhase(FetchPhase phase)
{
    if (!LiveLoading())
        events_.SourcePhase(phase);
}

void HlsCamSource::SourceProgress(float percent, const QString& fileName)
{
    if (stage_ == Stage::Segment && !LiveLoading())
        events_.SourceProgress(percent, fileName);
}

void HlsCamSource::SourceStep(const QString& words, float percent)
{
    if (!LiveLoading())
        events_.SourceStep(words, percent);
}

void HlsCamSource::SourceSettle()
{
    if (!LiveLoading())
        events_.SourceSettle();
}

void HlsCamSource::SourceUnchanged(int status)
{
    if (!LiveLoading())
        events_.SourceUnchanged(status);
}

void HlsCamSource::SourceFailed(const FetchOutcome& outcome, bool notFound)
{
    const bool live = LiveLoading();
    std::function<void()> tell = [this, outcome, notFound] { events_.SourceFailed(outcome, notFound); };
    if (outcome.kind == FetchOutcomeKind::TooLarge && outcome.tooLarge == FetchOutcome::Part::Answer)
        tell = [this, piece = pieceKind_] {
            if (piece == Piece::Segment)
                Fail(TranslatedText("CamHealth", "HLS segment larger than 64 MiB"));
            else if (piece == Piece::Init)
                Fail(TranslatedText("CamHealth", "HLS init section larger than 1 MiB"));
            else
                Fail(TranslatedText("CamHealth", "HLS playlist larger than 1 MiB"));
        };
    if (live) {
        live_->loading = false;
        EndLive(true, tell);
        return;
    }
    stage_ = Stage::Idle;
    tell();
}

void HlsCamSource::SourceAnswered(CamAnswer answer)
{
    if (HttpProblem(answer)) {
        // Not found, sign-in refused, a redirect not followed: the cam says it in the words of
        // any picture address.
        answer.response.isImage = false;
        if (LiveLoading()) {
            live_->loading = false;
            EndLive(true, [this, answer] { events_.SourceAnswered(answer); });
            return;
        }
        stage_ = Stage::Idle;
        events_.SourceAnswered(std::move(answer));
        return;
    }
    // The range asked for; a segment behind its init section.
    std::optional<QByteArray> bytes =
        TakeByteRange(piece_, StatusCodeOf(answer.response.header), std::move(answer.response.body));
    if (!bytes) {
        const auto tell = [this] {
            Fail(TranslatedText("CamHealth", "the HLS server's answer does not hold the byte range asked for"));
        };
        if (LiveLoading()) {
            live_->loading = false;
            return EndLive(true, tell);
        }
        return tell();
    }
    if (pieceKind_ == Piece::Init)
        init_ = InitSection{piece_, *bytes};
    if (!pieceInit_.isEmpty())
        bytes->prepend(pieceInit_);
    answer.response.body = std::move(*bytes);
    if (stage_ == Stage::Init && !LiveLoading()) {
        QMetaObject::invokeMethod(
            this,
            [this, fetch = fetches_] {
                if (fetch == fetches_)
                    FetchNewest();
            },
            Qt::QueuedConnection);
        return;
    }
    // Go on from the event loop: this runs inside the HTTP source's own handling of the close.
    if (LiveLoading()) {
        liveTimer_.stop();
        live_->loading = false;
        QMetaObject::invokeMethod(
            this,
            [this, live = live_, loads = live_->loads, body = std::move(answer.response.body)] {
                if (live_ == live && live->loads == loads)
                    LiveTake(body);
            },
            Qt::QueuedConnection);
        return;
    }
    const quint64 fetch = fetches_;
    QMetaObject::invokeMethod(
        this,
        [this, fetch, body = std::move(answer.response.body)] {
            if (fetch != fetches_)
                return;
            if (stage_ == Stage::Segment) {
                stage_ = Stage::Decoding;
                events_.SourcePhase(FetchPhase::Keyframe);
                events_.SourceStep(TranslatedText("CamHealth", "decoding the keyframe"), 67.0f);
                auto decode = std::make_shared<Decode>();
                decode_ = decode;
                thread_.post([this, decode, body] {
                    const StreamStill still = DecodeFirstKeyframe(body, decode->abandon);
                    QMetaObject::invokeMethod(
                        this, [this, decode, still] { Decoded(decode, still); }, Qt::QueuedConnection);
                });
                return;
            }
            TakePlaylist(body);
        },
        Qt::QueuedConnection);
}

void HlsCamSource::TakePlaylist(const QByteArray& body)
{
    const HlsPlaylist playlist = ParseHlsPlaylist(body, current_);
    if (playlist.problem != HlsPlaylist::Problem::None)
        return Fail(ProblemWords(playlist.problem));
    if (!playlist.master) {
        newest_ = playlist.segments.last();
        return FetchNewest();
    }
    // A master playlist leads to media playlists, never to another master nor back.
    const HlsVariant* variant = ChooseHlsVariant(playlist.variants, shownHeight_ ? shownHeight_() : 0);
    if (stage_ != Stage::Playlist || !variant || visited_.contains(variant->url))
        return Fail(TranslatedText("CamHealth", "HLS playlist loop"));
    Fetch({variant->url}, Stage::Variant);
}

void HlsCamSource::Fail(const QString& words)
{
    stage_ = Stage::Idle;
    http_->stop();
    FetchOutcome outcome;
    outcome.kind = FetchOutcomeKind::StreamProblem;
    outcome.detail = words;
    events_.SourceSettle();
    events_.SourcePhase(FetchPhase::Done);
    events_.SourceFailed(outcome, false);
}

void HlsCamSource::Decoded(const std::shared_ptr<Decode>& decode, const StreamStill& still)
{
    if (decode_ == decode)
        decode_.reset();
    if (!decode->current)
        return;
    stage_ = Stage::Idle;
    Tell(still, TranslatedText("CamHealth", "keyframe decoded"));
}

void HlsCamSource::Tell(const StreamStill& still, const QString& doneWords)
{
    using Status = StreamStill::Status;
    switch (still.status) {
    case Status::Picture: {
        events_.SourceSettle();
        events_.SourceStep(doneWords, 100.0f);
        events_.SourceAnswered(StillAnswer(still));
        return;
    }
    case Status::Abandoned:
        return;
    case Status::NoVideo:
        return Fail(TranslatedText("CamHealth", "HLS playlist without video"));
    case Status::CodecNotSupported:
    case Status::TooLarge: {
        FetchOutcome outcome;
        outcome.kind =
            still.status == Status::TooLarge ? FetchOutcomeKind::StreamTooLarge : FetchOutcomeKind::CodecNotSupported;
        outcome.detail = still.codec;
        outcome.pictureSize = still.size;
        events_.SourceSettle();
        events_.SourcePhase(FetchPhase::Done);
        events_.SourceFailed(outcome, false);
        return;
    }
    default:
        return Fail(TranslatedText("CamHealth", "the HLS segment holds no whole keyframe"));
    }
}

qint32 HlsCamSource::LiveDeadlineSeconds() const
{
    const qint32 refresh = refreshSeconds_ ? refreshSeconds_() : StreamCamSource::kMostSeconds;
    const qint32 deadline = refresh > 0 ? qMin(refresh, StreamCamSource::kMostSeconds) : StreamCamSource::kMostSeconds;
    // Once the playlist said its target duration (10 s at most), a load may take that long: a
    // segment that lasts longer than the refresh interval is not late for it.
    if (live_ && !live_->media.isEmpty())
        return qMax(deadline, qint32(live_->follow.targetMs() / 1000));
    return deadline;
}

void HlsCamSource::setLive(const QString& address)
{
    if (address == liveAddress_)
        return;
    liveAddress_ = address;
    liveFailed_ = false;
    if (live_)
        EndLive(false, {});  // a still it owed is fetched the ordinary way, or by what opens next
    if (address.isEmpty())
        return;
    // A still on its way the ordinary way gives way: the live stream brings it.
    const bool stillAwaited = stage_ != Stage::Idle;
    StopStill();
    OpenLive(address, stillAwaited);
}

bool HlsCamSource::live() const
{
    return live_ && !live_->abandon;
}

void HlsCamSource::OpenLive(const QString& address, bool stillAwaited)
{
    auto live = std::make_shared<Live>();
    live->address = address;
    live->current = stillAwaited;
    live->stillWanted = stillAwaited;
    live_ = live;
    liveFailed_ = false;
    LiveLoad({QUrl(address)}, Live::Playlist);
}

void HlsCamSource::LiveLoad(const HlsResource& what, int load)
{
    Live& live = *live_;
    live.load = load;
    live.url = what.url;
    live.loading = true;
    ++live.loads;
    ++liveLoads_;
    Piece piece = Piece::Playlist;
    if (load == Live::Init || load == Live::Segment) {
        piece = load == Live::Init ? Piece::Init : Piece::Segment;
    } else {
        live.visited.insert(what.url);
        live.loadStartMs = monotonicMs_();
    }
    liveTimer_.start(LiveDeadlineSeconds() * 1000);
    if (!Load(what, piece, &live.segment)) {
        live.loading = false;
        EndLive(true, [this] { Fail(TranslatedText("CamHealth", "not an HLS playlist")); });
    }
}

void HlsCamSource::LiveTake(const QByteArray& body)
{
    Live& live = *live_;
    if (live.load == Live::Init)
        return LiveLoad(live.segment, Live::Segment);  // the init section is kept: init_
    if (live.load == Live::Segment) {
        live.feed.push(body);
        if (!live.threadRuns)
            LaunchLive();
        LiveNext();
        return;
    }
    const HlsPlaylist playlist = ParseHlsPlaylist(body, live.url);
    if (playlist.problem != HlsPlaylist::Problem::None)
        return EndLive(true, [this, words = ProblemWords(playlist.problem)] { Fail(words); });
    if (playlist.master) {
        // The Viewer shows the picture at its own size: the highest variant.
        const HlsVariant* variant = ChooseHlsVariant(playlist.variants, std::numeric_limits<int>::max());
        if (live.load != Live::Playlist || !variant || live.visited.contains(variant->url))
            return EndLive(true, [this] { Fail(TranslatedText("CamHealth", "HLS playlist loop")); });
        return LiveLoad({variant->url}, Live::Variant);
    }
    live.media = live.url;
    live.segments += live.follow.take(playlist, live.loadStartMs, monotonicMs_());
    LiveNext();
}

void HlsCamSource::LiveNext()
{
    Live& live = *live_;
    if (!live.segments.isEmpty()) {
        live.segment = live.segments.takeFirst();
        if (NeedsInit(live.segment))
            return LiveLoad(live.segment.init, Live::Init);
        return LiveLoad(live.segment, Live::Segment);
    }
    if (live.follow.ended()) {
        // The segments fed are played to their end; then the stream closes.
        live.feed.finish();
        if (!live.threadRuns)
            EndLive(true, [this] { Fail(TranslatedText("CamHealth", "the HLS stream ended")); });
        return;
    }
    const qint64 now = monotonicMs_();
    if (live.follow.stalled(now))
        return EndLive(true, [this] { Fail(TranslatedText("CamHealth", "the HLS playlist stopped growing")); });
    liveTimer_.start(qMax<qint64>(0, live.follow.nextLoadMs() - now));
}

void HlsCamSource::LiveTimer()
{
    if (!live_)
        return;
    if (!live_->loading)
        return LiveLoad({live_->media}, Live::Media);
    // The load's deadline passed: a server that stalls costs the live stream, never a wait.
    http_->stop();
    live_->loading = false;
    FetchOutcome outcome;
    outcome.kind = FetchOutcomeKind::StreamNoAnswer;
    outcome.seconds = LiveDeadlineSeconds();
    outcome.refreshSeconds = outcome.seconds;
    EndLive(true, [this, outcome] {
        events_.SourceSettle();
        events_.SourcePhase(FetchPhase::Done);
        events_.SourceFailed(outcome, false);
    });
}

void HlsCamSource::LaunchLive()
{
    const std::shared_ptr<Live> live = live_;
    live->threadRuns = true;
    StreamGrabRequest request;
    request.maxBytes = kMaxSegmentBytes;  // read at most before a keyframe
    // The destructor ends the thread, so the source outlives every call below; an event still
    // queued when it goes is dropped with it.
    liveThread_.post([this, live, request] {
        LiveStreamCalls calls;
        calls.step = [](StreamStep) {};
        calls.frame = [this, live](const QImage& frame) {
            if (live->frames.put(frame))
                QMetaObject::invokeMethod(
                    this, [this, live] { TakeFrame(live); }, Qt::QueuedConnection);
        };
        calls.stillWanted = [live] { return live->stillWanted.exchange(false); };
        calls.still = [this, live](const StreamStill& still) {
            QMetaObject::invokeMethod(
                this, [this, live, still] { LiveStill(live, still); }, Qt::QueuedConnection);
        };
        const StreamStill ended = RunLiveFeed(live->feed, request, live->abandon, calls);
        QMetaObject::invokeMethod(
            this, [this, live, ended] { LiveFinished(live, ended); }, Qt::QueuedConnection);
    });
}

void HlsCamSource::EndLive(bool failed, const std::function<void()>& tell)
{
    const std::shared_ptr<Live> live = live_;
    if (!live)
        return;
    live_.reset();
    if (live->loading) {
        live->loading = false;
        http_->stop();
    }
    liveTimer_.stop();
    live->abandon = true;
    live->feed.cancel();
    liveFailed_ = failed;
    if (live->current) {
        live->current = false;
        if (failed) {
            tell();
        } else {
            // No longer live: the still comes the ordinary way.
            stillAddress_ = live->address;
            visited_.clear();
            Fetch({QUrl(live->address)}, Stage::Playlist);
        }
    }
    if (!live->threadRuns)
        QMetaObject::invokeMethod(
            this, [this] { Q_EMIT liveClosed(); }, Qt::QueuedConnection);
    // else LiveFinished() tells the close once the thread ended.
}

void HlsCamSource::LiveFinished(const std::shared_ptr<Live>& live, const StreamStill& ended)
{
    live->threadRuns = false;
    if (live_ == live)  // it ended by itself: the segments fed ran out or did not decode
        EndLive(true, [this, ended] {
            if (ended.status == StreamStill::Status::Ended)
                Fail(TranslatedText("CamHealth", "the HLS stream ended"));
            else
                Tell(ended, {});
        });
    else
        Q_EMIT liveClosed();
}

void HlsCamSource::TakeFrame(const std::shared_ptr<Live>& live)
{
    const QImage frame = live->frames.take();
    if (live_ == live && !frame.isNull())
        Q_EMIT liveFrame(frame);
}

void HlsCamSource::LiveStill(const std::shared_ptr<Live>& live, const StreamStill& still)
{
    if (live_ != live || !live->current)
        return;  // the fetch it was for was stopped
    live->current = false;
    Tell(still, TranslatedText("CamHealth", "picture taken from the live stream"));
}
