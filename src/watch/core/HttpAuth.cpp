#include "HttpAuth.h"

#include "HttpHeader.h"

#include <QCryptographicHash>
#include <QRandomGenerator>

namespace {
bool IsTokenChar(char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    return QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

bool IsToken68Char(char c)
{
    return IsTokenChar(c) || c == '/' || c == '=';
}

// One challenge as read: its scheme and parameters, names lowered.
struct RawChallenge {
    QByteArray scheme;
    QList<std::pair<QByteArray, QByteArray>> params;

    std::optional<QByteArray> param(QByteArrayView name) const
    {
        for (const auto& [key, value] : params)
            if (key == name)
                return value;
        return std::nullopt;
    }
};

// Reads the challenges of one header value. Stops at the first thing that breaks the grammar
// (a quote that never closes, a stray character): what was read whole before it is kept.
class ChallengeReader {
public:
    explicit ChallengeReader(QByteArrayView text) : text_(text) { }

    QList<RawChallenge> readAll()
    {
        QList<RawChallenge> challenges;
        skipListSeparators();
        QByteArray scheme = token();
        while (!scheme.isEmpty()) {
            RawChallenge challenge;
            challenge.scheme = scheme.toLower();
            scheme.clear();
            if (!readParams(challenge, scheme))
                return challenges;  // broken: this challenge and the rest are dropped
            challenges << challenge;
        }
        return challenges;
    }

private:
    // Reads the parameters after a scheme. Sets nextScheme when a new challenge follows.
    bool readParams(RawChallenge& challenge, QByteArray& nextScheme)
    {
        bool first = true;
        while (true) {
            skipSpace();
            if (atEnd())
                return true;
            const qsizetype start = pos_;
            const QByteArray name = token();
            if (name.isEmpty()) {
                if (at() == ',') {
                    skipListSeparators();
                    first = false;
                    continue;
                }
                return false;
            }
            skipSpace();
            if (!atEnd() && at() == '=' && !(first && isToken68Tail())) {
                ++pos_;
                skipSpace();
                QByteArray value;
                if (!atEnd() && at() == '"') {
                    if (!quoted(value))
                        return false;
                } else {
                    value = token();
                }
                challenge.params.append({name.toLower(), value});
                if (const auto end = endOfElement())
                    return *end;
                first = false;
                continue;
            }
            if (first) {
                // A token68 ("Negotiate abc=="): nothing this program reads.
                pos_ = start;
                while (!atEnd() && IsToken68Char(at()))
                    ++pos_;
                if (const auto end = endOfElement())
                    return *end;
                first = false;
                continue;
            }
            // A token without "=" after a comma starts the next challenge.
            nextScheme = name;
            return true;
        }
    }

    // After a parameter or token68: nothing when a "," and more follow; true at the end of the
    // text; false when anything else follows (the grammar is broken).
    std::optional<bool> endOfElement()
    {
        skipSpace();
        if (atEnd())
            return true;
        if (at() != ',')
            return false;
        skipListSeparators();
        return std::nullopt;
    }

    // After "name=": true when the rest is "=" signs up to a separator, as a token68 ends.
    bool isToken68Tail() const
    {
        qsizetype p = pos_;
        while (p < text_.size() && text_[p] == '=')
            ++p;
        return p == text_.size() || text_[p] == ',' || text_[p] == ' ' || text_[p] == '\t';
    }

    bool quoted(QByteArray& value)
    {
        ++pos_;  // the opening quote
        // A control character (a bare CR, a NUL) breaks the grammar: echoed back in a nonce or an
        // opaque it would end our Authorization line early.
        const auto isControl = [](char c) { return (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7f; };
        while (!atEnd()) {
            const char c = at();
            ++pos_;
            if (c == '"')
                return true;
            if (isControl(c))
                return false;
            if (c == '\\') {
                if (atEnd() || isControl(at()))
                    return false;
                value += at();
                ++pos_;
            } else {
                value += c;
            }
        }
        return false;  // the quote never closes
    }

    QByteArray token()
    {
        const qsizetype start = pos_;
        while (!atEnd() && IsTokenChar(at()))
            ++pos_;
        return text_.sliced(start, pos_ - start).toByteArray();
    }

    void skipSpace()
    {
        while (!atEnd() && (at() == ' ' || at() == '\t'))
            ++pos_;
    }

    void skipListSeparators()
    {
        while (!atEnd() && (at() == ' ' || at() == '\t' || at() == ','))
            ++pos_;
    }

    bool atEnd() const { return pos_ >= text_.size(); }
    char at() const { return text_[pos_]; }

    QByteArrayView text_;
    qsizetype pos_ = 0;
};

std::optional<DigestAlgorithm> AlgorithmOf(const QByteArray& name)
{
    const QByteArray lower = name.toLower();
    if (lower == "md5")
        return DigestAlgorithm::MD5;
    if (lower == "md5-sess")
        return DigestAlgorithm::MD5Sess;
    if (lower == "sha-256")
        return DigestAlgorithm::SHA256;
    if (lower == "sha-256-sess")
        return DigestAlgorithm::SHA256Sess;
    return std::nullopt;
}

std::optional<AuthChallenge> Usable(const RawChallenge& raw)
{
    AuthChallenge challenge;
    challenge.realm = raw.param("realm").value_or(QByteArray());
    if (raw.scheme == "basic") {
        challenge.scheme = AuthScheme::Basic;
        return challenge;
    }
    if (raw.scheme != "digest")
        return std::nullopt;
    challenge.scheme = AuthScheme::Digest;
    const auto nonce = raw.param("nonce");
    if (!nonce || nonce->isEmpty())
        return std::nullopt;
    challenge.nonce = *nonce;
    if (const auto opaque = raw.param("opaque")) {
        challenge.opaque = *opaque;
        challenge.hasOpaque = true;
    }
    if (const auto algorithm = raw.param("algorithm")) {
        const auto known = AlgorithmOf(*algorithm);
        if (!known)
            return std::nullopt;
        challenge.algorithm = *known;
    }
    if (const auto qop = raw.param("qop")) {
        for (const QByteArray& option : qop->split(','))
            challenge.qopAuth = challenge.qopAuth || option.trimmed().toLower() == "auth";
        if (!challenge.qopAuth)
            return std::nullopt;  // only auth-int or unknown protection on offer
    }
    challenge.stale = raw.param("stale").value_or(QByteArray()).toLower() == "true";
    return challenge;
}

int Strength(const AuthChallenge& challenge)
{
    if (challenge.scheme == AuthScheme::Basic)
        return 0;
    const bool sha =
        challenge.algorithm == DigestAlgorithm::SHA256 || challenge.algorithm == DigestAlgorithm::SHA256Sess;
    return sha ? 2 : 1;
}

QByteArray Hash(DigestAlgorithm algorithm, const QByteArray& text)
{
    const bool sha = algorithm == DigestAlgorithm::SHA256 || algorithm == DigestAlgorithm::SHA256Sess;
    return QCryptographicHash::hash(text, sha ? QCryptographicHash::Sha256 : QCryptographicHash::Md5).toHex();
}

QByteArray AlgorithmName(DigestAlgorithm algorithm)
{
    switch (algorithm) {
    case DigestAlgorithm::MD5:
        return "MD5";
    case DigestAlgorithm::MD5Sess:
        return "MD5-sess";
    case DigestAlgorithm::SHA256:
        return "SHA-256";
    case DigestAlgorithm::SHA256Sess:
        return "SHA-256-sess";
    }
    return "MD5";
}

// A quoted-string: quotes and backslashes escaped.
QByteArray Quoted(const QByteArray& text)
{
    QByteArray out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}
}  // namespace

QList<AuthChallenge> ParseAuthChallenges(const QByteArray& header)
{
    QList<AuthChallenge> challenges;
    for (const QByteArray& value : HttpHeader(header).all("WWW-Authenticate")) {
        for (const RawChallenge& raw : ChallengeReader(value).readAll()) {
            if (const auto usable = Usable(raw))
                challenges << *usable;
        }
    }
    return challenges;
}

std::optional<AuthChallenge> ChooseChallenge(const QList<AuthChallenge>& challenges)
{
    std::optional<AuthChallenge> best;
    for (const AuthChallenge& challenge : challenges) {
        if (!best || Strength(challenge) > Strength(*best))
            best = challenge;
    }
    return best;
}

QByteArray AuthorizationValue(const AuthChallenge& challenge, const QString& user, const QString& password,
                              const DigestRequest& request)
{
    const QByteArray userBytes = user.toUtf8();
    const QByteArray passwordBytes = password.toUtf8();
    if (challenge.scheme == AuthScheme::Basic)
        return "Basic " + (userBytes + ':' + passwordBytes).toBase64();

    const DigestAlgorithm algorithm = challenge.algorithm;
    QByteArray ha1 = Hash(algorithm, userBytes + ':' + challenge.realm + ':' + passwordBytes);
    if (algorithm == DigestAlgorithm::MD5Sess || algorithm == DigestAlgorithm::SHA256Sess)
        ha1 = Hash(algorithm, ha1 + ':' + challenge.nonce + ':' + request.cnonce);
    const QByteArray ha2 = Hash(algorithm, request.method + ':' + request.uri);
    const QByteArray nc = QByteArray::number(request.nonceCount, 16).rightJustified(8, '0');
    const QByteArray response = challenge.qopAuth
        ? Hash(algorithm, ha1 + ':' + challenge.nonce + ':' + nc + ':' + request.cnonce + ":auth:" + ha2)
        : Hash(algorithm, ha1 + ':' + challenge.nonce + ':' + ha2);

    QByteArray value = "Digest username=" + Quoted(userBytes) + ", realm=" + Quoted(challenge.realm) +
        ", nonce=" + Quoted(challenge.nonce) + ", uri=" + Quoted(request.uri) +
        ", algorithm=" + AlgorithmName(algorithm) + ", response=" + Quoted(response);
    if (challenge.qopAuth)
        value += ", qop=auth, nc=" + nc + ", cnonce=" + Quoted(request.cnonce);
    else if (algorithm == DigestAlgorithm::MD5Sess || algorithm == DigestAlgorithm::SHA256Sess)
        value += ", cnonce=" + Quoted(request.cnonce);
    if (challenge.hasOpaque)
        value += ", opaque=" + Quoted(challenge.opaque);
    return value;
}

QByteArray MakeCnonce()
{
    quint32 words[4];
    QRandomGenerator::system()->fillRange(words);
    return QByteArray(reinterpret_cast<const char*>(words), sizeof words).toHex();
}

QString ChallengeName(const AuthChallenge& challenge)
{
    if (challenge.scheme == AuthScheme::Basic)
        return QStringLiteral("Basic");
    return QStringLiteral("Digest ") + QString::fromLatin1(AlgorithmName(challenge.algorithm));
}
