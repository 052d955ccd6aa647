#include "WatchedCam.h"

#include <QTimer>

#include "CamPictureQueue.h"
#include "CamSocket.h"
#include "DateTimeText.h"
#include "FetchedPicture.h"
#include "HlsCamSource.h"
#include "HlsPlaylist.h"
#include "HttpCamSource.h"
#include "HttpHeader.h"
#include "NewPicture.h"
#include "PictureSave.h"
#include "SlotNumbers.h"
#include "StreamCamSource.h"
#include "WatchLog.h"

namespace {
// The built-in not-found picture, 83 x 62 pixels.
const QImage& NotFoundPicture()
{
    static const QImage picture(QStringLiteral(":/pictures/notfound.png"));
    return picture;
}
}  // namespace

WatchedCam::WatchedCam(int index, CamPictureQueue& pictures, const CamViewNeeds& needs, const FetchOptions& options,
                       QObject* parent)
    : QObject(parent), timRefresh(new QTimer(this)), index_(index), pictures_(pictures), needs_(needs),
      options_(options), staleMinutes_(10), monotonicMs_(StartMonotonicClock())
{
    timRefresh->setObjectName(QStringLiteral("timRefresh_%1").arg(index));
    timRefresh->setInterval(1000);  // milliseconds: one tick per second of the countdown
    connect(timRefresh, &QTimer::timeout, this, &WatchedCam::timRefresh_Timer);
    CamSourceEvents& events = *this;
    auto http = std::make_unique<HttpCamSource>(events, options_, [this] { return monotonicMs_(); });
    http->wsCam->setObjectName(QStringLiteral("wsCam_%1").arg(index));
    http_ = std::move(http);
    auto stream = std::make_unique<StreamCamSource>(
        events, [this] { return slotRefreshSeconds; },
        [this] { return needs_.camChoices && needs_.camChoices(txtName).streamUdp; });
    connect(stream.get(), &StreamCamSource::liveFrame, this, &WatchedCam::liveFrame);
    connect(stream.get(), &StreamCamSource::liveClosed, this, &WatchedCam::liveClosed);
    stream_ = std::move(stream);
    auto hls = std::make_unique<HlsCamSource>(
        events, options_, [this] { return monotonicMs_(); },
        [this] { return needs_.decodeSize ? needs_.decodeSize(index_).height() : 0; },
        [this] { return slotRefreshSeconds; });
    connect(hls.get(), &HlsCamSource::liveFrame, this, &WatchedCam::liveFrame);
    connect(hls.get(), &HlsCamSource::liveClosed, this, &WatchedCam::liveClosed);
    hls_ = std::move(hls);
    source_ = http_.get();
}

WatchedCam::~WatchedCam() = default;

std::shared_ptr<void> WatchedCam::HoldDrawing() const
{
    return needs_.holdDrawing ? needs_.holdDrawing() : nullptr;
}

void WatchedCam::settle()
{
    pictures_.settle(this);
}

void WatchedCam::open(const QString& name, const QString& address, const QString& refresh)
{
    open_ = true;
    // A cam opened afresh compares its pictures with its own first one.
    slotNewGrey = {};
    slotChangeGrey = {};
    txtName = name;
    txtAddress = address;
    txtRefresh = refresh;
    cmdStart_Click();
}

void WatchedCam::edit(const QString& name, const QString& address, const QString& refresh)
{
    txtName = name;
    txtAddress = address;
    txtRefresh = refresh;
    Q_EMIT changed();
}

void WatchedCam::SetFetching(bool on)
{
    fetching_ = on;
    Q_EMIT fetchingChanged(on);
    if (!on)
        Q_EMIT changed();
}

