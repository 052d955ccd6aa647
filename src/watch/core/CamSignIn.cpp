#include "CamSignIn.h"

namespace {
// A server that answers every fresh nonce with "stale" again would otherwise be asked for ever.
constexpr int kMaxStaleRetries = 2;
}  // namespace

void CamSignIn::startFetch(const QString& address)
{
    if (address != address_) {
        address_ = address;
        challenge_.reset();
    }
    sent_ = false;
    fromRemembered_ = false;
    retries_ = 0;
    staleRetries_ = 0;
}

QByteArray CamSignIn::authorization(const QString& user, const QString& password, const QByteArray& target)
{
    if (!challenge_) {
        sent_ = false;
        return {};
    }
    if (!sent_ && retries_ == 0 && staleRetries_ == 0)
        fromRemembered_ = true;
    sent_ = true;
    DigestRequest request;
    request.uri = target;
    request.nonceCount = ++nonceCount_;
    request.cnonce = cnonce_;
    return AuthorizationValue(*challenge_, user, password, request);
}

CamSignIn::Verdict CamSignIn::answer401(const QByteArray& header)
{
    const std::optional<AuthChallenge> offered = ChooseChallenge(ParseAuthChallenges(header));
    if (!offered) {
        if (sent_) {
            challenge_.reset();
            return Verdict::Refused;
        }
        return Verdict::Handle;
    }
    if (!sent_) {
        remember(*offered);
        ++retries_;
        return Verdict::Retry;
    }
    if (offered->scheme == AuthScheme::Digest && offered->stale && staleRetries_ < kMaxStaleRetries) {
        remember(*offered);
        ++staleRetries_;
        return Verdict::Retry;
    }
    if (fromRemembered_ && retries_ == 0) {
        // The remembered challenge no longer holds (a restarted server): start over with this one.
        remember(*offered);
        ++retries_;
        return Verdict::Retry;
    }
    // The next fetch starts over, without credentials.
    challenge_.reset();
    return Verdict::Refused;
}

void CamSignIn::remember(const AuthChallenge& challenge)
{
    challenge_ = challenge;
    nonceCount_ = 0;
    cnonce_ = MakeCnonce();
}
