#include "HttpCamSource.h"

#include "CamSocket.h"
#include "StreamPart.h"

HttpCamSource::HttpCamSource(CamSourceEvents& events, const FetchOptions& options, std::function<qint64()> monotonicMs,
                             QObject* parent)
    : CamSource(events, parent), wsCam(new CamSocket(this)), options_(options), monotonicMs_(std::move(monotonicMs))
{
    connect(wsCam, &CamSocket::Connected, this, &HttpCamSource::wsCam_Connect);
    connect(wsCam, &CamSocket::DataArrival, this, &HttpCamSource::wsCam_DataArrival);
    connect(wsCam, &CamSocket::Closed, this, &HttpCamSource::wsCam_Close);
    connect(wsCam, &CamSocket::Failed, this, &HttpCamSource::SocketFailed);
}

bool HttpCamSource::start(const QString& address)
{
    stop();
    const auto parts = SplitCamUrl(address);
    if (!parts)
        return false;  // nothing to fetch; the cam tries again at its next start
    events_.SourcePhase(FetchPhase::Connecting);
    slotHost = parts->host;
    slotPath = parts->path;
    slotHostHeader = parts->hostHeader;
    slotPort = parts->port;
    slotTls = parts->tls;
    slotSignIn = parts->signIn;
    slotUser = parts->user;
    slotPassword = parts->password;
    redirects.start(*parts);
    signIn.startFetch(address);
    wsCam->Close();
    wsCam->Connect(slotHost, slotPort, slotTls);
    return true;
}

void HttpCamSource::stop()
{
    wsCam->Close();  // abandons an unfinished fetch
    slotResponse.reset();
    slotStreamBoundary.clear();
    slotStream = {};
    slotLastBodyByteMs = -1;
}

RunningFetch HttpCamSource::runningFetch() const
{
    return {slotResponse.headerDone(), slotResponse.bytesReceived(), slotResponse.contentLength(),
            slotResponse.buffer().size(), !slotStreamBoundary.isEmpty()};
}

void HttpCamSource::wsCam_Connect()
{
    slotPath.replace(QLatin1Char(' '), QLatin1String("%20"));
    QByteArray authorization;
    if (slotSignIn) {
        authorization = signIn.authorization(slotUser, slotPassword, RequestTarget(slotPath));
        if (!authorization.isEmpty()) {
            std::optional<HealthNote> inClear;
            if (signIn.sentBasic() && !slotTls)
                inClear = HealthNote{HealthNote::Kind::PasswordInClear, {}, 0};
            events_.SourceNote(HealthNote::Kind::PasswordInClear, inClear);
        }
    }
    const RequestConditions conditions = events_.SourceConditions();
    slotConditionsSent = !conditions.etag.isEmpty() || !conditions.lastModified.isEmpty();
    wsCam->SendData(BuildCamRequest(slotPath, slotHostHeader, authorization, conditions, range_));
    events_.SourcePhase(FetchPhase::Waiting);
}

void HttpCamSource::wsCam_DataArrival(qint64 bytesTotal)
{
    const QString fileName = slotPath.mid(slotPath.lastIndexOf(QLatin1Char('/')) + 1);
    const bool headerWasDone = slotResponse.headerDone();
    const qint64 bodyBefore = headerWasDone ? slotResponse.bytesReceived() : 0;
    const auto arrival = slotResponse.append(wsCam->GetData(), bytesTotal);
    events_.SourcePhase(FetchPhase::Receiving);
    if (slotResponse.headerDone() && slotResponse.bytesReceived() > bodyBefore)
        slotLastBodyByteMs = monotonicMs_();
    if (arrival.tooLarge || slotResponse.buffer().size() > answerLimit_) {
        // Far beyond any cam picture: stop reading rather than fill the memory; the cam tries
        // again at its next start.
        wsCam->Close();
        slotResponse.reset();
        FetchOutcome outcome;
        outcome.kind = FetchOutcomeKind::TooLarge;
        outcome.tooLarge = headerWasDone ? FetchOutcome::Part::Answer : FetchOutcome::Part::Header;
        events_.SourceFailed(outcome, true);
        return;
    }
    if (slotResponse.headerDone() && !headerWasDone) {
        slotStreamBoundary = StreamBoundary(slotResponse.header().toByteArray());
        slotStream = {};
        slotStream.chunked = IsChunked(slotResponse.header());
    }
    if (!slotStreamBoundary.isEmpty() && TakeStreamPart())
        return;
    if (arrival.progress)
        events_.SourceProgress(*arrival.progress, fileName);
}