void WatchedCam::cmdStart_Click()
{
    settle();
    ++slotStarts;
    slotFinishing = false;
    SetFetching(true);
    const auto seconds = RefreshSecondsFromText(txtRefresh);
    if (seconds) {
        slotRefreshSeconds = *seconds;
    } else {
        // Only an edit of an open cam can get here (an open refuses such a text); the cam goes
        // on at the interval it had rather than stopping.
        Q_EMIT statusText(QStringLiteral("%1: refresh rate \"%2\" is not a number of seconds; it stays at %3")
                              .arg(txtName, txtRefresh, QString::number(slotRefreshSeconds)));
    }
    std::optional<HealthNote> note;
    if (!seconds)
        note = HealthNote{HealthNote::Kind::RefreshNotANumber, txtRefresh, slotRefreshSeconds};
    SetHealthNote(HealthNote::Kind::RefreshNotANumber, note);
    slotElapsed = 0;
    // The timer runs from the start of one fetch to the start of the next, however long the
    // fetch takes.
    timRefresh->start();
    source_->stop();
    if (IsStreamAddress(txtAddress))
        source_ = stream_.get();
    else if (IsHlsAddress(txtAddress) || playlistAddresses_.contains(txtAddress))
        source_ = hls_.get();
    else
        source_ = http_.get();
    // Before the start: while the stream is open live, its still comes from there.
    updateLive();
    // The bar shows this fetch from nothing: only a body arriving after its header moves it, so a
    // picture that comes in one piece with its header, or a fetch that fails, used to leave the
    // last long download's full bar standing, for good on a cam that went down.
    ClearProgress();
    Q_EMIT changed();
    slotFetchAddress = txtAddress;
    if (!source_->start(txtAddress)) {
        // Nothing to fetch; the cam stays open and tries again at its next start.
        FetchOutcome outcome;
        outcome.kind = FetchOutcomeKind::BadAddress;
        outcome.detail = MaskAddressPassword(txtAddress);
        NoteOutcome(outcome);
        return;
    }
    health_.fetchStarted = CurrentDateTime();
}

void WatchedCam::timRefresh_Timer()
{
    ++slotElapsed;
    // The Viewer may have been hidden or shown meanwhile (the wall, the window minimized).
    updateLive();
    // Decided before the countdown is shown, so that it says the cam waits from the first tick on.
    const bool due = slotElapsed >= slotRefreshSeconds && !KeepsDownloading();
    Q_EMIT ticked();
    if (due) {
        timRefresh->stop();
        fetching_ = true;  // the start below shows it
        NoteCutShort();    // a fetch still running is abandoned by the start below
        cmdStart_Click();
    }
}

void WatchedCam::cmdStop_Click()
{
    settle();
    ++slotStarts;
    slotFinishing = false;
    http_->stop();
    stream_->stop();
    hls_->stop();
    timRefresh->stop();
    {
        const auto hold = HoldDrawing();
        setPicture({}, {}, {});
        SetFetching(false);
    }
    ClearHealth();
    open_ = false;
    updateLive();
    Q_EMIT changed();
}

void WatchedCam::setLiveInViewer(bool on)
{
    liveInViewer_ = on;
    updateLive();
}

void WatchedCam::updateLive()
{
    const bool live = liveInViewer_ && open_ && followed_ && needs_.liveSeen && needs_.liveSeen();
    static_cast<StreamCamSource&>(*stream_).setLive(live && source_ == stream_.get() ? txtAddress : QString());
    static_cast<HlsCamSource&>(*hls_).setLive(live && source_ == hls_.get() ? txtAddress : QString());
}

bool WatchedCam::showsLive() const
{
    return static_cast<const StreamCamSource&>(*stream_).live() || static_cast<const HlsCamSource&>(*hls_).live();
}

bool WatchedCam::KeepsDownloading()
{
    const qint64 lastBodyByte = source_->lastBodyByteMs();
    // A stream never ends by itself: its first part is due within the interval.
    if (!finishSlowDownloads_ || source_->runningFetch().stream || lastBodyByte < 0)
        return false;
    const qint64 silent = monotonicMs_() - lastBodyByte;
    if (silent >= (slotFinishing ? kSilentMs : kStillArrivingMs))
        return false;
    if (slotFinishing)
        return true;  // still arriving, or whole and on its way to the thumbnail
    if (health_.phase != FetchPhase::Receiving)
        return false;
    slotFinishing = true;
    health_.phase = FetchPhase::Finishing;
    ReportHealth();
    return true;
}

