#pragma once
// Signing in to a cam: reading the challenges of a 401 answer (WWW-Authenticate) and making the
// Authorization value for Basic and Digest (RFC 7616: MD5, MD5-sess, SHA-256, SHA-256-sess; qop
// "auth" or none). Pure text in, text out, so every challenge form can be tested without a server.
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

enum class AuthScheme { Basic, Digest };
enum class DigestAlgorithm { MD5, MD5Sess, SHA256, SHA256Sess };

// One challenge this program can answer.
struct AuthChallenge {
    AuthScheme scheme = AuthScheme::Basic;
    QByteArray realm;
    // Digest only.
    QByteArray nonce;
    QByteArray opaque;  // echoed back when given
    bool hasOpaque = false;
    DigestAlgorithm algorithm = DigestAlgorithm::MD5;
    bool qopAuth = false;  // the server offers qop "auth": nonce count and cnonce are sent
    bool stale = false;    // the nonce ran out, the password was right
};

// The challenges of every WWW-Authenticate line of a header that this program can answer, in
// their order. A challenge with an unknown algorithm, without a nonce, offering only qop values
// other than "auth", or whose quotes never close is left out; what follows a broken quote too.
QList<AuthChallenge> ParseAuthChallenges(const QByteArray& header);
// The strongest of them: Digest with SHA-256, then Digest with MD5, then Basic.
std::optional<AuthChallenge> ChooseChallenge(const QList<AuthChallenge>& challenges);

// What a Digest answer needs besides the challenge.
struct DigestRequest {
    QByteArray method = "GET";
    QByteArray uri;  // the request line's target, exactly as sent
    quint32 nonceCount = 1;
    QByteArray cnonce;  // random, made by the caller (hex)
};

// The Authorization header's value: "Basic <base64>" or "Digest username=..., response=...".
// User and password are sent as UTF-8.
QByteArray AuthorizationValue(const AuthChallenge& challenge, const QString& user, const QString& password,
                              const DigestRequest& request);
// A fresh random cnonce: 16 random bytes as 32 hexadecimal digits.
QByteArray MakeCnonce();
// "Basic", "Digest MD5", "Digest SHA-256-sess", ...: for the health record and the log.
QString ChallengeName(const AuthChallenge& challenge);
