// The socket handlers of a viewer slot: the request, the download progress and the handling of
// the whole response once the server has closed the connection.
#include <QLineEdit>
#include <algorithm>
#include <array>
#include <iterator>
#include <vector>

#include "CamSocket.h"
#include "CamUrl.h"
#include "DateTimeText.h"
#include "FetchedPicture.h"
#include "ImageControl.h"
#include "LockWind.h"
#include "NewPicture.h"
#include "PictureWork.h"
#include "SlotGrid.h"
#include "SlotNumbers.h"
#include "SlotProgressBar.h"
#include "StreamPart.h"

void SlotGrid::wsCam_Connect(int index)
{
    ViewerSlot& s = slot(index);
    s.slotPath.replace(QLatin1Char(' '), QLatin1String("%20"));
    QByteArray authorization;
    if (s.slotSignIn) {
        authorization = s.signIn.authorization(s.slotUser, s.slotPassword, RequestTarget(s.slotPath));
        if (!authorization.isEmpty()) {
            std::optional<HealthNote> inClear;
            if (s.signIn.sentBasic() && !s.slotTls)
                inClear = HealthNote{HealthNote::Kind::PasswordInClear, {}, 0};
            SetHealthNote(index, HealthNote::Kind::PasswordInClear, inClear);
        }
    }
    // Only about the picture the slot shows, and only when it came from this address.
    RequestConditions conditions;
    if (fetchOptions_.conditionalRequests && !s.slotPictureBytes.isEmpty() &&
        s.slotConditionsAddress == s.slotFetchAddress)
        conditions = s.slotConditions;
    s.slotConditionsSent = !conditions.etag.isEmpty() || !conditions.lastModified.isEmpty();
    s.wsCam->SendData(BuildCamRequest(s.slotPath, s.slotHostHeader, authorization, conditions));
    s.health.phase = FetchPhase::Waiting;
}

void SlotGrid::wsCam_DataArrival(int index, qint64 bytesTotal)
{
    ViewerSlot& s = slot(index);
    const QString fileName = s.slotPath.mid(s.slotPath.lastIndexOf(QLatin1Char('/')) + 1);
    const bool headerWasDone = s.slotResponse.headerDone();
    const qint64 bodyBefore = headerWasDone ? s.slotResponse.bytesReceived() : 0;
    const auto arrival = s.slotResponse.append(s.wsCam->GetData(), bytesTotal);
    if (s.health.phase != FetchPhase::Finishing)
        s.health.phase = FetchPhase::Receiving;
    if (s.slotResponse.headerDone() && s.slotResponse.bytesReceived() > bodyBefore)
        s.slotLastBodyByteMs = monotonicMs_();
    if (arrival.tooLarge) {
        // Far beyond any cam picture: stop reading rather than fill the memory; the slot tries
        // again at its next start.
        s.wsCam->Close();
        s.slotResponse.reset();
        ShowNotFound(index);
        ShowDetailsIfSelected(index);
        FetchOutcome outcome;
        outcome.kind = FetchOutcomeKind::TooLarge;
        outcome.tooLarge = headerWasDone ? FetchOutcome::Part::Answer : FetchOutcome::Part::Header;
        NoteOutcome(index, outcome);
        return;
    }
    if (s.slotResponse.headerDone() && !headerWasDone) {
        s.slotStreamBoundary = StreamBoundary(s.slotResponse.header().toByteArray());
        s.slotStream = {};
        s.slotStream.chunked = IsChunked(s.slotResponse.header());
    }
    if (!s.slotStreamBoundary.isEmpty() && TakeStreamPart(index))
        return;
    if (!arrival.progress)
        return;
    s.prgCam->setProgress(*arrival.progress);  // a value above 100 is refused; the bar keeps its own
    SetProgressText(QStringLiteral("Downloading %1 [%2]").arg(fileName, ShortestNumberText(s.prgCam->progress(), 7)));
}

