#pragma once
// Following a cam's redirects (an Options choice): where a 301, 302, 303, 307 or 308 answer
// sends the fetch next, or why it goes no further. A fetch follows at most five of them; http
// may lead to https, never https to http; an address asked once in a fetch is never asked
// again in it (a loop). The user part of the cam's address goes only where the cam itself is.
// Pure: header bytes and addresses in, verdicts out.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include "CamUrl.h"

struct FetchOutcome;

enum class RedirectVerdict {
    NotARedirect,       // another status, or no Location line: the answer is handled as it is
    Follow,             // ask `next`
    Unsafe,             // from https to http: the picture would come unprotected
    ControlCharacters,  // the Location line holds control characters
    Unusable,           // the Location names nothing this program fetches (another scheme, no host)
    Loop,               // back to an address this fetch has asked already
    TooMany,            // one more after kMaxHops followed ones
};

struct RedirectHop {
    RedirectVerdict verdict = RedirectVerdict::NotARedirect;
    int status = 0;
    QString target;    // the address the Location names, resolved, without a user part
    CamUrlParts next;  // Follow: where to connect and what to ask (never a user part)
};

class RedirectChain {
public:
    static constexpr int kMaxHops = 5;

    // A fetch starts at the cam's own address.
    void start(const CamUrlParts& address);
    // What the answer with this header, to a request for `current`, leads to.
    RedirectHop next(const QByteArray& header, const CamUrlParts& current);
    // The hops followed so far, "HTTP 301 to http://host/b.jpg" each, in order.
    const QStringList& hops() const { return hops_; }
    // The verdict that ended the chain without following it.
    const RedirectHop& refused() const { return refused_; }
    // The cam's address holds a user part, and `to` is where the cam itself is: the same host
    // and port, or the same host moved from http on port 80 to https on port 443.
    bool credentialsMayGo(const CamUrlParts& to) const;

private:
    CamUrlParts origin_;
    QStringList visited_;  // every address asked in this fetch, as AbsoluteAddress gives it
    QStringList hops_;
    RedirectHop refused_;
};

// "http://host[:port]/path" of parts, never with a user part; equal addresses give equal texts.
QString AbsoluteAddress(const CamUrlParts& parts);
// The outcome of an answer whose redirect was refused: its kind (unsafe or not followed) and
// what its reason tells.
void DescribeRefusedRedirect(FetchOutcome& outcome, const RedirectHop& hop);