void WatchedCam::StartSoon()
{
    const quint64 starts = slotStarts;
    QMetaObject::invokeMethod(
        this,
        [this, starts] {
            if (slotStarts != starts || !open_)
                return;
            cmdStart_Click();
        },
        Qt::QueuedConnection);
}

double WatchedCam::FetchSeconds() const
{
    return health_.fetchStarted.isValid() ? qMax<qint64>(0, health_.fetchStarted.msecsTo(CurrentDateTime())) / 1000.0
                                          : slotRefreshSeconds;
}

void WatchedCam::setMonotonicClock(std::function<qint64()> milliseconds)
{
    monotonicMs_ = milliseconds ? std::move(milliseconds) : StartMonotonicClock();
}

void WatchedCam::ClearProgress()
{
    slotProgress = 0.0f;
    Q_EMIT progressChanged(0.0f);
}

void WatchedCam::SourcePhase(FetchPhase phase)
{
    // A new connection of the same fetch (a sign-in, a redirect's next hop): the bar is its own.
    if (phase == FetchPhase::Connecting && health_.phase != FetchPhase::Idle && health_.phase != FetchPhase::Done)
        ClearProgress();
    // A download let run past the interval stays finishing while its bytes arrive.
    if (phase == FetchPhase::Receiving && health_.phase == FetchPhase::Finishing)
        return;
    health_.phase = phase;
}

void WatchedCam::SourceNote(HealthNote::Kind kind, const std::optional<HealthNote>& note)
{
    SetHealthNote(kind, note);
}

RequestConditions WatchedCam::SourceConditions()
{
    // Only about the picture the cam shows, and only when it came from this address.
    if (options_.conditionalRequests && !slotPictureBytes.isEmpty() && slotConditionsAddress == slotFetchAddress)
        return slotConditions;
    return {};
}

void WatchedCam::SourceProgress(float percent, const QString& fileName)
{
    // A server that sends more than its Content-Length promised would push the bar past its
    // end; the cam keeps its last sound value instead.
    if (percent >= 0.0f && percent <= 100.0f) {
        slotProgress = percent;
        Q_EMIT progressChanged(percent);
    }
    Q_EMIT progressText(tr("Downloading %1 [%2]").arg(fileName, ShortestNumberText(slotProgress, 7)));
}

void WatchedCam::SourceStep(const QString& words, float percent)
{
    slotProgress = percent;
    Q_EMIT progressChanged(percent);
    Q_EMIT progressText(txtName + QStringLiteral(": ") + words);
}

void WatchedCam::SourceFailed(const FetchOutcome& outcome, bool notFound)
{
    if (notFound) {
        ShowNotFound();
        Q_EMIT detailsChanged();
    }
    NoteOutcome(outcome);
}

void WatchedCam::SourceUnchanged(int status)
{
    health_.phase = FetchPhase::Done;
    {
        const auto hold = HoldDrawing();
        SetFetching(false);
    }
    // The picture, its time stamps and txtRefreshed stay as they are; nothing is saved.
    slotIsNew = false;
    Q_EMIT detailsChanged();
    FetchOutcome outcome;
    outcome.kind = FetchOutcomeKind::Unchanged;
    outcome.status = status;
    NoteOutcome(outcome, health_.lastPictureStamped, false);
}

