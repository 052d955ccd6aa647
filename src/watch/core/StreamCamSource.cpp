#include "StreamCamSource.h"

#include "CamUrl.h"
#include "Translations.h"

bool IsStreamAddress(const QString& address)
{
    return address.startsWith(QLatin1String("rtsp://"), Qt::CaseInsensitive) ||
        address.startsWith(QLatin1String("rtsps://"), Qt::CaseInsensitive);
}

CamAnswer StillAnswer(const StreamStill& still)
{
    CamAnswer answer;
    answer.response.header = "Content-Type: image/jpeg";
    answer.response.body = still.jpeg;
    answer.response.isImage = true;
    answer.contentLength = static_cast<qint32>(still.jpeg.size());
    answer.receivedBytes = still.bytesRead;
    answer.byContent = true;
    return answer;
}

// One grab: its thread reads `abandon`; the UI thread alone reads and writes the rest.
struct StreamCamSource::Grab {
    std::atomic<bool> abandon{false};
    bool current = true;  // false once a stop or a start abandoned it: nothing of it is told
    qint32 deadlineSeconds = 0;
};

StreamCamSource::StreamCamSource(CamSourceEvents& events, std::function<qint32()> refreshSeconds,
                                 std::function<bool()> udp, QObject* parent)
    : CamSource(events, parent), refreshSeconds_(std::move(refreshSeconds)), udp_(std::move(udp))
{
}

StreamCamSource::~StreamCamSource()
{
    // The interrupt callback ends FFmpeg's waits at once; only a name lookup in progress
    // cannot be cut short.
    if (grab_)
        grab_->abandon = true;
    if (thread_.joinable())
        thread_.join();
}

bool StreamCamSource::start(const QString& address)
{
    stop();
    if (!IsStreamAddress(address) || address.contains(QLatin1Char('\n')) || address.contains(QLatin1Char('\r')))
        return false;
    events_.SourcePhase(FetchPhase::Connecting);
    pending_ = address;
    if (!grab_)
        Launch();
    // else: Finished() launches it once the abandoned grab has closed its connection.
    return true;
}

void StreamCamSource::stop()
{
    pending_.clear();
    if (grab_ && grab_->current) {
        grab_->current = false;
        grab_->abandon = true;
    }
}

RunningFetch StreamCamSource::runningFetch() const
{
    return {};
}

std::optional<FetchOutcome> StreamCamSource::cutShort(double seconds) const
{
    Q_UNUSED(seconds);
    if (!grab_ || !grab_->current)
        return std::nullopt;
    // The grab's deadline is the refresh interval (when under kMostSeconds): what it waited for
    // did not come within it.
    FetchOutcome outcome;
    outcome.kind = step_ == StreamStep::Connecting ? FetchOutcomeKind::StreamNoAnswer : FetchOutcomeKind::NoKeyframe;
    outcome.seconds = grab_->deadlineSeconds;
    return outcome;
}

void StreamCamSource::Launch()
{
    if (thread_.joinable())
        thread_.join();  // ended already: its last event was its end
    auto grab = std::make_shared<Grab>();
    const qint32 refresh = refreshSeconds_ ? refreshSeconds_() : kMostSeconds;
    grab->deadlineSeconds = refresh > 0 ? qMin(refresh, kMostSeconds) : kMostSeconds;
    grab_ = grab;
    StreamGrabRequest request;
    request.address = pending_;
    request.udp = udp_ && udp_();
    request.deadlineMs = qint64(grab->deadlineSeconds) * 1000;
    request.maxBytes = kMostBytes;
    pending_.clear();
    step_ = StreamStep::Connecting;
    thread_ = std::thread([this, grab, request] {
        const auto step = [this, grab](StreamStep step) {
            QMetaObject::invokeMethod(
                this, [this, grab, step] { Stepped(grab, step); }, Qt::QueuedConnection);
        };
        const StreamStill still = GrabStreamStill(request, grab->abandon, step);
        // The destructor joins this thread, so the source outlives the call; an event still
        // queued when it goes is dropped with it.
        QMetaObject::invokeMethod(
            this, [this, grab, still] { Finished(grab, still); }, Qt::QueuedConnection);
    });
}

