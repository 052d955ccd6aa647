#include "HttpResponse.h"

#include "HttpHeader.h"

#include <QByteArrayView>
#include <cctype>

namespace {
constexpr QByteArrayView kHeaderEnd("\r\n\r\n");
constexpr QByteArrayView kLineEnd("\r\n");

// The text after the first blank of the first header line that names "Content-Length" (letter
// case as written), read as a whole number; 0 when there is none or it is not a number.
qint32 readContentLength(QByteArrayView header)
{
    qsizetype lineStart = 0;
    while (lineStart <= header.size()) {
        qsizetype lineEnd = header.indexOf(kLineEnd, lineStart);
        if (lineEnd < 0)
            lineEnd = header.size();
        const QByteArrayView line = header.sliced(lineStart, lineEnd - lineStart);
        if (line.contains(QByteArrayView("Content-Length"))) {
            const qsizetype blank = line.indexOf(' ');
            if (blank < 0)
                return 0;
            bool ok = false;
            const int value = line.sliced(blank + 1).toByteArray().trimmed().toInt(&ok, 10);
            return ok ? value : 0;
        }
        lineStart = lineEnd + kLineEnd.size();
    }
    return 0;
}

}  // namespace

bool IsChunked(QByteArrayView header)
{
    for (const QByteArray& value : HttpHeader(header).all("Transfer-Encoding")) {
        if (value.toLower().contains("chunked"))
            return true;
    }
    return false;
}

bool NamesImageType(QByteArrayView header)
{
    // The header is plain ASCII, so a lowered copy is exact.
    return header.toByteArray().toLower().contains("image/");
}

namespace {

// The chunk size at `at`: hexadecimal digits; nothing when there are none or the number is larger
// than any body could hold (it is read only once its length is known to be safe). Read in place:
// a body of one-byte chunks has millions of them.
std::optional<qint64> readChunkSize(const QByteArray& body, qsizetype& at)
{
    const qsizetype start = at;
    qint64 value = 0;
    int significant = 0;
    for (; at < body.size(); ++at) {
        const char digit = body.at(at);
        int nibble = 0;
        if (digit >= '0' && digit <= '9')
            nibble = digit - '0';
        else if (digit >= 'a' && digit <= 'f')
            nibble = digit - 'a' + 10;
        else if (digit >= 'A' && digit <= 'F')
            nibble = digit - 'A' + 10;
        else
            break;
        if (significant > 0 || nibble != 0)
            ++significant;
        if (significant <= 15)
            value = value * 16 + nibble;
    }
    if (at == start || significant > 15)
        return std::nullopt;
    return value;
}

// Between a chunk's size and its line end only blanks and ";" extensions may stand.
bool onlyChunkExtensions(QByteArrayView rest)
{
    for (const char ch : rest) {
        if (ch == ';')
            return true;
        if (!std::isspace(static_cast<unsigned char>(ch)))
            return false;
    }
    return true;
}
}  // namespace

void HttpResponseAssembler::reset()
{
    *this = HttpResponseAssembler();
}

HttpResponseAssembler::Arrival HttpResponseAssembler::append(const QByteArray& bytes, qint64 count)
{
    Arrival arrival;
    if (abandoned_ || buffer_.size() + bytes.size() > kMaxResponseBytes) {
        abandon();
        arrival.tooLarge = true;
        return arrival;
    }
    buffer_.append(bytes);
    bytesReceived_ += count;

    if (headerDone_) {
        if (contentLength_ > 0)
            arrival.progress = static_cast<float>(static_cast<double>(bytesReceived_) / (contentLength_ / 100.0));
        return arrival;
    }

    // Only the new bytes and the three before them can complete the first CR LF CR LF, so each
    // byte is looked at about once however the response is cut into arrivals.
    const qsizetype found = buffer_.indexOf(kHeaderEnd, scanFrom_);
    if (found < 0) {
        scanFrom_ = qMax<qsizetype>(0, buffer_.size() - (kHeaderEnd.size() - 1));
        if (buffer_.size() >= kMaxHeaderBytes + kHeaderEnd.size()) {
            abandon();
            arrival.tooLarge = true;
        }
        return arrival;
    }
    if (found > kMaxHeaderBytes) {
        abandon();
        arrival.tooLarge = true;
        return arrival;
    }
    headerEnd_ = found;
    headerDone_ = true;
    // P is 1-based: received − P − 3 is the count of body bytes already here.
    bytesReceived_ -= found + kHeaderEnd.size();
    contentLength_ = readContentLength(QByteArrayView(buffer_).first(found));
    // The whole response fits in one allocation from here on, instead of growing (and being
    // copied) a few times on its way to a picture's size.
    if (contentLength_ > 0)
        buffer_.reserve(qMin<qsizetype>(found + kHeaderEnd.size() + contentLength_, kMaxResponseBytes));
    return arrival;
}

