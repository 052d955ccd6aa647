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

// One grab or live stream: its thread reads `abandon` and `stillWanted` and fills the frame
// mailbox; the UI thread alone reads and writes the rest.
struct StreamCamSource::Grab {
    std::atomic<bool> abandon{false};
    std::atomic<bool> stillWanted{false};  // live: the next frame is the current fetch's still
    bool live = false;
    // A fetch awaits this one's still; false once a stop or a start abandoned it (or, live, once
    // the still was handed over): nothing of it is told.
    bool current = true;
    QString address;
    qint32 deadlineSeconds = 0;
    LiveFrameBox frames;
};

StreamCamSource::StreamCamSource(CamSourceEvents& events, std::function<qint32()> refreshSeconds,
                                 std::function<bool()> udp, QObject* parent)
    : CamSource(events, parent), refreshSeconds_(std::move(refreshSeconds)), udp_(std::move(udp))
{
}

StreamCamSource::~StreamCamSource()
{
    // The interrupt callback ends FFmpeg's waits at once; only a name lookup in progress
    // cannot be cut short. Events still queued for this source are dropped with it.
    if (grab_)
        grab_->abandon = true;
    thread_.finish();
}

bool StreamCamSource::start(const QString& address)
{
    stop();
    if (!IsStreamAddress(address) || address.contains(QLatin1Char('\n')) || address.contains(QLatin1Char('\r')))
        return false;
    events_.SourcePhase(FetchPhase::Connecting);
    if (live() && grab_->address == address) {
        // The open stream's next frame is the still.
        grab_->current = true;
        grab_->deadlineSeconds = DeadlineSeconds();
        grab_->stillWanted = true;
        return true;
    }
    if (live())
        grab_->abandon = true;  // another address: that stream closes before this one opens
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
        if (grab_->live)
            grab_->stillWanted = false;  // the stream stays open for the Viewer
        else
            grab_->abandon = true;
    }
}

void StreamCamSource::setLive(const QString& address)
{
    if (address == liveAddress_)
        return;
    liveAddress_ = address;
    liveFailed_ = false;
    if (!grab_) {
        Launch();
        return;
    }
    if (grab_->abandon)
        return;  // winding down: Finished() launches what is wanted then
    // A live stream at another address closes, and a grab gives way to the live stream; the still
    // a fetch awaits from either comes from what opens next.
    if (grab_->live || !address.isEmpty()) {
        if (grab_->current) {
            grab_->current = false;
            pending_ = grab_->address;
        }
        grab_->abandon = true;
    }
}

bool StreamCamSource::live() const
{
    return grab_ && grab_->live && !grab_->abandon;
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

qint32 StreamCamSource::DeadlineSeconds() const
{
    const qint32 refresh = refreshSeconds_ ? refreshSeconds_() : kMostSeconds;
    return refresh > 0 ? qMin(refresh, kMostSeconds) : kMostSeconds;
}

void StreamCamSource::Launch()
{
    const bool fetch = !pending_.isEmpty();
    const bool live = !liveAddress_.isEmpty() && (fetch ? pending_ == liveAddress_ : !liveFailed_);
    if (!fetch && !live)
        return;
    auto grab = std::make_shared<Grab>();
    grab->live = live;
    grab->current = fetch;
    grab->stillWanted = fetch;
    grab->address = live ? liveAddress_ : pending_;
    grab->deadlineSeconds = DeadlineSeconds();
    grab_ = grab;
    StreamGrabRequest request;
    request.address = grab->address;
    request.udp = udp_ && udp_();
    request.deadlineMs = qint64(grab->deadlineSeconds) * 1000;
    request.maxBytes = kMostBytes;
    pending_.clear();
    if (live)
        liveFailed_ = false;
    step_ = StreamStep::Connecting;
    ++connections_;
    // The destructor ends the thread, so the source outlives every call below; an event still
    // queued when it goes is dropped with it. The last grab has told its end, so it has closed
    // its connection: this one queues behind nothing that holds one.
    thread_.post([this, grab, request] {
        const auto step = [this, grab](StreamStep step) {
            QMetaObject::invokeMethod(
                this, [this, grab, step] { Stepped(grab, step); }, Qt::QueuedConnection);
        };
        StreamStill still;
        if (!grab->live) {
            still = GrabStreamStill(request, grab->abandon, step);
        } else {
            LiveStreamCalls calls;
            calls.step = step;
            calls.frame = [this, grab](const QImage& frame) {
                if (grab->frames.put(frame))
                    QMetaObject::invokeMethod(
                        this, [this, grab] { TakeFrame(grab); }, Qt::QueuedConnection);
            };
            calls.stillWanted = [grab] { return grab->stillWanted.exchange(false); };
            calls.still = [this, grab](const StreamStill& taken) {
                QMetaObject::invokeMethod(
                    this, [this, grab, taken] { LiveStill(grab, taken); }, Qt::QueuedConnection);
            };
            still = RunLiveStream(request, grab->abandon, calls);
        }
        QMetaObject::invokeMethod(
            this, [this, grab, still] { Finished(grab, still); }, Qt::QueuedConnection);
    });
}

void StreamCamSource::TakeFrame(const std::shared_ptr<Grab>& grab)
{
    const QImage frame = grab->frames.take();
    if (grab_ == grab && !grab->abandon && !frame.isNull())
        Q_EMIT liveFrame(frame);
}

void StreamCamSource::LiveStill(const std::shared_ptr<Grab>& grab, const StreamStill& still)
{
    if (!grab->current)
        return;  // the fetch it was for was stopped
    grab->current = false;
    Deliver(still, grab->deadlineSeconds, true);
}

void StreamCamSource::Stepped(const std::shared_ptr<Grab>& grab, StreamStep step)
{
    if (grab_ == grab)
        step_ = step;  // a live stream's too: a still asked of it later waits at this step
    if (!grab->current)
        return;
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
    if (grab->live && !grab->abandon)
        liveFailed_ = true;
    if (grab->current)
        Deliver(still, grab->deadlineSeconds, false);
    if (!grab_)
        Launch();  // what a start or setLive() asked for meanwhile
    if (grab->live)
        Q_EMIT liveClosed();
}

void StreamCamSource::Deliver(const StreamStill& still, qint32 deadlineSeconds, bool fromLive)
{
    using Status = StreamStill::Status;
    if (still.status == Status::Picture) {
        events_.SourceSettle();
        events_.SourceStep(fromLive ? TranslatedText("CamHealth", "picture taken from the live stream")
                                    : TranslatedText("CamHealth", "keyframe decoded"),
                           100.0f);
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
