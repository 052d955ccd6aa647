// A 401 answer's WWW-Authenticate lines come from any server: reading them must never crash or
// hang, and whatever it keeps must answer into one Authorization line.
#include "CamSignIn.h"
#include "FuzzSupport.h"
#include "HttpAuth.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray header = "HTTP/1.1 401 Unauthorized\r\n" + FuzzBytes(data, size);
    for (const AuthChallenge& challenge : ParseAuthChallenges(header)) {
        FUZZ_CHECK(challenge.scheme == AuthScheme::Basic || !challenge.nonce.isEmpty(), ChallengeName(challenge));
        DigestRequest request;
        request.uri = "/cam.jpg";
        request.cnonce = "0123456789abcdef";
        const QByteArray value = AuthorizationValue(challenge, QStringLiteral("u\"ser"), QStringLiteral("pw"), request);
        // Whatever the server sent, it cannot add a line of its own to the request.
        FUZZ_CHECK(!value.contains('\r') && !value.contains('\n'), QString::fromLatin1(value.first(200)));
    }
    // A cam's retries stay bounded whatever the answers say.
    CamSignIn signIn;
    signIn.startFetch(QStringLiteral("http://u:p@cam/cam.jpg"));
    int asked = 0;
    while (asked < 10) {
        signIn.authorization(QStringLiteral("u"), QStringLiteral("p"), "/cam.jpg");
        ++asked;
        if (signIn.answer401(header) != CamSignIn::Verdict::Retry)
            break;
    }
    FUZZ_CHECK(asked <= 4, QString::number(asked));
    return 0;
}