HttpResponseAssembler::Finished HttpResponseAssembler::finish() const
{
    Finished finished;
    if (!headerDone_)
        return finished;  // empty or cut-off response, or abandoned: no header at all
    const QByteArrayView header = QByteArrayView(buffer_).first(headerEnd_);
    finished.header = header.toByteArray();
    finished.isImage = NamesImageType(header);
    finished.body = buffer_.sliced(headerEnd_ + kHeaderEnd.size());
    if (IsChunked(header)) {
        auto decoded = DecodeChunkedBody(finished.body);
        finished.bodyValid = decoded.has_value();
        finished.body = decoded ? std::move(*decoded) : QByteArray();
    }
    return finished;
}

void HttpResponseAssembler::abandon()
{
    // Free the memory now: a runaway server must not keep a slot's megabytes alive until the next start.
    buffer_ = QByteArray();
    abandoned_ = true;
    headerDone_ = false;
    headerEnd_ = 0;
    scanFrom_ = 0;
}

ChunkProgress DecodeWholeChunks(const QByteArray& body, qsizetype& at, QByteArray& out)
{
    const qsizetype size = body.size();
    for (;;) {
        // chunk-size [; extensions] CR LF; a size line longer than a header is no size line.
        const qsizetype lineEnd = body.indexOf(kLineEnd, at);
        if (lineEnd < 0)
            return size - at > HttpResponseAssembler::kMaxHeaderBytes ? ChunkProgress::Malformed
                                                                      : ChunkProgress::NeedMore;
        qsizetype sizeEnd = at;
        const auto chunkSize = readChunkSize(body, sizeEnd);
        if (!chunkSize || !onlyChunkExtensions(QByteArrayView(body).sliced(sizeEnd, lineEnd - sizeEnd)))
            return ChunkProgress::Malformed;
        const qint64 chunk = *chunkSize;
        const qsizetype dataAt = lineEnd + kLineEnd.size();
        if (chunk == 0) {
            at = dataAt;
            return ChunkProgress::LastChunk;
        }
        if (chunk > size - dataAt || size - dataAt - chunk < kLineEnd.size())
            return ChunkProgress::NeedMore;
        if (QByteArrayView(body).sliced(dataAt + chunk, kLineEnd.size()) != kLineEnd)
            return ChunkProgress::Malformed;
        out.append(body.constData() + dataAt, static_cast<qsizetype>(chunk));
        at = dataAt + chunk + kLineEnd.size();
    }
}

std::optional<QByteArray> DecodeChunkedBody(const QByteArray& body)
{
    QByteArray out;
    out.reserve(body.size());
    qsizetype at = 0;
    // A chunk still to come is a body cut off.
    if (DecodeWholeChunks(body, at, out) != ChunkProgress::LastChunk)
        return std::nullopt;
    // Trailer lines up to an empty line; a body that stops right after the last chunk is complete too.
    while (at < body.size()) {
        const qsizetype lineEnd = body.indexOf(kLineEnd, at);
        if (lineEnd < 0)
            return std::nullopt;
        if (lineEnd == at)
            break;
        at = lineEnd + kLineEnd.size();
    }
    return out;
}
