// The words of a fetch's outcome: reasons, byte counts, rates and certificate problems, as the
// tool tip, the Viewer's "Status:" line and the watch log show them.
#include <QSslCertificate>
#include <algorithm>
#include <cmath>

#include "CamHealth.h"
#include "CamRedirect.h"
#include "DateTimeText.h"
#include "HttpResponse.h"
#include "Translations.h"

namespace {

// one and many are marked for the translators where they are written.
QString Plural(qint64 count, const char* one, const char* many)
{
    return QString::number(count) + QLatin1Char(' ') + TranslatedText("CamHealth", count == 1 ? one : many);
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
        return Plural(rate, QT_TRANSLATE_NOOP("CamHealth", "byte/s"), QT_TRANSLATE_NOOP("CamHealth", "bytes/s"));
    if (rate < 10 * 1024 * 1024)
        return TranslatedText("CamHealth", "%1 KB/s").arg(std::llround(bytesPerSecond / 1024));
    return ByteCountText(rate) + QStringLiteral("/s");
}

// "HTTP 404 Not Found"; "no status line" when the answer had none.
QString StatusText(const FetchOutcome& o)
{
    if (o.status == 0)
        return TranslatedText("CamHealth", "no status line");
    QString text = QStringLiteral("HTTP %1").arg(o.status);
    if (!o.statusReason.isEmpty())
        text += QLatin1Char(' ') + o.statusReason;
    return text;
}

QString ContentTypeText(const FetchOutcome& o)
{
    return o.contentType.isEmpty() ? TranslatedText("CamHealth", "no content type") : o.contentType;
}

QString AbandonedReason(const FetchOutcome& o)
{
    const double seconds = o.seconds > 0 ? o.seconds : o.refreshSeconds;
    const QString after = SecondsText(seconds);
    const QString interval = SecondsText(o.refreshSeconds);
    if (o.silentSeconds > 0) {
        // A slow download that was let run past the interval, until it stopped coming.
        const QString silence = TranslatedText("CamHealth", "no byte came for %1 (refresh interval %2)")
                                    .arg(SecondsText(std::floor(o.silentSeconds)), interval);
        if (o.expectedBytes > 0 && o.bodyBytes >= 0)
            return TranslatedText("CamHealth", "abandoned at %1% after %2: %3")
                .arg(std::llround(100.0 * static_cast<double>(o.bodyBytes) / static_cast<double>(o.expectedBytes)))
                .arg(after, silence);
        return TranslatedText("CamHealth", "abandoned after %1 with %2 received: %3")
            .arg(after, ByteCountText(std::max<qint64>(0, o.bodyBytes)), silence);
    }
    if (o.bodyBytes < 0)
        return TranslatedText("CamHealth",
                              "abandoned after %1: the header was still incomplete after %2 (refresh interval %3)")
            .arg(after, ByteCountText(o.receivedBytes), interval);
    if (o.bodyBytes == 0 || seconds <= 0)
        return TranslatedText("CamHealth",
                              "abandoned after %1: the header came, but no picture bytes within the refresh "
                              "interval of %2")
            .arg(after, interval);
    const double rate = static_cast<double>(o.bodyBytes) / seconds;
    if (o.expectedBytes <= 0)
        return TranslatedText("CamHealth",
                              "abandoned after %1 with %2 received, %3; the server announced no length "
                              "(refresh interval %4)")
            .arg(after, ByteCountText(o.bodyBytes), RateText(rate), interval);
    const auto percent = std::llround(100.0 * static_cast<double>(o.bodyBytes) / static_cast<double>(o.expectedBytes));
    const double needs = static_cast<double>(o.expectedBytes) / rate;
    const QString needsText = SecondsText(std::max(1.0, std::round(needs)));
    const QString verdict = needs > o.refreshSeconds
        ? TranslatedText("CamHealth", "the picture needs about %1, longer than the refresh interval of %2")
              .arg(needsText, interval)
        : TranslatedText("CamHealth", "the picture needs about %1, and the refresh interval is %2")
              .arg(needsText, interval);
    return TranslatedText("CamHealth", "abandoned at %1% after %2, %3: %4")
        .arg(percent)
        .arg(after, RateText(rate), verdict);
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
        problems << TranslatedSource("CamHealth", o.detail);
    return TranslatedText("CamHealth", "TLS failure: %1").arg(problems.join(QStringLiteral("; ")));
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
        return Plural(bytes, QT_TRANSLATE_NOOP("CamHealth", "byte"), QT_TRANSLATE_NOOP("CamHealth", "bytes"));
    if (bytes < 10 * 1024 * 1024)
        return TranslatedText("CamHealth", "%1 KB").arg(std::llround(static_cast<double>(bytes) / 1024));
    const double megabytes = std::round(static_cast<double>(bytes) / (1024.0 * 1024.0) * 10) / 10;
    return TranslatedText("CamHealth", "%1 MB").arg(QString::number(megabytes, 'f', QLocale::FloatingPointShortest));
}

QString CertificateProblemText(const QSslError& error)
{
    const QSslCertificate certificate = error.certificate();
    switch (error.error()) {
    case QSslError::SelfSignedCertificate:
        return TranslatedText("CamHealth", "certificate not trusted: self-signed");
    case QSslError::SelfSignedCertificateInChain:
        return TranslatedText("CamHealth", "certificate not trusted: self-signed authority in its chain");
    case QSslError::UnableToGetLocalIssuerCertificate:
    case QSslError::UnableToGetIssuerCertificate:
    case QSslError::UnableToVerifyFirstCertificate:
    case QSslError::CertificateUntrusted: {
        const QStringList issuer = certificate.issuerInfo(QSslCertificate::CommonName);
        return issuer.isEmpty() ? TranslatedText("CamHealth", "certificate not trusted: unknown authority")
                                : TranslatedText("CamHealth", "certificate not trusted: unknown authority %1")
                                      .arg(issuer.join(QStringLiteral(", ")));
    }
    case QSslError::HostNameMismatch: {
        const QString names = CertificateNames(certificate);
        return names.isEmpty() ? TranslatedText("CamHealth", "certificate name mismatch")
                               : TranslatedText("CamHealth", "certificate name mismatch: it is for %1").arg(names);
    }
    case QSslError::CertificateExpired:
        return certificate.isNull() ? TranslatedText("CamHealth", "certificate expired")
                                    : TranslatedText("CamHealth", "certificate expired on %1")
                                          .arg(DateText(certificate.expiryDate().toLocalTime().date()));
    case QSslError::CertificateNotYetValid:
        return certificate.isNull() ? TranslatedText("CamHealth", "certificate not yet valid")
                                    : TranslatedText("CamHealth", "certificate not valid before %1")
                                          .arg(DateText(certificate.effectiveDate().toLocalTime().date()));
    case QSslError::CertificateRevoked:
        return TranslatedText("CamHealth", "certificate revoked");
    default:
        return TranslatedText("CamHealth", "certificate problem: %1").arg(error.errorString());
    }
}

namespace {
// "picture shown: 640x480, 35 KB, JPEG", with what was odd about it.
QString PictureShownReason(const FetchOutcome& o)
{
    QStringList parts;
    if (o.pictureSize.isValid())
        parts << QStringLiteral("%1x%2").arg(o.pictureSize.width()).arg(o.pictureSize.height());
    if (o.bodyBytes >= 0)
        parts << ByteCountText(o.bodyBytes);
    if (!o.format.isEmpty())
        parts << o.format;
    // Shown all the same, as it always was; but the server said something was wrong.
    if (o.status != 0 && (o.status < 200 || o.status > 299))
        parts << TranslatedText("CamHealth", "despite %1").arg(StatusText(o));
    if (o.pastInterval)
        parts << TranslatedText("CamHealth", "after %1, longer than the refresh interval of %2")
                     .arg(SecondsText(o.seconds), SecondsText(o.refreshSeconds));
    if (parts.isEmpty())
        return TranslatedText("CamHealth", "picture shown");
    return TranslatedText("CamHealth", "picture shown: %1").arg(parts.join(QStringLiteral(", ")));
}

// What passed its limit: the header, the answer or the picture.
QString TooLargeReason(const FetchOutcome& o)
{
    switch (o.tooLarge) {
    case FetchOutcome::Part::Header:
        return TranslatedText("CamHealth", "header longer than %1: abandoned")
            .arg(ByteCountText(HttpResponseAssembler::kMaxHeaderBytes));
    case FetchOutcome::Part::Answer:
        return TranslatedText("CamHealth", "answer larger than %1: abandoned")
            .arg(ByteCountText(HttpResponseAssembler::kMaxResponseBytes));
    case FetchOutcome::Part::Picture:
        break;
    }
    if (o.pictureSize.isValid())
        return TranslatedText("CamHealth", "picture refused as too large: %1x%2 pixels")
            .arg(o.pictureSize.width())
            .arg(o.pictureSize.height());
    return TranslatedText("CamHealth", "picture refused as too large");
}

// Why a redirect was not followed.
QString RedirectRefusedReason(const FetchOutcome& o)
{
    switch (o.redirectProblem) {
    case RedirectProblem::Loop:
        return TranslatedText("CamHealth", "redirect loop: HTTP %1 back to %2").arg(o.status).arg(o.detail);
    case RedirectProblem::TooMany:
        return TranslatedText("CamHealth", "more than %1 redirects: HTTP %2 to %3 not followed")
            .arg(RedirectChain::kMaxHops)
            .arg(o.status)
            .arg(o.detail);
    case RedirectProblem::ControlCharacters:
        return TranslatedText("CamHealth", "HTTP %1 with control characters in its Location, not followed")
            .arg(o.status);
    case RedirectProblem::Unusable:
        return TranslatedText("CamHealth", "HTTP %1 to %2, which cannot be fetched").arg(o.status).arg(o.detail);
    }
    return {};
}

// The outcome's own words, without the way it came.
QString KindReason(const FetchOutcome& o)
{
    switch (o.kind) {
    case FetchOutcomeKind::None:
        return TranslatedText("CamHealth", "no fetch has ended yet");
    case FetchOutcomeKind::PictureShown:
        return PictureShownReason(o);
    case FetchOutcomeKind::NotAPicture:
        return QStringLiteral("%1, %2, %3").arg(StatusText(o), ContentTypeText(o), ByteCountText(o.bodyBytes));
    case FetchOutcomeKind::Redirect:
        return TranslatedText("CamHealth", "HTTP %1 to %2, not followed").arg(o.status).arg(o.detail);
    case FetchOutcomeKind::NoHeader:
        return o.receivedBytes == 0
            ? TranslatedText("CamHealth", "empty answer: the server closed without sending anything")
            : TranslatedText("CamHealth", "the answer ended inside its header, after %1")
                  .arg(ByteCountText(o.receivedBytes));
    case FetchOutcomeKind::BodyNotAPicture:
        return QStringLiteral("%1, %2, %3: %4")
            .arg(StatusText(o), ContentTypeText(o), ByteCountText(o.bodyBytes),
                 o.detail.isEmpty() ? TranslatedText("CamHealth", "the body is not a picture")
                                    : TranslatedSource("CamHealth", o.detail));
    case FetchOutcomeKind::CutOff:
        if (o.expectedBytes > 0)
            return TranslatedText("CamHealth", "cut off: %1 of %2 received")
                .arg(ByteCountText(o.bodyBytes), ByteCountText(o.expectedBytes));
        return TranslatedText("CamHealth", "cut off: the JPEG stops before its end, after %1")
            .arg(ByteCountText(o.bodyBytes));
    case FetchOutcomeKind::TooLarge:
        return TooLargeReason(o);
    case FetchOutcomeKind::ConnectionRefused:
        return TranslatedText("CamHealth", "connection refused");
    case FetchOutcomeKind::HostNotFound:
        return TranslatedText("CamHealth", "host not found: %1").arg(o.detail);
    case FetchOutcomeKind::ConnectionReset: {
        QString text =
            TranslatedText("CamHealth", "connection reset by the server after %1").arg(ByteCountText(o.receivedBytes));
        if (o.status != 0)
            text += QStringLiteral(" (%1)").arg(StatusText(o));
        return text;
    }
    case FetchOutcomeKind::TlsFailure:
        return TlsReason(o);
    case FetchOutcomeKind::SocketError:
        return TranslatedText("CamHealth", "connection failed: %1").arg(o.detail);
    case FetchOutcomeKind::NoAnswer:
        return TranslatedText("CamHealth", "%1 within the refresh interval of %2")
            .arg(o.connected ? TranslatedText("CamHealth", "no answer") : TranslatedText("CamHealth", "no connection"),
                 SecondsText(o.refreshSeconds));
    case FetchOutcomeKind::Abandoned:
        return AbandonedReason(o);
    case FetchOutcomeKind::BadAddress:
        return TranslatedText("CamHealth", "the address cannot be split into host and path: %1").arg(o.detail);
    case FetchOutcomeKind::SignInRefused:
        return TranslatedText("CamHealth", "sign-in refused");
    case FetchOutcomeKind::StreamWithoutPicture:
        return TranslatedText("CamHealth", "stream without a picture");
    case FetchOutcomeKind::Unchanged:
        return TranslatedText("CamHealth", "unchanged (%1)").arg(o.status);
    case FetchOutcomeKind::UnsafeRedirect:
        return TranslatedText("CamHealth", "unsafe redirect: HTTP %1 from https to %2").arg(o.status).arg(o.detail);
    case FetchOutcomeKind::RedirectRefused:
        return RedirectRefusedReason(o);
    case FetchOutcomeKind::StreamSignInRefused:
        return TranslatedText("CamHealth", "RTSP sign-in refused (401)");
    case FetchOutcomeKind::StreamNoAnswer:
        return TranslatedText("CamHealth", "no answer from the stream within %1").arg(SecondsText(o.seconds));
    case FetchOutcomeKind::NoKeyframe:
        return TranslatedText("CamHealth", "no keyframe within %1").arg(SecondsText(o.seconds));
    case FetchOutcomeKind::CodecNotSupported:
        return TranslatedText("CamHealth", "codec not supported: %1").arg(o.detail);
    case FetchOutcomeKind::StreamTooLarge:
        return TranslatedText("CamHealth", "picture too large: %1 × %2")
            .arg(o.pictureSize.width())
            .arg(o.pictureSize.height());
    case FetchOutcomeKind::StreamFailed:
        return TranslatedText("CamHealth", "stream failed: %1").arg(o.detail);
    case FetchOutcomeKind::StreamProblem:
        return o.detail;
    }
    return {};
}
}  // namespace

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
    return reason + TranslatedText("CamHealth", "; redirected: %1").arg(o.redirects.join(QStringLiteral(", ")));
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
    case FetchOutcomeKind::CodecNotSupported:
    case FetchOutcomeKind::StreamFailed:
    case FetchOutcomeKind::StreamProblem:
        add(o.detail);
        break;
    case FetchOutcomeKind::StreamSignInRefused:
    case FetchOutcomeKind::StreamNoAnswer:
    case FetchOutcomeKind::NoKeyframe:
    case FetchOutcomeKind::StreamTooLarge:
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
        return TranslatedText("CamHealth", "refresh rate \"%1\" is not a number of seconds; it stays at %2")
            .arg(note.text, SecondsText(note.number));
    case HealthNote::Kind::PasswordInClear:
        return TranslatedText("CamHealth", "the password crossed the network unencrypted (Basic sign-in over http)");
    }
    return {};
}

QString SaveTroubleText(const SaveTrouble& trouble)
{
    return TranslatedText("CamHealth", "AutoSave failing since %1, %2 lost: %3")
        .arg(
            DateTimeText(trouble.since),
            Plural(trouble.lost, QT_TRANSLATE_NOOP("CamHealth", "picture"), QT_TRANSLATE_NOOP("CamHealth", "pictures")),
            trouble.problem);
}

QString SaveTroubleFieldText(int cams)
{
    return cams > 0
        ? TranslatedText("CamHealth", "AutoSave failing for %1")
              .arg(Plural(cams, QT_TRANSLATE_NOOP("CamHealth", "cam"), QT_TRANSLATE_NOOP("CamHealth", "cams")))
        : QString();
}
