#include "CamHealth.h"

#include <QSslCertificate>
#include <algorithm>
#include <bit>
#include <cmath>

#include "CamRedirect.h"
#include "CamSocket.h"
#include "CamUrl.h"
#include "DateTimeText.h"
#include "HttpHeader.h"
#include "HttpResponse.h"
#include "Translations.h"

bool NoteMakesFailing(HealthNote::Kind kind)
{
    switch (kind) {
    case HealthNote::Kind::RefreshNotANumber:
        return true;  // the cam does not do what its entry says
    case HealthNote::Kind::PasswordInClear:
        return false;  // pictures come; the user should know what it costs
    }
    return false;
}

QString HealthKey(const CamHealth& health)
{
    QString key = OutcomeKey(health.last);
    for (const HealthNote& note : health.notes)
        key += QLatin1Char('#') + NoteText(note);
    if (!health.saving.problem.isEmpty())
        key += QStringLiteral("#save#") + health.saving.problem;
    return key;
}

bool RecordSaveFailure(CamHealth& health, const QString& problem, const QString& fileName, const QDateTime& now)
{
    SaveTrouble& trouble = health.saving;
    const bool news = trouble.problem != problem;
    if (trouble.problem.isEmpty()) {
        trouble.since = now;
        trouble.lost = 0;
    }
    trouble.problem = problem;
    trouble.fileName = fileName;
    ++trouble.lost;
    return news;
}

bool RecordSaveSuccess(CamHealth& health)
{
    const bool ended = !health.saving.problem.isEmpty();
    health.saving = SaveTrouble();
    return ended;
}

qint64 StaleAfterSeconds(int staleMinutes, qint32 refreshSeconds)
{
    return std::max<qint64>(qint64{staleMinutes} * 60, qint64{refreshSeconds} * 10);
}

qint64 FrozenAfterSeconds(int frozenMinutes, qint32 refreshSeconds)
{
    return frozenMinutes <= 0 ? kNeverFrozen : StaleAfterSeconds(frozenMinutes, refreshSeconds);
}

void RecordPictureContent(CamHealth& health, const QDateTime& now, bool claimedNew, bool changed)
{
    if (changed || !health.lastContentChange.isValid()) {
        health.lastContentChange = now;
        health.lastEmptyClaim = {};
        health.emptyClaims = 0;
    } else if (claimedNew) {
        health.lastEmptyClaim = now;
        ++health.emptyClaims;
    }
}

namespace {
// The cam said again and again that it had a new picture, the last time within the period, and
// the picture has not changed for all of it. One claim is not "again": a re-encode of the
// scene under a new stamp happens now and then to any cam.
bool LooksFrozen(const CamHealth& health, const QDateTime& now, qint64 frozenAfterSeconds)
{
    return frozenAfterSeconds != kNeverFrozen && health.emptyClaims >= 2 && health.lastContentChange.isValid() &&
        health.lastContentChange.secsTo(now) >= frozenAfterSeconds &&
        health.lastEmptyClaim.secsTo(now) < frozenAfterSeconds;
}
}  // namespace

void WatchStamps(StampWatch& watch, bool stamped, bool sameBytes, bool newStamp)
{
    ++watch.pictures;
    if (stamped)
        ++watch.stamped;
    if (sameBytes) {
        watch.restamped = (watch.restamped << 1) | (stamped && newStamp ? 1u : 0u);
        watch.sameBytes = std::min(watch.sameBytes + 1, kStampWindow);
    }
    StampTrust verdict = StampTrust::Unknown;
    const int window = std::popcount(watch.restamped & ((1u << kStampWindow) - 1));
    if (watch.stamped == 0 && watch.pictures >= kStampWindow)
        verdict = StampTrust::NoStamps;
    else if (watch.sameBytes >= kStampWindow && window >= kStampWindow - 1)
        verdict = StampTrust::EveryAnswer;
    watch.verdict = verdict;
}

