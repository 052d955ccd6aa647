#include "CamRedirect.h"

#include <QUrl>

#include "CamHealth.h"

namespace {
bool IsFollowedStatus(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The first Location line's value as the server sent it, without the blanks around it.
QByteArray LocationValue(const QByteArray& header)
{
    const QByteArray raw = RawHeaderValue(header, "Location");
    QByteArrayView value(raw);
    while (!value.isEmpty() && (value.front() == ' ' || value.front() == '\t'))
        value = value.sliced(1);
    while (!value.isEmpty() && (value.back() == ' ' || value.back() == '\t'))
        value.chop(1);
    return value.toByteArray();
}

bool HasControlCharacter(const QByteArray& text)
{
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f)
            return true;
    }
    return false;
}
}  // namespace

QString AbsoluteAddress(const CamUrlParts& parts)
{
    const QString typed = (parts.tls ? QStringLiteral("https://") : QStringLiteral("http://")) + parts.hostHeader +
        QString::fromUtf8(RequestTarget(parts.path));
    // One spelling for one address, so that a loop is seen however its hops write it.
    return QUrl(typed, QUrl::TolerantMode).toString(QUrl::FullyEncoded);
}

void RedirectChain::start(const CamUrlParts& address)
{
    origin_ = address;
    visited_ = {AbsoluteAddress(address)};
    hops_.clear();
    refused_ = RedirectHop();
}

RedirectHop RedirectChain::next(const QByteArray& header, const CamUrlParts& current)
{
    RedirectHop hop;
    hop.status = StatusCodeOf(header);
    const QByteArray location = LocationValue(header);
    if (!IsFollowedStatus(hop.status) || location.isEmpty())
        return hop;

    const auto refuse = [this, &hop](RedirectVerdict verdict) {
        hop.verdict = verdict;
        refused_ = hop;
        return hop;
    };
    if (HasControlCharacter(location))
        return refuse(RedirectVerdict::ControlCharacters);
    hop.target = MaskAddressPassword(QString::fromUtf8(location));

    const QUrl relative(QString::fromUtf8(location), QUrl::TolerantMode);
    QUrl target = QUrl(AbsoluteAddress(current)).resolved(relative);
    target.setFragment(QString());
    target.setUserInfo(QString());  // a server never chooses the credentials sent
    if (target.path().isEmpty())
        target.setPath(QStringLiteral("/"));
    const QString scheme = target.scheme();
    std::optional<CamUrlParts> next;
    if (relative.isValid() && target.isValid() && !target.host().isEmpty() &&
        (scheme == QLatin1String("http") || scheme == QLatin1String("https")))
        next = SplitCamUrl(target.toString(QUrl::FullyEncoded));
    if (!next)
        return refuse(RedirectVerdict::Unusable);
    hop.target = AbsoluteAddress(*next);
    if (current.tls && !next->tls)
        return refuse(RedirectVerdict::Unsafe);
    if (visited_.contains(hop.target))
        return refuse(RedirectVerdict::Loop);
    if (hops_.size() >= kMaxHops)
        return refuse(RedirectVerdict::TooMany);

    hop.verdict = RedirectVerdict::Follow;
    hop.next = *next;
    visited_ << hop.target;
    hops_ << QStringLiteral("HTTP %1 to %2").arg(hop.status).arg(QuotedServerText(hop.target));
    return hop;
}

bool RedirectChain::credentialsMayGo(const CamUrlParts& to) const
{
    if (!origin_.signIn || to.host != origin_.host)
        return false;
    if (to.port == origin_.port && to.tls == origin_.tls)
        return true;
    return !origin_.tls && origin_.port == 80 && to.tls && to.port == 443;
}

void DescribeRefusedRedirect(FetchOutcome& outcome, const RedirectHop& hop)
{
    outcome.kind =
        hop.verdict == RedirectVerdict::Unsafe ? FetchOutcomeKind::UnsafeRedirect : FetchOutcomeKind::RedirectRefused;
    outcome.status = hop.status;
    outcome.detail = QuotedServerText(hop.target);
    switch (hop.verdict) {
    case RedirectVerdict::Loop:
        outcome.redirectProblem = RedirectProblem::Loop;
        break;
    case RedirectVerdict::TooMany:
        outcome.redirectProblem = RedirectProblem::TooMany;
        break;
    case RedirectVerdict::ControlCharacters:
        outcome.redirectProblem = RedirectProblem::ControlCharacters;
        break;
    case RedirectVerdict::NotARedirect:
    case RedirectVerdict::Follow:
    case RedirectVerdict::Unsafe:
    case RedirectVerdict::Unusable:
        outcome.redirectProblem = RedirectProblem::Unusable;
        break;
    }
}