void SlotGrid::wsCam_Close(int index)
{
    FinishHandling(index);
    ViewerSlot& s = slot(index);
    auto response = s.slotResponse.finish();
    bool signInRefused = false;
    if (s.slotSignIn && AskAgainSignedIn(index, response.header, signInRefused))
        return;
    if (s.slotConditionsSent && StatusCodeOf(response.header) == 304) {
        KeepUnchangedPicture(index, response.header);
        return;
    }
    FetchOutcomeKind kind = signInRefused ? FetchOutcomeKind::SignInRefused : FetchOutcomeKind::None;
    if (fetchOptions_.followRedirects && FollowRedirect(index, response, kind))
        return;
    if (!s.slotStreamBoundary.isEmpty()) {
        // The stream ended before a part did: the data's end ends a part that has begun.
        const StreamPart part = FirstStreamPart(response.body, s.slotStreamBoundary, true);
        if (part.status == StreamPart::Status::Complete)
            HandleAnswer(index, StreamAnswer(response, part), part.contentLength);
        else
            HandleAnswer(index, response, 0, FetchOutcomeKind::StreamWithoutPicture);
        return;
    }
    HandleAnswer(index, response, s.slotResponse.contentLength(), kind);
}

bool SlotGrid::FollowRedirect(int index, HttpResponseAssembler::Finished& response, FetchOutcomeKind& kind)
{
    ViewerSlot& s = slot(index);
    CamUrlParts current;
    current.host = s.slotHost;
    current.hostHeader = s.slotHostHeader;
    current.path = s.slotPath;
    current.port = s.slotPort;
    current.tls = s.slotTls;
    const RedirectHop hop = s.redirects.next(response.header, current);
    switch (hop.verdict) {
    case RedirectVerdict::NotARedirect:
        return false;
    case RedirectVerdict::Follow:
        break;
    case RedirectVerdict::Unsafe:
    case RedirectVerdict::ControlCharacters:
    case RedirectVerdict::Unusable:
    case RedirectVerdict::Loop:
    case RedirectVerdict::TooMany:
        // Refused: the not-found picture, whatever the answer's body is.
        response.isImage = false;
        kind = hop.verdict == RedirectVerdict::Unsafe ? FetchOutcomeKind::UnsafeRedirect
                                                      : FetchOutcomeKind::RedirectRefused;
        return false;
    }
    // The same request at the next address, on a new connection; the timer runs on from the
    // fetch's start. The address's user part goes only where the cam itself is.
    s.wsCam->Close();
    s.slotResponse.reset();
    s.prgCam->clearProgress();  // the bar is the next hop's
    s.slotStreamBoundary.clear();
    s.slotStream = {};
    s.slotLastBodyByteMs = -1;  // the next hop's body has not begun
    s.slotHost = hop.next.host;
    s.slotHostHeader = hop.next.hostHeader;
    s.slotPath = hop.next.path;
    s.slotPort = hop.next.port;
    s.slotTls = hop.next.tls;
    s.slotSignIn = s.redirects.credentialsMayGo(hop.next);
    s.health.phase = FetchPhase::Connecting;
    s.wsCam->Connect(s.slotHost, s.slotPort, s.slotTls);
    return true;
}

bool SlotGrid::TakeStreamPart(int index)
{
    ViewerSlot& s = slot(index);
    // The body as it stands, not copied: this runs for every arrival of a stream that may grow
    // to the answer cap. The part found is copied out of it.
    const QByteArray& buffer = s.slotResponse.buffer();
    const qsizetype bodyStart = s.slotResponse.bodyStart();
    QByteArray body = QByteArray::fromRawData(buffer.constData() + bodyStart, buffer.size() - bodyStart);
    // A stream sent in chunks is searched in its data, decoded as the chunks become whole.
    bool malformed = false;
    if (s.slotStream.chunked) {
        malformed = DecodeWholeChunks(body, s.slotStream.chunkAt, s.slotStream.decoded) == ChunkProgress::Malformed;
        body = s.slotStream.decoded;
    }
    const StreamPart part =
        malformed ? StreamPart{} : FirstStreamPart(body, s.slotStreamBoundary, false, s.slotStream.searched);
    if (part.status == StreamPart::Status::NeedMore && !malformed) {
        s.slotStream.searched = body.size();
        return true;
    }
    s.slotStream.decoded = QByteArray();  // the part holds what it needs
    // A stream never ends by itself: the part is the answer, and the refresh cycle goes on.
    s.wsCam->Close();
    FinishHandling(index);
    if (malformed || part.status == StreamPart::Status::TooLarge || part.status == StreamPart::Status::NoBoundary) {
        s.slotResponse.reset();
        ShowNotFound(index);
        ShowDetailsIfSelected(index);
        FetchOutcome outcome;
        outcome.kind = FetchOutcomeKind::TooLarge;
        outcome.tooLarge = FetchOutcome::Part::Header;
        if (malformed || part.status == StreamPart::Status::NoBoundary)
            outcome.kind = FetchOutcomeKind::StreamWithoutPicture;
        NoteOutcome(index, outcome);
        return true;
    }
    HandleAnswer(index, StreamAnswer(s.slotResponse.finish(), part), part.contentLength);
    return true;
}