QString StampTrustText(StampTrust trust)
{
    switch (trust) {
    case StampTrust::Unknown:
        break;
    case StampTrust::NoStamps:
        return TranslatedText(
            "CamHealth",
            "No Last-Modified on any answer, so no picture counts as new: the picture's content decides better "
            "(Options)");
    case StampTrust::EveryAnswer:
        return TranslatedText(
            "CamHealth",
            "Last-Modified changes on every answer but the picture does not: the picture's content decides better "
            "(Options)");
    }
    return {};
}

CamState EvaluateCamState(const CamHealth& health, const QDateTime& now, qint64 staleAfterSeconds,
                          qint64 frozenAfterSeconds)
{
    for (const HealthNote& note : health.notes) {
        if (NoteMakesFailing(note.kind))
            return CamState::Failing;
    }
    if (!health.saving.problem.isEmpty())
        return CamState::Failing;  // its pictures are being lost, whatever the fetch shows
    if (health.last.kind == FetchOutcomeKind::None)
        return CamState::Starting;
    if (OutcomeIsFailure(health.last.kind))
        return CamState::Failing;
    if (LooksFrozen(health, now, frozenAfterSeconds))
        return CamState::Frozen;
    // Cams that send no Last-Modified line cannot say whether their picture is new.
    if (health.lastPictureStamped && health.lastNewPicture.isValid() &&
        health.lastNewPicture.secsTo(now) >= staleAfterSeconds)
        return CamState::Stale;
    return CamState::Ok;
}

QString StateText(CamState state)
{
    switch (state) {
    case CamState::Starting:
        return TranslatedText("CamHealth", "starting");
    case CamState::Ok:
        return TranslatedText("CamHealth", "ok");
    case CamState::Stale:
        return TranslatedText("CamHealth", "stale");
    case CamState::Frozen:
        return TranslatedText("CamHealth", "frozen");
    case CamState::Failing:
        return TranslatedText("CamHealth", "failing");
    }
    return {};
}

QString PhaseText(FetchPhase phase)
{
    switch (phase) {
    case FetchPhase::Idle:
        return TranslatedText("CamHealth", "idle");
    case FetchPhase::Connecting:
        return TranslatedText("CamHealth", "connecting");
    case FetchPhase::Waiting:
        return TranslatedText("CamHealth", "waiting for the answer");
    case FetchPhase::Receiving:
        return TranslatedText("CamHealth", "receiving");
    case FetchPhase::Keyframe:
        return TranslatedText("CamHealth", "waiting for a keyframe");
    case FetchPhase::Finishing:
        return TranslatedText("CamHealth", "letting a slow download finish past the refresh interval");
    case FetchPhase::Done:
        return TranslatedText("CamHealth", "done");
    }
    return {};
}

QString HealthReason(const CamHealth& health, CamState state)
{
    if (state == CamState::Stale)
        return TranslatedText("CamHealth", "no new picture since %1").arg(DateTimeText(health.lastNewPicture));
    if (state == CamState::Frozen)
        return (health.masked
                    ? TranslatedText("CamHealth",
                                     "the picture outside the mask has not changed since %1, "
                                     "though the cam keeps sending new ones")
                    : TranslatedText("CamHealth",
                                     "the picture has not changed since %1, though the cam keeps sending new ones"))
            .arg(DateTimeText(health.lastContentChange));
    if (state == CamState::Starting && health.notes.isEmpty())
        return PhaseText(health.phase);
    QStringList parts;
    for (const HealthNote& note : health.notes)
        parts << NoteText(note);
    if (!health.saving.problem.isEmpty())
        parts << SaveTroubleText(health.saving);
    if (health.last.kind != FetchOutcomeKind::None)
        parts << OutcomeReason(health.last);
    // A cam that waits for its download says so, whatever its last fetch came to.
    if (health.phase == FetchPhase::Finishing)
        parts << PhaseText(health.phase);
    return parts.join(QStringLiteral("; "));
}

QString HealthSummary(const CamHealth& health, CamState state)
{
    // The separator too: French sets a space before the colon.
    return TranslatedText("CamHealth", "%1: %2").arg(StateText(state), HealthReason(health, state));
}

