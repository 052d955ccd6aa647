#include "CamHealth.h"

#include <QSslCertificate>
#include <algorithm>
#include <cmath>

#include "CamRedirect.h"
#include "CamSocket.h"
#include "CamUrl.h"
#include "DateTimeText.h"
#include "HttpResponse.h"

namespace {

QString Plural(qint64 count, const char* one, const char* many)
{
    return QString::number(count) + QLatin1Char(' ') + QLatin1String(count == 1 ? one : many);
}

// Seconds as people say them: "0.4 s", "3 s", "2.5 s", "12 s".
QString SecondsText(double seconds)
{
    const double rounded = seconds < 10 ? std::round(seconds * 10) / 10 : std::round(seconds);
    return QString::number(rounded, 'f', QLocale::FloatingPointShortest) + QStringLiteral(" s");
}

// "700 bytes/s", "30 KB/s", "12.5 MB/s".
QString RateText(double bytesPerSecond)
{
    const qint64 rate = std::llround(bytesPerSecond);
    if (rate < 1024)
        return Plural(rate, "byte/s", "bytes/s");
    if (rate < 10 * 1024 * 1024)
        return QStringLiteral("%1 KB/s").arg(std::llround(bytesPerSecond / 1024));
    return ByteCountText(rate) + QStringLiteral("/s");
}

// "HTTP 404 Not Found"; "no status line" when the answer had none.
QString StatusText(const FetchOutcome& o)
{
    if (o.status == 0)
        return QStringLiteral("no status line");
    QString text = QStringLiteral("HTTP %1").arg(o.status);
    if (!o.statusReason.isEmpty())
        text += QLatin1Char(' ') + o.statusReason;
    return text;
}

QString ContentTypeText(const FetchOutcome& o)
{
    return o.contentType.isEmpty() ? QStringLiteral("no content type") : o.contentType;
}

QString AbandonedReason(const FetchOutcome& o)
{
    const double seconds = o.seconds > 0 ? o.seconds : o.refreshSeconds;
    const QString after = SecondsText(seconds);
    const QString interval = SecondsText(o.refreshSeconds);
    if (o.silentSeconds > 0) {
        // A slow download that was let run past the interval, until it stopped coming.
        const QString silence = QStringLiteral("no byte came for %1 (refresh interval %2)")
                                    .arg(SecondsText(std::floor(o.silentSeconds)), interval);
        if (o.expectedBytes > 0 && o.bodyBytes >= 0)
            return QStringLiteral("abandoned at %1% after %2: %3")
                .arg(std::llround(100.0 * static_cast<double>(o.bodyBytes) / static_cast<double>(o.expectedBytes)))
                .arg(after, silence);
        return QStringLiteral("abandoned after %1 with %2 received: %3")
            .arg(after, ByteCountText(std::max<qint64>(0, o.bodyBytes)), silence);
    }
    if (o.bodyBytes < 0)
        return QStringLiteral("abandoned after %1: the header was still incomplete after %2 (refresh interval %3)")
            .arg(after, ByteCountText(o.receivedBytes), interval);
    if (o.bodyBytes == 0 || seconds <= 0)
        return QStringLiteral("abandoned after %1: the header came, but no picture bytes within the refresh "
                              "interval of %2")
            .arg(after, interval);
    const double rate = static_cast<double>(o.bodyBytes) / seconds;
    if (o.expectedBytes <= 0)
        return QStringLiteral("abandoned after %1 with %2 received, %3; the server announced no length "
                              "(refresh interval %4)")
            .arg(after, ByteCountText(o.bodyBytes), RateText(rate), interval);
    const auto percent = std::llround(100.0 * static_cast<double>(o.bodyBytes) / static_cast<double>(o.expectedBytes));
    const double needs = static_cast<double>(o.expectedBytes) / rate;
    const QString needsText = SecondsText(std::max(1.0, std::round(needs)));
    const QString verdict = needs > o.refreshSeconds
        ? QStringLiteral("the picture needs about %1, longer than the refresh interval of %2").arg(needsText, interval)
        : QStringLiteral("the picture needs about %1, and the refresh interval is %2").arg(needsText, interval);
    return QStringLiteral("abandoned at %1% after %2, %3: %4").arg(percent).arg(after, RateText(rate), verdict);
}

QString TlsReason(const FetchOutcome& o)
{
    QStringList problems;
    for (const QSslError& error : o.sslErrors) {
        const QString text = CertificateProblemText(error);
        if (!problems.contains(text))
            problems << text;
    }
    if (problems.isEmpty())
        problems << o.detail;
    return QStringLiteral("TLS failure: ") + problems.join(QStringLiteral("; "));
}

// Only the host names and addresses a certificate is for: what a name mismatch is about.
QString CertificateNames(const QSslCertificate& certificate)
{
    QStringList names;
    const auto alternatives = certificate.subjectAlternativeNames();
    for (auto it = alternatives.cbegin(); it != alternatives.cend(); ++it) {
        if (!names.contains(it.value()))
            names << it.value();
    }
    if (names.isEmpty())
        names = certificate.subjectInfo(QSslCertificate::CommonName);
    return names.join(QStringLiteral(", "));
}

}  // namespace