void WatchedCam::SourceAnswered(CamAnswer answer)
{
    if (source_ == http_.get() && answer.headerComplete &&
        IsPlaylistContentType(HeaderValue(answer.response.header, "Content-Type"))) {
        // An HLS playlist at an address that does not say so: fetched as one at once, and from now on.
        playlistAddresses_.insert(slotFetchAddress);
        health_.phase = FetchPhase::Done;
        StartSoon();
        return;
    }
    HttpResponseAssembler::Finished& response = answer.response;
    ClosedAnswer closed;
    closed.headerComplete = answer.headerComplete;
    closed.receivedBytes = answer.receivedBytes;
    health_.phase = FetchPhase::Done;

    auto work = std::make_shared<PictureWork>();
    work->cam = this;
    work->slot = index_;
    if (pictures_.measuringHoldUps())
        work->closedNs = SteadyClockNs();
    work->isImage = response.isImage;
    work->selectedAtClose = followed_;
    closed.header = response.header;
    closed.bodyBytes = response.body.size();
    closed.contentLength = answer.contentLength;
    closed.isImage = response.isImage;
    closed.bodyValid = response.bodyValid;
    closed.peerReset = answer.peerReset;
    if (response.isImage) {
        // Decided now, from the cam as this answer finds it: the cam's next answer can only
        // close after this one is handled.
        const QDateTime now = CurrentDateTime();
        work->stamp = {slotLastModified, txtUpdated, txtRefreshed, slotIsNew};
        work->stamped = DetectNewPicture(work->stamp, response.header, now);
        work->newStamp = work->stamp.lastModified != slotLastModified;
        work->stampSaidNew = work->stamp.isNew;
        // The cam's own choices as they are now: an edit in the Viewer or the dialog counts from
        // the next answer on.
        const CamChoices own = needs_.camChoices ? needs_.camChoices(txtName) : CamChoices{};
        ownRule_ = own.rule;
        slotMask = own.mask;
        const NewPictureRule rule = newPictureRule();
        if (rule != NewPictureRule::LastModified) {
            work->rule = rule;
            work->baseline = slotNewGrey;
        }
        work->change = options_.change;
        work->changeBaseline = slotChangeGrey;
        work->mask = slotMask;
        work->conditions.etag = ValidatorValue(HeaderValue(response.header, "ETag").toLatin1());
        if (work->stamped)
            work->conditions.lastModified =
                ValidatorValue(work->stamp.lastModified.sliced(work->stamp.lastModified.indexOf(u':') + 1).toLatin1());
        closed.bodyWhole = BodyLooksWhole(response.body, answer.contentLength);
        closed.bodyStart = response.body.first(qMin<qsizetype>(16, response.body.size()));
        if (response.bodyValid && closed.bodyWhole) {
            work->thumbnailSize = needs_.decodeSize ? needs_.decodeSize(index_) : QSize();
            work->wantFull = followed_ && (!needs_.fullPictureSeen || needs_.fullPictureSeen());
            work->readBack = needs_.savedPictureShown;
            // Under the content rule any picture may prove new: the worker decides, and saves only then.
            if (needs_.autoSave && needs_.autoSave() && (work->stamp.isNew || rule == NewPictureRule::Content)) {
                if (!needs_.autoSaveCam || needs_.autoSaveCam(txtName))
                    work->saveFileName = PictureFilePath(options_.save, txtName, now);
                else
                    noteSaveWorked();  // passed over by choice: no picture of it is being lost
            }
            work->saveFolder = SaveFolderOf(options_.save);
            work->naming = options_.save.naming;
            work->saveTime = now;
            work->camName = txtName;
            // Most cams are asked more often than they change: the bytes the cam shows already are
            // neither decoded nor shown again. Only a save that is due decodes them (its own copy).
            if (!slotShownBody.isEmpty() && response.body == slotShownBody) {
                work->sameBody = true;
                if (rule != NewPictureRule::LastModified) {
                    // The very picture shown: its content has not changed.
                    work->stamp.isNew = IsNewPicture(rule, work->stampSaidNew, true, std::nullopt);
                    if (!work->stamp.isNew)
                        work->saveFileName.clear();
                }
                work->pictureStatus = PictureStatus::Decoded;
                work->fullSize = slotPictureSize;
                if (!work->saveFileName.isEmpty())
                    work->body = slotShownBody;
            } else {
                work->body = std::move(response.body);
            }
        }
    }
    work->outcome = ClassifyClosedAnswer(closed);
    if (answer.kind != FetchOutcomeKind::None && !response.isImage)
        work->outcome.kind = answer.kind;
    if (answer.kind == FetchOutcomeKind::UnsafeRedirect || answer.kind == FetchOutcomeKind::RedirectRefused)
        DescribeRefusedRedirect(work->outcome, answer.refusedRedirect);
    pictures_.submit(std::move(work));
}

