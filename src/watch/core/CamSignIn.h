#pragma once
// The sign-in of one cam whose address holds a user part. The first request of a cam goes
// without credentials; a 401 offering Basic or Digest is answered once, on a new connection.
// The challenge is remembered for the cam, so later fetches send credentials at once (Digest
// with a growing nonce count); when such a fetch meets a 401 it starts over with the new
// challenge. "stale=true" (the nonce ran out, the password was right) is answered with the new
// nonce without counting as a refusal. Any other second 401 is a refusal.
#include <QByteArray>
#include <QString>
#include <optional>

#include "HttpAuth.h"

class CamSignIn {
public:
    enum class Verdict {
        Handle,   // no challenge this program answers: the answer is handled as it is
        Retry,    // ask again, on a new connection, with credentials for the header's challenge
        Refused,  // the credentials were refused
    };

    // A fetch starts for the address (with its password): a challenge remembered for another
    // address is forgotten, and the fetch has not retried yet.
    void startFetch(const QString& address);
    // The Authorization value for the fetch's next request; empty when none is due yet.
    QByteArray authorization(const QString& user, const QString& password, const QByteArray& target);
    // What to do about a 401 answer with this header.
    Verdict answer401(const QByteArray& header);
    // The last request carried credentials, and they were Basic ones.
    bool sentBasic() const { return sent_ && challenge_ && challenge_->scheme == AuthScheme::Basic; }
    const std::optional<AuthChallenge>& challenge() const { return challenge_; }

private:
    void remember(const AuthChallenge& challenge);

    QString address_;
    std::optional<AuthChallenge> challenge_;
    quint32 nonceCount_ = 0;  // requests sent with the remembered nonce
    QByteArray cnonce_;       // ours, for the remembered nonce
    // This fetch so far.
    bool sent_ = false;            // its last request carried credentials
    bool fromRemembered_ = false;  // its first request carried them at once
    int retries_ = 0;
    int staleRetries_ = 0;
};