void StreamCamSource::Stepped(const std::shared_ptr<Grab>& grab, StreamStep step)
{
    if (!grab->current)
        return;
    step_ = step;
    switch (step) {
    case StreamStep::Connecting:
        events_.SourcePhase(FetchPhase::Connecting);
        events_.SourceStep(TranslatedText("CamHealth", "connecting"), 0.0f);
        break;
    case StreamStep::WaitingForKeyframe:
        events_.SourcePhase(FetchPhase::Keyframe);
        events_.SourceStep(TranslatedText("CamHealth", "waiting for a keyframe"), 33.0f);
        break;
    case StreamStep::Decoding:
        events_.SourcePhase(FetchPhase::Receiving);
        events_.SourceStep(TranslatedText("CamHealth", "decoding the keyframe"), 67.0f);
        break;
    }
}

void StreamCamSource::Finished(const std::shared_ptr<Grab>& grab, const StreamStill& still)
{
    if (grab_ == grab)
        grab_.reset();
    if (thread_.joinable())
        thread_.join();
    if (grab->current)
        Deliver(still, grab->deadlineSeconds);
    if (!pending_.isEmpty() && !grab_)
        Launch();
}

void StreamCamSource::Deliver(const StreamStill& still, qint32 deadlineSeconds)
{
    using Status = StreamStill::Status;
    if (still.status == Status::Picture) {
        events_.SourceSettle();
        events_.SourceStep(TranslatedText("CamHealth", "keyframe decoded"), 100.0f);
        events_.SourceAnswered(StillAnswer(still));
        return;
    }
    FetchOutcome outcome;
    outcome.seconds = deadlineSeconds;
    outcome.refreshSeconds = deadlineSeconds;
    outcome.detail = still.detail;
    switch (still.status) {
    case Status::Picture:
    case Status::Abandoned:
        return;  // nothing to tell: the cam abandoned it itself
    case Status::ConnectionRefused:
        outcome.kind = FetchOutcomeKind::ConnectionRefused;
        break;
    case Status::HostNotFound:
        outcome.kind = FetchOutcomeKind::HostNotFound;
        break;
    case Status::SignInRefused:
        outcome.kind = FetchOutcomeKind::StreamSignInRefused;
        break;
    case Status::NoAnswer:
        outcome.kind = FetchOutcomeKind::StreamNoAnswer;
        break;
    case Status::NoKeyframe:
        outcome.kind = FetchOutcomeKind::NoKeyframe;
        break;
    case Status::CodecNotSupported:
        outcome.kind = FetchOutcomeKind::CodecNotSupported;
        outcome.detail = still.codec;
        break;
    case Status::TooLarge:
        outcome.kind = FetchOutcomeKind::StreamTooLarge;
        outcome.pictureSize = still.size;
        break;
    case Status::NoVideo:
        outcome.kind = FetchOutcomeKind::StreamFailed;
        outcome.detail = TranslatedText("CamHealth", "the stream holds no video");
        break;
    case Status::CutOff:
        outcome.kind = FetchOutcomeKind::StreamFailed;
        outcome.detail = TranslatedText("CamHealth", "the stream ended in the middle of a keyframe");
        break;
    case Status::Ended:
        outcome.kind = FetchOutcomeKind::StreamFailed;
        outcome.detail = still.detail.isEmpty()
            ? TranslatedText("CamHealth", "the stream ended before a keyframe")
            : TranslatedText("CamHealth", "the stream ended before a keyframe: %1").arg(still.detail);
        break;
    case Status::TooManyBytes:
        outcome.kind = FetchOutcomeKind::StreamFailed;
        outcome.detail = TranslatedText("CamHealth", "no keyframe in the first %1").arg(ByteCountText(kMostBytes));
        break;
    case Status::Failed:
        outcome.kind = FetchOutcomeKind::StreamFailed;
        break;
    }
    events_.SourceSettle();
    events_.SourcePhase(FetchPhase::Done);
    events_.SourceFailed(outcome, false);
}