QString ByteCountText(qint64 bytes)
{
    if (bytes < 10 * 1024)
        return Plural(bytes, "byte", "bytes");
    if (bytes < 10 * 1024 * 1024)
        return QStringLiteral("%1 KB").arg(std::llround(static_cast<double>(bytes) / 1024));
    const double megabytes = std::round(static_cast<double>(bytes) / (1024.0 * 1024.0) * 10) / 10;
    return QString::number(megabytes, 'f', QLocale::FloatingPointShortest) + QStringLiteral(" MB");
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

QString HeaderValue(const QByteArray& header, QByteArrayView name)
{
    return QString::fromLatin1(RawHeaderValue(header, name).trimmed());
}

QByteArray RawHeaderValue(const QByteArray& header, QByteArrayView name)
{
    qsizetype lineStart = 0;
    while (lineStart < header.size()) {
        qsizetype lineEnd = header.indexOf("\r\n", lineStart);
        if (lineEnd < 0)
            lineEnd = header.size();
        const QByteArrayView line = QByteArrayView(header).sliced(lineStart, lineEnd - lineStart);
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.first(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.sliced(colon + 1).toByteArray();
        lineStart = lineEnd + 2;
    }
    return {};
}

QString CertificateProblemText(const QSslError& error)
{
    const QSslCertificate certificate = error.certificate();
    switch (error.error()) {
    case QSslError::SelfSignedCertificate:
        return QStringLiteral("certificate not trusted: self-signed");
    case QSslError::SelfSignedCertificateInChain:
        return QStringLiteral("certificate not trusted: self-signed authority in its chain");
    case QSslError::UnableToGetLocalIssuerCertificate:
    case QSslError::UnableToGetIssuerCertificate:
    case QSslError::UnableToVerifyFirstCertificate:
    case QSslError::CertificateUntrusted: {
        const QStringList issuer = certificate.issuerInfo(QSslCertificate::CommonName);
        return issuer.isEmpty()
            ? QStringLiteral("certificate not trusted: unknown authority")
            : QStringLiteral("certificate not trusted: unknown authority %1").arg(issuer.join(QStringLiteral(", ")));
    }
    case QSslError::HostNameMismatch: {
        const QString names = CertificateNames(certificate);
        return names.isEmpty() ? QStringLiteral("certificate name mismatch")
                               : QStringLiteral("certificate name mismatch: it is for %1").arg(names);
    }
    case QSslError::CertificateExpired:
        return certificate.isNull()
            ? QStringLiteral("certificate expired")
            : QStringLiteral("certificate expired on %1").arg(DateText(certificate.expiryDate().toLocalTime().date()));
    case QSslError::CertificateNotYetValid:
        return certificate.isNull() ? QStringLiteral("certificate not yet valid")
                                    : QStringLiteral("certificate not valid before %1")
                                          .arg(DateText(certificate.effectiveDate().toLocalTime().date()));
    case QSslError::CertificateRevoked:
        return QStringLiteral("certificate revoked");
    default:
        return QStringLiteral("certificate problem: ") + error.errorString();
    }
}

// The outcome's own words, without the way it came.
static QString KindReason(const FetchOutcome& o)
{
    switch (o.kind) {
    case FetchOutcomeKind::None:
        return QStringLiteral("no fetch has ended yet");
    case FetchOutcomeKind::PictureShown: {
        QStringList parts;
        if (o.pictureSize.isValid())
            parts << QStringLiteral("%1x%2").arg(o.pictureSize.width()).arg(o.pictureSize.height());
        if (o.bodyBytes >= 0)
            parts << ByteCountText(o.bodyBytes);
        if (!o.format.isEmpty())
            parts << o.format;
        // Shown all the same, as it always was; but the server said something was wrong.
        if (o.status != 0 && (o.status < 200 || o.status > 299))
            parts << QStringLiteral("despite ") + StatusText(o);
        if (o.pastInterval)
            parts << QStringLiteral("after %1, longer than the refresh interval of %2")
                         .arg(SecondsText(o.seconds), SecondsText(o.refreshSeconds));
        if (parts.isEmpty())
            return QStringLiteral("picture shown");
        return QStringLiteral("picture shown: ") + parts.join(QStringLiteral(", "));
    }
    case FetchOutcomeKind::NotAPicture:
        return QStringLiteral("%1, %2, %3").arg(StatusText(o), ContentTypeText(o), ByteCountText(o.bodyBytes));
    case FetchOutcomeKind::Redirect:
        return QStringLiteral("HTTP %1 to %2, not followed").arg(o.status).arg(o.detail);
    case FetchOutcomeKind::NoHeader:
        return o.receivedBytes == 0
            ? QStringLiteral("empty answer: the server closed without sending anything")
            : QStringLiteral("the answer ended inside its header, after %1").arg(ByteCountText(o.receivedBytes));
    case FetchOutcomeKind::BodyNotAPicture:
        return QStringLiteral("%1, %2, %3: %4")
            .arg(StatusText(o), ContentTypeText(o), ByteCountText(o.bodyBytes),
                 o.detail.isEmpty() ? QStringLiteral("the body is not a picture") : o.detail);
    case FetchOutcomeKind::CutOff:
        if (o.expectedBytes > 0)
            return QStringLiteral("cut off: %1 of %2 received")
                .arg(ByteCountText(o.bodyBytes), ByteCountText(o.expectedBytes));
        return QStringLiteral("cut off: the JPEG stops before its end, after %1").arg(ByteCountText(o.bodyBytes));
    case FetchOutcomeKind::TooLarge:
        switch (o.tooLarge) {
        case FetchOutcome::Part::Header:
            return QStringLiteral("header longer than %1: abandoned")
                .arg(ByteCountText(HttpResponseAssembler::kMaxHeaderBytes));
        case FetchOutcome::Part::Answer:
            return QStringLiteral("answer larger than %1: abandoned")
                .arg(ByteCountText(HttpResponseAssembler::kMaxResponseBytes));
        case FetchOutcome::Part::Picture:
            break;
        }
        if (o.pictureSize.isValid())
            return QStringLiteral("picture refused as too large: %1x%2 pixels")
                .arg(o.pictureSize.width())
                .arg(o.pictureSize.height());
        return QStringLiteral("picture refused as too large");
    case FetchOutcomeKind::ConnectionRefused:
        return QStringLiteral("connection refused");
    case FetchOutcomeKind::HostNotFound:
        return QStringLiteral("host not found: ") + o.detail;
    case FetchOutcomeKind::ConnectionReset: {
        QString text = QStringLiteral("connection reset by the server after %1").arg(ByteCountText(o.receivedBytes));
        if (o.status != 0)
            text += QStringLiteral(" (%1)").arg(StatusText(o));
        return text;
    }
    case FetchOutcomeKind::TlsFailure:
        return TlsReason(o);
    case FetchOutcomeKind::SocketError:
        return QStringLiteral("connection failed: ") + o.detail;
    case FetchOutcomeKind::NoAnswer:
        return QStringLiteral("%1 within the refresh interval of %2")
            .arg(o.connected ? QStringLiteral("no answer") : QStringLiteral("no connection"),
                 SecondsText(o.refreshSeconds));
    case FetchOutcomeKind::Abandoned:
        return AbandonedReason(o);
    case FetchOutcomeKind::BadAddress:
        return QStringLiteral("the address cannot be split into host and path: ") + o.detail;
    case FetchOutcomeKind::SignInRefused:
        return QStringLiteral("sign-in refused");
    case FetchOutcomeKind::StreamWithoutPicture:
        return QStringLiteral("stream without a picture");
    case FetchOutcomeKind::Unchanged:
        return QStringLiteral("unchanged (%1)").arg(o.status);
    case FetchOutcomeKind::UnsafeRedirect:
        return QStringLiteral("unsafe redirect: HTTP %1 from https to %2").arg(o.status).arg(o.detail);
    case FetchOutcomeKind::RedirectRefused:
        switch (o.redirectProblem) {
        case RedirectProblem::Loop:
            return QStringLiteral("redirect loop: HTTP %1 back to %2").arg(o.status).arg(o.detail);
        case RedirectProblem::TooMany:
            return QStringLiteral("more than %1 redirects: HTTP %2 to %3 not followed")
                .arg(RedirectChain::kMaxHops)
                .arg(o.status)
                .arg(o.detail);
        case RedirectProblem::ControlCharacters:
            return QStringLiteral("HTTP %1 with control characters in its Location, not followed").arg(o.status);
        case RedirectProblem::Unusable:
            return QStringLiteral("HTTP %1 to %2, which cannot be fetched").arg(o.status).arg(o.detail);
        }
    }
    return {};
}

QString QuotedServerText(const QString& text)
{
    if (text.size() <= kQuotedTextLength)
        return text;
    return text.first(kQuotedTextLength - 1) + QChar(0x2026);
}

QString OutcomeReason(const FetchOutcome& o)
{
    const QString reason = KindReason(o);
    if (o.redirects.isEmpty())
        return reason;
    return reason + QStringLiteral("; redirected: ") + o.redirects.join(QStringLiteral(", "));
}

bool OutcomeIsFailure(FetchOutcomeKind kind)
{
    return kind != FetchOutcomeKind::None && kind != FetchOutcomeKind::PictureShown &&
        kind != FetchOutcomeKind::Unchanged;
}

QString OutcomeKey(const FetchOutcome& o)
{
    QString key = QString::number(static_cast<int>(o.kind));
    const auto add = [&key](const QString& part) { key += QLatin1Char('|') + part; };
    for (const QString& hop : o.redirects)
        add(hop);
    switch (o.kind) {
    case FetchOutcomeKind::PictureShown:
        add(QString::number(o.status / 100));  // a 404 picture is worth a line, another size is not
        break;
    case FetchOutcomeKind::NotAPicture:
        add(QString::number(o.status));
        add(o.contentType);
        break;
    case FetchOutcomeKind::Redirect:
    case FetchOutcomeKind::BodyNotAPicture:
        add(QString::number(o.status));
        add(o.detail);
        break;
    case FetchOutcomeKind::ConnectionReset:
        add(QString::number(o.status));
        break;
    case FetchOutcomeKind::NoHeader:
        add(QString::number(o.receivedBytes == 0));
        break;
    case FetchOutcomeKind::CutOff:
        add(QString::number(o.expectedBytes > 0));
        break;
    case FetchOutcomeKind::TooLarge:
        add(QString::number(static_cast<int>(o.tooLarge)));
        break;
    case FetchOutcomeKind::TlsFailure:
        add(TlsReason(o));
        break;
    case FetchOutcomeKind::HostNotFound:
    case FetchOutcomeKind::SocketError:
    case FetchOutcomeKind::BadAddress:
        add(o.detail);
        break;
    case FetchOutcomeKind::NoAnswer:
        add(QString::number(o.connected));
        break;
    case FetchOutcomeKind::None:
    case FetchOutcomeKind::ConnectionRefused:
    case FetchOutcomeKind::Abandoned:
    case FetchOutcomeKind::SignInRefused:
    case FetchOutcomeKind::StreamWithoutPicture:
    case FetchOutcomeKind::Unchanged:
        break;
    case FetchOutcomeKind::UnsafeRedirect:
    case FetchOutcomeKind::RedirectRefused:
        add(QString::number(static_cast<int>(o.redirectProblem)));
        add(o.detail);
        break;
    }
    return key;
}

QString NoteText(const HealthNote& note)
{
    switch (note.kind) {
    case HealthNote::Kind::RefreshNotANumber:
        return QStringLiteral("refresh rate \"%1\" is not a number of seconds; it stays at %2")
            .arg(note.text, SecondsText(note.number));
    case HealthNote::Kind::PasswordInClear:
        return QStringLiteral("the password crossed the network unencrypted (Basic sign-in over http)");
    }
    return {};
}

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

QString SaveTroubleText(const SaveTrouble& trouble)
{
    return QStringLiteral("AutoSave failing since %1, %2 lost: %3")
        .arg(DateTimeText(trouble.since), Plural(trouble.lost, "picture", "pictures"), trouble.problem);
}

QString SaveTroubleFieldText(int cams)
{
    return cams > 0 ? QStringLiteral("AutoSave failing for ") + Plural(cams, "cam", "cams") : QString();
}

qint64 StaleAfterSeconds(int staleMinutes, qint32 refreshSeconds)
{
    return std::max<qint64>(qint64{staleMinutes} * 60, qint64{refreshSeconds} * 10);
}

CamState EvaluateCamState(const CamHealth& health, const QDateTime& now, qint64 staleAfterSeconds)
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
        return QStringLiteral("starting");
    case CamState::Ok:
        return QStringLiteral("ok");
    case CamState::Stale:
        return QStringLiteral("stale");
    case CamState::Failing:
        return QStringLiteral("failing");
    }
    return {};
}