void HttpCamSource::wsCam_Close()
{
    events_.SourceSettle();
    auto response = slotResponse.finish();
    bool signInRefused = false;
    if (slotSignIn && AskAgainSignedIn(response.header, signInRefused))
        return;
    if (slotConditionsSent && StatusCodeOf(response.header) == 304) {
        slotResponse.reset();
        events_.SourceUnchanged(304);
        return;
    }
    CamAnswer answer;
    answer.kind = signInRefused ? FetchOutcomeKind::SignInRefused : FetchOutcomeKind::None;
    if (options_.followRedirects && FollowRedirect(response, answer))
        return;
    if (!slotStreamBoundary.isEmpty()) {
        // The stream ended before a part did: the data's end ends a part that has begun.
        const StreamPart part = FirstStreamPart(response.body, slotStreamBoundary, true);
        if (part.status == StreamPart::Status::Complete) {
            Answer(StreamAnswer(response, part), part.contentLength);
        } else {
            answer.kind = FetchOutcomeKind::StreamWithoutPicture;
            Answer(response, 0, answer);
        }
        return;
    }
    Answer(response, slotResponse.contentLength(), answer);
}

void HttpCamSource::Answer(HttpResponseAssembler::Finished response, qint32 contentLength, CamAnswer answer)
{
    answer.headerComplete = slotResponse.headerDone();
    answer.receivedBytes = slotResponse.buffer().size();
    slotResponse.reset();  // the response's bytes now live in the answer only
    answer.response = std::move(response);
    answer.contentLength = contentLength;
    answer.peerReset = wsCam->PeerReset();
    answer.refusedRedirect = redirects.refused();
    events_.SourceAnswered(std::move(answer));
}

void HttpCamSource::Reconnect()
{
    wsCam->Close();
    slotResponse.reset();
    events_.SourcePhase(FetchPhase::Connecting);
    wsCam->Connect(slotHost, slotPort, slotTls);
}

bool HttpCamSource::FollowRedirect(HttpResponseAssembler::Finished& response, CamAnswer& answer)
{
    CamUrlParts current;
    current.host = slotHost;
    current.hostHeader = slotHostHeader;
    current.path = slotPath;
    current.port = slotPort;
    current.tls = slotTls;
    const RedirectHop hop = redirects.next(response.header, current);
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
        answer.kind = hop.verdict == RedirectVerdict::Unsafe ? FetchOutcomeKind::UnsafeRedirect
                                                             : FetchOutcomeKind::RedirectRefused;
        return false;
    }
    // The same request at the next address, on a new connection; the timer runs on from the
    // fetch's start. The address's user part goes only where the cam itself is.
    wsCam->Close();
    slotResponse.reset();
    slotStreamBoundary.clear();
    slotStream = {};
    slotLastBodyByteMs = -1;  // the next hop's body has not begun
    slotHost = hop.next.host;
    slotHostHeader = hop.next.hostHeader;
    slotPath = hop.next.path;
    slotPort = hop.next.port;
    slotTls = hop.next.tls;
    slotSignIn = redirects.credentialsMayGo(hop.next);
    Reconnect();
    return true;
}

bool HttpCamSource::TakeStreamPart()
{
    // The body as it stands, not copied: this runs for every arrival of a stream that may grow
    // to the answer cap. The part found is copied out of it.
    const QByteArray& buffer = slotResponse.buffer();
    const qsizetype bodyStart = slotResponse.bodyStart();
    QByteArray body = QByteArray::fromRawData(buffer.constData() + bodyStart, buffer.size() - bodyStart);
    // A stream sent in chunks is searched in its data, decoded as the chunks become whole.
    bool malformed = false;
    if (slotStream.chunked) {
        malformed = DecodeWholeChunks(body, slotStream.chunkAt, slotStream.decoded) == ChunkProgress::Malformed;
        body = slotStream.decoded;
    }
    const StreamPart part =
        malformed ? StreamPart{} : FirstStreamPart(body, slotStreamBoundary, false, slotStream.searched);
    if (part.status == StreamPart::Status::NeedMore && !malformed) {
        slotStream.searched = body.size();
        return true;
    }
    slotStream.decoded = QByteArray();  // the part holds what it needs
    // A stream never ends by itself: the part is the answer, and the refresh cycle goes on.
    wsCam->Close();
    events_.SourceSettle();
    if (malformed || part.status == StreamPart::Status::TooLarge || part.status == StreamPart::Status::NoBoundary) {
        slotResponse.reset();
        FetchOutcome outcome;
        outcome.kind = FetchOutcomeKind::TooLarge;
        outcome.tooLarge = FetchOutcome::Part::Header;
        if (malformed || part.status == StreamPart::Status::NoBoundary)
            outcome.kind = FetchOutcomeKind::StreamWithoutPicture;
        events_.SourceFailed(outcome, true);
        return true;
    }
    Answer(StreamAnswer(slotResponse.finish(), part), part.contentLength);
    return true;
}

bool HttpCamSource::AskAgainSignedIn(const QByteArray& header, bool& refused)
{
    if (StatusCodeOf(header) != 401)
        return false;
    switch (signIn.answer401(header)) {
    case CamSignIn::Verdict::Handle:
        return false;
    case CamSignIn::Verdict::Refused:
        refused = true;
        return false;
    case CamSignIn::Verdict::Retry:
        break;
    }
    // A new connection, like the first: the timer keeps running from the fetch's start.
    Reconnect();
    return true;
}

void HttpCamSource::SocketFailed(const CamSocketFailure& failure)
{
    events_.SourceFailed(ClassifySocketFailure(failure, slotHost), false);
}
