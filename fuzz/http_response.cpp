// Feeds responses to the assembler in pieces whose sizes come from the input: raw bytes as a
// server might send them, and chunked responses built from the input whose decoded body is
// known. Wherever the pieces are cut, the result must be the one of the whole response.
#include <fuzzer/FuzzedDataProvider.h>

#include <QList>

#include "FuzzSupport.h"
#include "HttpResponse.h"

namespace {
constexpr QByteArrayView kHeaderEnd("\r\n\r\n");

struct Fed {
    HttpResponseAssembler::Finished finished;
    bool tooLarge = false;
    bool headerDone = false;
    qint32 contentLength = 0;
    qint64 bytesReceived = 0;
};

// Feeds the response cut at the given sizes (the last piece takes what is left) and checks the
// per-arrival rules on the way.
Fed Feed(HttpResponseAssembler& assembler, const QByteArray& response, const QList<qsizetype>& pieces)
{
    Fed fed;
    qsizetype at = 0;
    qsizetype next = 0;
    while (at < response.size()) {
        const qsizetype n = next < pieces.size() ? qMin(pieces[next++], response.size() - at) : response.size() - at;
        const QByteArray piece = response.mid(at, n);
        const bool headerWasDone = assembler.headerDone();
        const auto arrival = assembler.append(piece, piece.size());
        at += n;
        if (fed.tooLarge)
            FUZZ_CHECK(arrival.tooLarge, QStringLiteral("an abandoned response took more data at %1").arg(at));
        fed.tooLarge = fed.tooLarge || arrival.tooLarge;
        if (arrival.progress) {
            // The arrival that completes the header shows no progress; the next ones do.
            FUZZ_CHECK(headerWasDone && assembler.contentLength() > 0, QStringLiteral("progress at %1").arg(at));
            FUZZ_CHECK(*arrival.progress >= 0, QString::number(*arrival.progress));
        }
    }
    fed.finished = assembler.finish();
    fed.headerDone = assembler.headerDone();
    fed.contentLength = assembler.contentLength();
    fed.bytesReceived = assembler.bytesReceived();
    return fed;
}

void ExpectSame(const Fed& a, const Fed& b, const char* what)
{
    const QString where = QString::fromLatin1(what);
    FUZZ_CHECK(a.tooLarge == b.tooLarge, where);
    FUZZ_CHECK(a.headerDone == b.headerDone, where);
    FUZZ_CHECK(a.finished.header == b.finished.header, where);
    FUZZ_CHECK(a.finished.body == b.finished.body, where);
    FUZZ_CHECK(a.finished.isImage == b.finished.isImage, where);
    FUZZ_CHECK(a.finished.bodyValid == b.finished.bodyValid, where);
    // An abandoned response's counters stop wherever the cap was hit; nothing reads them.
    if (a.tooLarge)
        return;
    FUZZ_CHECK(a.contentLength == b.contentLength, where);
    FUZZ_CHECK(a.bytesReceived == b.bytesReceived,
               where + QStringLiteral(": %1 and %2 bytes").arg(a.bytesReceived).arg(b.bytesReceived));
}

QByteArray WithoutBlankLine(QByteArray text)
{
    // Header text of our own must not end the header early.
    text.replace('\r', ' ');
    return text.replace('\n', ' ');
}

// A chunk-size line as servers write it: hex in either case, leading zeros, blanks, extensions.
QByteArray ChunkSizeLine(FuzzedDataProvider& input, qsizetype size)
{
    QByteArray hex = QByteArray::number(size, 16);
    if (input.ConsumeBool())
        hex = hex.toUpper();
    hex.prepend(QByteArray(input.ConsumeIntegralInRange<int>(0, 20), '0'));
    if (input.ConsumeBool())
        hex += QByteArray(input.ConsumeIntegralInRange<int>(0, 3), ' ') + ";" +
            WithoutBlankLine(QByteArray::fromStdString(input.ConsumeRandomLengthString(16)));
    return hex + "\r\n";
}

// Builds a well-formed chunked response from the input; `body` is what it must decode to.
QByteArray ChunkedResponse(FuzzedDataProvider& input, QByteArray& body)
{
    QByteArray response = "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\n";
    response += "Transfer-Encoding: chunked\r\n";
    const QByteArray extra = WithoutBlankLine(QByteArray::fromStdString(input.ConsumeRandomLengthString(200)));
    if (!extra.isEmpty())
        response += extra + "\r\n";
    response += "\r\n";
    const int chunks = input.ConsumeIntegralInRange<int>(0, 8);
    for (int i = 0; i < chunks; ++i) {
        const QByteArray data = QByteArray::fromStdString(input.ConsumeRandomLengthString(4096));
        if (data.isEmpty())
            continue;  // a chunk of size 0 is the last chunk
        body += data;
        response += ChunkSizeLine(input, data.size()) + data + "\r\n";
    }
    response += ChunkSizeLine(input, 0);
    // Trailer lines, then the empty line; a response that stops after the last chunk is whole too.
    const int trailers = input.ConsumeIntegralInRange<int>(0, 2);
    for (int i = 0; i < trailers; ++i)
        response += "X-T: " + WithoutBlankLine(QByteArray::fromStdString(input.ConsumeRandomLengthString(32))) + "\r\n";
    if (trailers > 0 || input.ConsumeBool())
        response += "\r\n";
    return response;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    enum Kind { Raw, Chunked, Repeated };
    const int kind = input.ConsumeIntegralInRange<int>(Raw, Repeated);
    const bool chunked = kind == Chunked;
    QByteArray expectedBody;
    QByteArray response;
    if (chunked) {
        response = ChunkedResponse(input, expectedBody);
    } else {
        // Repeating a short input is how responses past the header cap come within reach.
        const int times = kind == Repeated ? input.ConsumeIntegralInRange<int>(2, 2000) : 1;
        response = QByteArray::fromStdString(
            input.ConsumeBytesAsString(input.ConsumeIntegralInRange<size_t>(0, input.remaining_bytes())));
        // A little past the header cap is enough; larger ones only slow the run down.
        constexpr qsizetype kMaxRepeated = HttpResponseAssembler::kMaxHeaderBytes * 3 / 2;
        const qsizetype most = qMax<qsizetype>(1, kMaxRepeated / qMax<qsizetype>(1, response.size()));
        response = response.repeated(qMin<qsizetype>(times, most));
    }
    QList<qsizetype> pieces;
    while (input.remaining_bytes() > 0)
        pieces.append(input.ConsumeIntegralInRange<qsizetype>(1, 1024));

    HttpResponseAssembler assembler;
    const Fed whole = Feed(assembler, response, {});
    HttpResponseAssembler cutAssembler;
    const Fed cut = Feed(cutAssembler, response, pieces);
    ExpectSame(whole, cut, "cut into pieces");
    // A reused assembler must forget everything of the fetch before.
    assembler.reset();
    ExpectSame(whole, Feed(assembler, response, pieces), "after reset");

    const auto& finished = whole.finished;
    if (whole.headerDone) {
        FUZZ_CHECK(response.startsWith(finished.header + kHeaderEnd.toByteArray()), QString());
        FUZZ_CHECK(!finished.header.contains(kHeaderEnd.toByteArray()), QStringLiteral("not the first header end"));
        FUZZ_CHECK(finished.header.size() <= HttpResponseAssembler::kMaxHeaderBytes, QString());
        FUZZ_CHECK(whole.bytesReceived == response.size() - finished.header.size() - kHeaderEnd.size(), QString());
        FUZZ_CHECK(finished.isImage == finished.header.toLower().contains("image/"), QString());
        const QByteArray rawBody = response.sliced(finished.header.size() + kHeaderEnd.size());
        if (!finished.bodyValid)
            FUZZ_CHECK(finished.body.isEmpty(), QString());
        else if (finished.body != rawBody)
            FUZZ_CHECK(DecodeChunkedBody(rawBody) == finished.body, QStringLiteral("changed body not the decoded one"));
    } else {
        FUZZ_CHECK(finished.header.isEmpty() && finished.body.isEmpty(), QString());
        FUZZ_CHECK(whole.tooLarge || !response.contains(kHeaderEnd.toByteArray()), QStringLiteral("header end missed"));
    }
    if (whole.tooLarge)
        FUZZ_CHECK(response.size() >= HttpResponseAssembler::kMaxHeaderBytes, QStringLiteral("cap hit early"));
    if (chunked) {
        FUZZ_CHECK(whole.headerDone && finished.isImage, QString());
        FUZZ_CHECK(finished.bodyValid, QStringLiteral("well-formed chunked body refused"));
        FUZZ_CHECK(finished.body == expectedBody,
                   QStringLiteral("decoded %1 bytes, sent %2").arg(finished.body.size()).arg(expectedBody.size()));
    }

    // The decoder alone, on bytes that are mostly not chunked at all.
    const auto decoded = DecodeChunkedBody(response);
    if (decoded)
        FUZZ_CHECK(decoded->size() <= response.size(), QString());
    return 0;
}