void SlotGrid::HandleAnswer(int index, HttpResponseAssembler::Finished response, qint32 contentLength,
                            FetchOutcomeKind kind)
{
    ViewerSlot& s = slot(index);
    ClosedAnswer answer;
    answer.headerComplete = s.slotResponse.headerDone();
    answer.receivedBytes = s.slotResponse.buffer().size();
    s.slotResponse.reset();  // the response's bytes now live in `response` only
    s.health.phase = FetchPhase::Done;

    auto work = std::make_shared<PictureWork>();
    work->slot = index;
    if (measuringHoldUps_)
        work->closedNs = SteadyClockNs();
    work->isImage = response.isImage;
    work->selectedAtClose = selectedSlot_ == index;
    answer.header = response.header;
    answer.bodyBytes = response.body.size();
    answer.contentLength = contentLength;
    answer.isImage = response.isImage;
    answer.bodyValid = response.bodyValid;
    answer.peerReset = s.wsCam->PeerReset();
    if (response.isImage) {
        // Decided now, from the slot as this response finds it: the slot's next response can
        // only close after this one is handled.
        const QDateTime now = CurrentDateTime();
        work->stamp = {s.slotLastModified, s.txtUpdated->text(), s.txtRefreshed->text(), s.slotIsNew};
        DetectNewPicture(work->stamp, response.header, now);
        work->stamped = response.header.toLower().contains("last-modified:");
        work->newStamp = work->stamp.lastModified != s.slotLastModified;
        work->conditions.etag = ValidatorValue(HeaderValue(response.header, "ETag").toLatin1());
        if (work->stamped)
            work->conditions.lastModified =
                ValidatorValue(work->stamp.lastModified.sliced(work->stamp.lastModified.indexOf(u':') + 1).toLatin1());
        answer.bodyWhole = BodyLooksWhole(response.body, contentLength);
        answer.bodyStart = response.body.first(qMin<qsizetype>(16, response.body.size()));
        if (response.bodyValid && answer.bodyWhole) {
            work->body = std::move(response.body);
            work->thumbnailSize = ThumbnailDeviceSize(index);
            work->wantFull = selectedSlot_ == index && FullPictureSeen();
            work->saveFileName = AutoSaveFileName(index, work->stamp, now);
            work->saveTime = now;
            work->camName = s.caption();
        }
    }
    work->outcome = ClassifyClosedAnswer(answer);
    if (kind != FetchOutcomeKind::None && !response.isImage)
        work->outcome.kind = kind;
    if (kind == FetchOutcomeKind::UnsafeRedirect || kind == FetchOutcomeKind::RedirectRefused)
        DescribeRefusedRedirect(work->outcome, s.redirects.refused());
    if (work->body.isEmpty()) {
        work->done = true;  // nothing for the worker
        // FinishHandling above handled the slot's earlier responses: nothing of its own waits.
        HandleResponse(*work);
        return;
    }
    worker_->submit(work);
    handling_.push_back(std::move(work));
}

bool SlotGrid::AskAgainSignedIn(int index, const QByteArray& header, bool& refused)
{
    ViewerSlot& s = slot(index);
    if (StatusCodeOf(header) != 401)
        return false;
    switch (s.signIn.answer401(header)) {
    case CamSignIn::Verdict::Handle:
        return false;
    case CamSignIn::Verdict::Refused:
        refused = true;
        return false;
    case CamSignIn::Verdict::Retry:
        break;
    }
    // A new connection, like the first: the timer keeps running from the fetch's start.
    s.wsCam->Close();
    s.slotResponse.reset();
    s.prgCam->clearProgress();
    s.health.phase = FetchPhase::Connecting;
    s.wsCam->Connect(s.slotHost, s.slotPort, s.slotTls);
    return true;
}

void SlotGrid::HandleFinishedResponses()
{
    // Each slot's responses in the order they closed; a slot never waits for another's decode.
    std::array<bool, kSlotCount> waiting{};
    for (auto it = handling_.begin(); it != handling_.end();) {
        bool& slotWaiting = waiting.at(static_cast<size_t>((*it)->slot));
        if (slotWaiting || !worker_->isDone(**it)) {
            slotWaiting = true;
            ++it;
            continue;
        }
        // Off the list before it is handled: a hook that acts on a slot must not handle it again.
        const std::shared_ptr<PictureWork> work = *it;
        it = handling_.erase(it);
        HandleResponse(*work);
        it = handling_.begin();  // a hook may have handled (and so removed) others
        waiting.fill(false);
    }
}