QStringList HealthToolTipLines(const QString& camName, const CamHealth& health, CamState state)
{
    QStringList lines{TranslatedText("CamHealth", "%1: %2").arg(camName, StateText(state)),
                      HealthReason(health, state)};
    if (state == CamState::Stale || state == CamState::Frozen)
        lines << TranslatedText("CamHealth", "Last fetch: %1").arg(OutcomeReason(health.last));
    if (health.phase == FetchPhase::Connecting || health.phase == FetchPhase::Waiting ||
        health.phase == FetchPhase::Receiving || health.phase == FetchPhase::Finishing)
        lines << TranslatedText("CamHealth", "Now: %1").arg(PhaseText(health.phase));
    const auto when = [](const QDateTime& time) {
        return time.isValid() ? DateTimeText(time) : TranslatedText("CamHealth", "none yet");
    };
    lines << TranslatedText("CamHealth", "Last picture: %1").arg(when(health.lastPictureShown));
    if (health.lastPictureShown.isValid() && !health.lastPictureStamped)
        lines << TranslatedText("CamHealth", "Last new picture: unknown (the cam sends no Last-Modified)");
    else
        lines << TranslatedText("CamHealth", "Last new picture: %1").arg(when(health.lastNewPicture));
    lines << TranslatedText("CamHealth", "Failures in a row: %1").arg(health.consecutiveFailures);
    return lines;
}

void RecordOutcome(CamHealth& health, const FetchOutcome& outcome, const QDateTime& now, bool stamped, bool newStamp)
{
    health.phase = FetchPhase::Done;
    health.last = outcome;
    if (OutcomeIsFailure(outcome.kind)) {
        ++health.consecutiveFailures;
        return;
    }
    health.consecutiveFailures = 0;
    if (outcome.kind == FetchOutcomeKind::Unchanged) {
        health.lastPictureShown = now;  // the cam said the picture shown is still its picture
        return;
    }
    if (outcome.kind != FetchOutcomeKind::PictureShown)
        return;
    health.lastPictureShown = now;
    health.lastPictureStamped = stamped;
    if (stamped && (newStamp || !health.lastNewPicture.isValid()))
        health.lastNewPicture = now;
}

QString PictureFormatOf(const QByteArray& bodyStart)
{
    if (bodyStart.startsWith("\xFF\xD8\xFF"))
        return QStringLiteral("JPEG");
    if (bodyStart.startsWith("\x89PNG"))
        return QStringLiteral("PNG");
    if (bodyStart.startsWith("GIF8"))
        return QStringLiteral("GIF");
    if (bodyStart.startsWith("BM"))
        return QStringLiteral("BMP");
    if (bodyStart.startsWith("RIFF") && bodyStart.mid(8, 4) == "WEBP")
        return QStringLiteral("WebP");
    return {};
}

FetchOutcome ClassifyClosedAnswer(const ClosedAnswer& answer)
{
    FetchOutcome o;
    o.receivedBytes = answer.receivedBytes;
    if (!answer.headerComplete) {
        o.kind = answer.peerReset ? FetchOutcomeKind::ConnectionReset : FetchOutcomeKind::NoHeader;
        return o;
    }
    // The status line is read for this record only: what the fetch does never depends on it.
    o.status = StatusCodeOf(answer.header);
    if (o.status != 0) {
        const qsizetype lineEnd = answer.header.indexOf("\r\n");
        const QByteArray statusLine = lineEnd < 0 ? answer.header : answer.header.first(lineEnd);
        const qsizetype reasonAt = statusLine.indexOf(' ', statusLine.indexOf(' ') + 1);
        if (reasonAt > 0)
            o.statusReason = QuotedServerText(QString::fromLatin1(statusLine.sliced(reasonAt + 1).trimmed()));
    }
    o.contentType =
        QuotedServerText(HeaderValue(answer.header, "Content-Type").section(QLatin1Char(';'), 0, 0).trimmed());
    o.bodyBytes = answer.bodyBytes;
    o.expectedBytes = answer.contentLength > 0 ? answer.contentLength : -1;

    if (!answer.isImage) {
        const QString location = HeaderValue(answer.header, "Location");
        if (o.status >= 300 && o.status <= 399 && !location.isEmpty()) {
            o.kind = FetchOutcomeKind::Redirect;
            o.detail = QuotedServerText(MaskAddressPassword(location));
        } else {
            o.kind = FetchOutcomeKind::NotAPicture;
        }
    } else if (!answer.bodyValid) {
        o.kind = FetchOutcomeKind::BodyNotAPicture;
        o.detail = QStringLiteral(QT_TRANSLATE_NOOP("CamHealth", "malformed chunked body"));
    } else if (!answer.bodyWhole) {
        o.kind = FetchOutcomeKind::CutOff;
    } else {
        o.kind = FetchOutcomeKind::PictureShown;  // until the decode says otherwise
        o.format = PictureFormatOf(answer.bodyStart);
    }
    if (answer.peerReset && o.kind != FetchOutcomeKind::PictureShown)
        o.kind = FetchOutcomeKind::ConnectionReset;
    return o;
}

