#include "HlsCamSource.h"

#include "HlsPlaylist.h"
#include "HttpCamSource.h"
#include "HttpHeader.h"
#include "StreamCamSource.h"
#include "Translations.h"

struct HlsCamSource::Decode {
    std::atomic<bool> abandon{false};
    bool current = true;
};

HlsCamSource::HlsCamSource(CamSourceEvents& events, const FetchOptions& options, std::function<qint64()> monotonicMs,
                           std::function<int()> shownHeight, QObject* parent)
    : CamSource(events, parent), shownHeight_(std::move(shownHeight))
{
    CamSourceEvents& inner = *this;
    http_ = std::make_unique<HttpCamSource>(inner, options, std::move(monotonicMs), this);
}

HlsCamSource::~HlsCamSource()
{
    if (decode_)
        decode_->abandon = true;
    if (thread_.joinable())
        thread_.join();
}

bool HlsCamSource::start(const QString& address)
{
    stop();
    const QUrl url(address);
    if (!url.isValid() || !SplitCamUrl(address))
        return false;
    visited_.clear();
    Fetch(url, Stage::Playlist);
    return true;
}

void HlsCamSource::stop()
{
    ++fetches_;
    stage_ = Stage::Idle;
    http_->stop();
    if (decode_) {
        decode_->current = false;
        decode_->abandon = true;
    }
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

void HlsCamSource::Fetch(const QUrl& url, Stage stage)
{
    stage_ = stage;
    current_ = url;
    if (stage != Stage::Segment)
        visited_.insert(url);
    http_->setAnswerLimit(stage == Stage::Segment ? kMaxSegmentBytes : kMaxPlaylistBytes);
    events_.SourceStep(stage == Stage::Segment ? TranslatedText("CamHealth", "fetching the newest segment")
                                               : TranslatedText("CamHealth", "fetching the playlist"),
                       0.0f);
    http_->start(url.toString(QUrl::FullyEncoded));
}

void HlsCamSource::SourceProgress(float percent, const QString& fileName)
{
    if (stage_ == Stage::Segment)
        events_.SourceProgress(percent, fileName);
}

void HlsCamSource::SourceFailed(const FetchOutcome& outcome, bool notFound)
{
    const Stage stage = stage_;
    stage_ = Stage::Idle;
    if (outcome.kind == FetchOutcomeKind::TooLarge && outcome.tooLarge == FetchOutcome::Part::Answer) {
        Fail(stage == Stage::Segment ? TranslatedText("CamHealth", "HLS segment larger than 64 MiB")
                                     : TranslatedText("CamHealth", "HLS playlist larger than 1 MiB"));
        return;
    }
    events_.SourceFailed(outcome, notFound);
}

void HlsCamSource::SourceAnswered(CamAnswer answer)
{
    const int status = StatusCodeOf(answer.response.header);
    if (answer.kind != FetchOutcomeKind::None || status < 200 || status > 299 || !answer.headerComplete) {
        // An HTTP problem (not found, sign-in refused, a redirect not followed): the cam says it
        // in the words of any picture address.
        answer.response.isImage = false;
        stage_ = Stage::Idle;
        events_.SourceAnswered(std::move(answer));
        return;
    }
    // Go on from the event loop: this runs inside the HTTP source's own handling of the close.
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
                if (thread_.joinable())
                    thread_.join();
                auto decode = std::make_shared<Decode>();
                decode_ = decode;
                thread_ = std::thread([this, decode, body] {
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
    switch (playlist.problem) {
    case HlsPlaylist::Problem::None:
        break;
    case HlsPlaylist::Problem::NotAPlaylist:
        return Fail(TranslatedText("CamHealth", "not an HLS playlist"));
    case HlsPlaylist::Problem::TooLarge:
        return Fail(TranslatedText("CamHealth", "HLS playlist larger than 1 MiB"));
    case HlsPlaylist::Problem::TooManyEntries:
        return Fail(TranslatedText("CamHealth", "HLS playlist with more than 10000 entries"));
    case HlsPlaylist::Problem::NoSegments:
        return Fail(TranslatedText("CamHealth", "HLS playlist without segments"));
    case HlsPlaylist::Problem::NoVideo:
        return Fail(TranslatedText("CamHealth", "HLS playlist without video"));
    }
    if (!playlist.master) {
        Fetch(playlist.segments.last(), Stage::Segment);
        return;
    }
    // A master playlist leads to media playlists, never to another master nor back.
    const HlsVariant* variant = ChooseHlsVariant(playlist.variants, shownHeight_ ? shownHeight_() : 0);
    if (stage_ != Stage::Playlist || !variant || visited_.contains(variant->url))
        return Fail(TranslatedText("CamHealth", "HLS playlist loop"));
    Fetch(variant->url, Stage::Variant);
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
    if (thread_.joinable())
        thread_.join();
    if (!decode->current)
        return;
    stage_ = Stage::Idle;
    using Status = StreamStill::Status;
    switch (still.status) {
    case Status::Picture: {
        events_.SourceSettle();
        events_.SourceStep(TranslatedText("CamHealth", "keyframe decoded"), 100.0f);
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