void SlotGrid::FinishHandling(int index)
{
    // The slot's own responses (every slot's for -1); other slots' decodes need not be waited for.
    for (const auto& work : std::vector(handling_.begin(), handling_.end())) {
        if (index < 0 || work->slot == index)
            worker_->waitFor(*work);
    }
    HandleFinishedResponses();
}

void SlotGrid::HandleResponse(const PictureWork& work)
{
    NoteHoldUp(work);
    const int index = work.slot;
    bool shown = false;
    if (work.isImage)
        shown = ShowFetchedPicture(work);
    else
        ShowNotFound(index);
    ShowDetailsIfSelected(index);
    FetchOutcome outcome = work.outcome;
    const bool refused = work.pictureStatus == PictureStatus::TooLarge;
    FinishPictureOutcome(outcome, refused ? work.declaredSize : work.fullSize, refused);
    NoteOutcome(index, outcome, shown && work.stamped, work.newStamp);
    if (shown)
        Q_EMIT pictureHandled(index);
}

bool SlotGrid::ShowFetchedPicture(const PictureWork& work)
{
    const int index = work.slot;
    ViewerSlot& s = slot(index);
    WindowDrawingLock lock(hooks_.mainWindow);
    HideRefreshIndicator(index);
    if (work.picture.isNull()) {
        // The thumbnail, the Viewer and the full-window view keep what they show. The time stamp
        // is not taken either: the picture it belongs to never arrived, and taking it would make
        // the whole copy that comes next look old, so it would never be saved.
        s.slotIsNew = false;
        return false;
    }
    s.slotLastModified = work.stamp.lastModified;
    s.slotConditions = work.conditions;
    s.slotConditionsAddress = s.slotFetchAddress;
    s.txtUpdated->setText(work.stamp.updatedText);
    s.txtRefreshed->setText(work.stamp.refreshedText);
    s.slotIsNew = work.stamp.isNew;

    // One decoded picture, shared by every view of it; the Viewer's is the full one.
    SetSlotPicture(index, work.picture, work.pictureBytes, work.fullSize);
    Q_EMIT slotChanged(index);
    // A Viewer no one can see is given the picture when it is shown (ShowSlot, leaving the wall).
    if (selectedSlot_ == index && FullPictureSeen()) {
        const QImage full = fullPicture(index);
        if (hooks_.showInViewer)
            hooks_.showInViewer(full);
        if (FullWindowViewOpen() && hooks_.showInFullWindow)
            hooks_.showInFullWindow(full);
    } else if (work.wantFull && selectedSlot_ != index) {
        // Decoded in full for the Viewer, which a click has moved on since the response closed.
        KeepThumbnailOnlySoon(index);
    }
    AutoSavePicture(work);
    if (work.stamp.isNew)
        Q_EMIT newPictureShown(index);
    return true;
}

void SlotGrid::KeepUnchangedPicture(int index, const QByteArray& header)
{
    ViewerSlot& s = slot(index);
    s.slotResponse.reset();
    s.health.phase = FetchPhase::Done;
    {
        WindowDrawingLock lock(hooks_.mainWindow);
        HideRefreshIndicator(index);
    }
    // The picture, its time stamps and txtRefreshed stay as they are; nothing is saved.
    s.slotIsNew = false;
    ShowDetailsIfSelected(index);
    FetchOutcome outcome;
    outcome.kind = FetchOutcomeKind::Unchanged;
    outcome.status = StatusCodeOf(header);
    NoteOutcome(index, outcome, s.health.lastPictureStamped, false);
}

void SlotGrid::ShowNotFound(int index)
{
    WindowDrawingLock lock(hooks_.mainWindow);
    SetSlotPicture(index, notFound_, {}, {});
    HideRefreshIndicator(index);
}

void SlotGrid::HideRefreshIndicator(int index)
{
    slot(index).imgRefresh->hide();
    Q_EMIT slotChanged(index);
    // The full-window view shows the followed slot's indicator too; it goes with the panel's.
    if (selectedSlot_ == index && FullWindowViewOpen() && hooks_.hideFullWindowRefreshIndicator)
        hooks_.hideFullWindowRefreshIndicator();
}

void SlotGrid::ShowDetailsIfSelected(int index)
{
    if (selectedSlot_ == index && hooks_.setViewerDetails)
        hooks_.setViewerDetails(slotTexts(index));
}