QString PhaseText(FetchPhase phase)
{
    switch (phase) {
    case FetchPhase::Idle:
        return QStringLiteral("idle");
    case FetchPhase::Connecting:
        return QStringLiteral("connecting");
    case FetchPhase::Waiting:
        return QStringLiteral("waiting for the answer");
    case FetchPhase::Receiving:
        return QStringLiteral("receiving");
    case FetchPhase::Finishing:
        return QStringLiteral("letting a slow download finish past the refresh interval");
    case FetchPhase::Done:
        return QStringLiteral("done");
    }
    return {};
}

namespace {
// The summary without its state.
QString SummaryReason(const CamHealth& health, CamState state)
{
    if (state == CamState::Stale)
        return QStringLiteral("no new picture since ") + DateTimeText(health.lastNewPicture);
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
}  // namespace

QString HealthSummary(const CamHealth& health, CamState state)
{
    return StateText(state) + QStringLiteral(": ") + SummaryReason(health, state);
}

QStringList HealthToolTipLines(const QString& camName, const CamHealth& health, CamState state)
{
    QStringList lines{camName + QStringLiteral(": ") + StateText(state), SummaryReason(health, state)};
    if (state == CamState::Stale)
        lines << QStringLiteral("Last fetch: ") + OutcomeReason(health.last);
    if (health.phase == FetchPhase::Connecting || health.phase == FetchPhase::Waiting ||
        health.phase == FetchPhase::Receiving || health.phase == FetchPhase::Finishing)
        lines << QStringLiteral("Now: ") + PhaseText(health.phase);
    const auto when = [](const QDateTime& time) {
        return time.isValid() ? DateTimeText(time) : QStringLiteral("none yet");
    };
    lines << QStringLiteral("Last picture: ") + when(health.lastPictureShown);
    if (health.lastPictureShown.isValid() && !health.lastPictureStamped)
        lines << QStringLiteral("Last new picture: unknown (the cam sends no Last-Modified)");
    else
        lines << QStringLiteral("Last new picture: ") + when(health.lastNewPicture);
    lines << QStringLiteral("Failures in a row: %1").arg(health.consecutiveFailures);
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

int StatusCodeOf(const QByteArray& header)
{
    const qsizetype lineEnd = header.indexOf("\r\n");
    const QByteArray statusLine = lineEnd < 0 ? header : header.first(lineEnd);
    if (!statusLine.startsWith("HTTP/"))
        return 0;
    const QList<QByteArray> words = statusLine.split(' ');
    bool ok = false;
    const int code = words.size() >= 2 ? words[1].toInt(&ok) : 0;
    return ok && code >= 100 && code <= 999 ? code : 0;
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
        o.detail = QStringLiteral("malformed chunked body");
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
            o.detail = QStringLiteral("the server closed the connection during the handshake");
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
    case FetchPhase::Idle:
    case FetchPhase::Done:
        break;  // nothing was running
    }
    return o;
}