void WatchedCam::HandleResponse(const PictureWork& work)
{
    bool shown = false;
    if (work.isImage)
        shown = ShowFetchedPicture(work);
    else
        ShowNotFound();
    Q_EMIT detailsChanged();
    FetchOutcome outcome = work.outcome;
    const bool refused = work.pictureStatus == PictureStatus::TooLarge;
    FinishPictureOutcome(outcome, refused ? work.declaredSize : work.fullSize, refused);
    NoteOutcome(outcome, shown && work.stamped, work.newStamp);
    if (shown)
        Q_EMIT pictureHandled();
}

bool WatchedCam::ShowFetchedPicture(const PictureWork& work)
{
    const auto hold = HoldDrawing();
    SetFetching(false);
    if (work.picture.isNull() && !work.sameBody) {
        // The views keep what they show. The time stamp is not taken either: the picture it
        // belongs to never arrived, and taking it would make the whole copy that comes next look
        // old, so it would never be saved.
        slotIsNew = false;
        return false;
    }
    NotePictureContent(work);
    slotLastModified = work.stamp.lastModified;
    slotConditions = work.conditions;
    slotConditionsAddress = slotFetchAddress;
    txtUpdated = work.stamp.updatedText;
    slotIsNew = work.stamp.isNew;
    if (work.rule == NewPictureRule::LastModified) {
        txtRefreshed = work.stamp.refreshedText;
    } else if (!work.sameBody && !work.grey.isNull() && (work.stamp.isNew || slotNewGrey.isNull())) {
        // The picture decides: "Last Refreshed" is when a changed picture (or the first) was seen,
        // and it is what the next pictures are compared with.
        txtRefreshed = DateTimeText(work.saveTime);
        slotNewGrey = work.grey;
    }

    if (work.sameBody) {
        // The views show these very bytes already: only the texts and the indicator change.
        Q_EMIT changed();
    } else {
        // One decoded picture, shared by every view of it; the Viewer's is the full one.
        setPicture(work.picture, work.pictureBytes, work.fullSize);
        slotShownBody = work.pictureBytes;
        Q_EMIT changed();
        Q_EMIT pictureShown();
        if (work.wantFull && !followed_) {
            // Decoded in full for the Viewer, which a click has moved on since the answer closed.
            KeepThumbnailOnlySoon();
        }
    }
    AutoSavePicture(work);
    if (work.stamp.isNew)
        Q_EMIT newPictureShown();
    return true;
}

void WatchedCam::AutoSavePicture(const PictureWork& work)
{
    if (work.saveFileName.isEmpty())
        return;
    // A save that failed is skipped: the watch goes on, and a cam that cannot be saved must not
    // stop the others. But its pictures are being lost (a full disk, a folder gone): the cam is
    // failing until a save works, the views are told, and the first failure (or another reason)
    // is logged, and is a message of its own, whichever cam it is.
    if (!work.saved) {
        if (work.saveProblem.isEmpty())
            return;
        const QString text =
            tr("%1 could not save the new picture of %2 as %3: %4")
                .arg(TimeText(work.saveTime.time()), work.camName, work.saveFileName, work.saveProblem);
        if (RecordSaveFailure(health_, work.saveProblem, work.saveFileName, work.saveTime)) {
            qCWarning(lcWatch).noquote() << work.camName + QStringLiteral(": new pictures cannot be saved: ") +
                    work.saveFileName + QStringLiteral(": ") + work.saveProblem;
            Q_EMIT statusText(text);
            Q_EMIT saveTroubleChanged();
        } else {
            Q_EMIT progressText(text);
        }
        ReportHealth();
        return;
    }
    noteSaveWorked();
    // The thumbnail shows what was stored, so the user sees the saved quality.
    if (!work.savedPicture.isNull()) {
        const QByteArray fetched = slotShownBody;
        setPicture(work.savedPicture, work.savedBytes, work.fullSize);
        slotShownBody = fetched;  // a later answer with the fetched bytes shows the same picture
    }
    Q_EMIT autoSaved(work);
    Q_EMIT pictureSaved(work.camName, work.saveFileName);
}

void WatchedCam::ShowNotFound()
{
    const auto hold = HoldDrawing();
    setPicture(NotFoundPicture(), {}, {});
    SetFetching(false);
}