void FinishPictureOutcome(FetchOutcome& outcome, const QSize& pictureSize, bool refusedTooLarge)
{
    if (outcome.kind != FetchOutcomeKind::PictureShown)
        return;
    if (refusedTooLarge) {
        outcome.kind = FetchOutcomeKind::TooLarge;
        outcome.tooLarge = FetchOutcome::Part::Picture;
        outcome.pictureSize = pictureSize;
    } else if (pictureSize.isEmpty()) {
        outcome.kind = FetchOutcomeKind::BodyNotAPicture;
    } else {
        outcome.pictureSize = pictureSize;
    }
}

FetchOutcome ClassifySocketFailure(const CamSocketFailure& failure, const QString& host)
{
    FetchOutcome o;
    o.detail = failure.errorString;
    if (!failure.sslErrors.isEmpty() || failure.handshakeHangUp ||
        failure.error == QAbstractSocket::SslHandshakeFailedError ||
        failure.error == QAbstractSocket::SslInternalError) {
        o.kind = FetchOutcomeKind::TlsFailure;
        o.sslErrors = failure.sslErrors;
        if (failure.handshakeHangUp)
            o.detail =
                QStringLiteral(QT_TRANSLATE_NOOP("CamHealth", "the server closed the connection during the handshake"));
        return o;
    }
    switch (failure.error) {
    case QAbstractSocket::ConnectionRefusedError:
        o.kind = FetchOutcomeKind::ConnectionRefused;
        break;
    case QAbstractSocket::HostNotFoundError:
        o.kind = FetchOutcomeKind::HostNotFound;
        o.detail = QuotedServerText(host);  // a redirect's host may be any length
        break;
    default:
        o.kind = FetchOutcomeKind::SocketError;
        break;
    }
    return o;
}

FetchOutcome ClassifyCutShort(FetchPhase phase, bool headerDone, qint64 bodyBytes, qint32 contentLength,
                              qint64 receivedBytes, double seconds, qint32 refreshSeconds)
{
    FetchOutcome o;
    o.seconds = seconds;
    o.refreshSeconds = refreshSeconds;
    switch (phase) {
    case FetchPhase::Connecting:
    case FetchPhase::Waiting:
        o.kind = FetchOutcomeKind::NoAnswer;
        o.connected = phase == FetchPhase::Waiting;
        break;
    case FetchPhase::Receiving:
    case FetchPhase::Finishing:
        o.kind = FetchOutcomeKind::Abandoned;
        o.receivedBytes = receivedBytes;
        o.bodyBytes = headerDone ? bodyBytes : -1;
        o.expectedBytes = headerDone && contentLength > 0 ? contentLength : -1;
        break;
    case FetchPhase::Keyframe:
        o.kind = FetchOutcomeKind::NoKeyframe;
        break;
    case FetchPhase::Idle:
    case FetchPhase::Done:
        break;  // nothing was running
    }
    return o;
}
