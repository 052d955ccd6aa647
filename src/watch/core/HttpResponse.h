#pragma once
// Collects one HTTP response as its bytes arrive and splits it when the server closes.
// Pure bytes in, results out: the socket handlers only move data into it, so it can be tested
// at every split position and fuzzed without a network.
#include <QByteArray>
#include <optional>

class HttpResponseAssembler {
public:
    static constexpr qsizetype kMaxHeaderBytes = 64 * 1024;           // a longer header is abandoned
    static constexpr qsizetype kMaxResponseBytes = 64 * 1024 * 1024;  // a longer response is abandoned

    struct Arrival {
        bool tooLarge = false;          // caps exceeded: abandon the fetch (buffer already freed)
        std::optional<float> progress;  // set when a progress value is due (may exceed 100)
    };
    struct Finished {
        QByteArray header;      // text before the first CR LF CR LF; empty when none was found
        QByteArray body;        // after it; chunked bodies decoded (empty when bodyValid is false)
        bool isImage = false;   // header contains "image/" in any letter case
        bool bodyValid = true;  // false for a malformed chunked body
    };

    void reset();
    // One DataArrival: appends the bytes, counts `count` (the event's byte count), finds the
    // header end and "Content-Length", and reports the progress value when one is due (not
    // for the arrival that completes the header). Once tooLarge has been reported, every later
    // arrival is refused the same way and finish() gives no header, until reset().
    Arrival append(const QByteArray& bytes, qint64 count);
    // The close: splits header and body, decodes "Transfer-Encoding: chunked".
    Finished finish() const;

    bool headerDone() const { return headerDone_; }
    qint32 contentLength() const { return contentLength_; }
    qint64 bytesReceived() const { return bytesReceived_; }
    const QByteArray& buffer() const { return buffer_; }
    // Once headerDone: the header (before the blank line) and where the body starts in buffer().
    QByteArrayView header() const { return QByteArrayView(buffer_).first(headerEnd_); }
    qsizetype bodyStart() const { return headerDone_ ? headerEnd_ + 4 : buffer_.size(); }

private:
    void abandon();

    QByteArray buffer_;
    qsizetype scanFrom_ = 0;   // where the search for the header end goes on
    qsizetype headerEnd_ = 0;  // 0-based offset of the first CR LF CR LF once headerDone_
    bool abandoned_ = false;
    qint64 bytesReceived_ = 0;
    qint32 contentLength_ = 0;
    bool headerDone_ = false;
};

// Whether a response is taken for a picture: "image/" in any letter case anywhere in the header,
// normally in its Content-Type line. A rule of the whole text, not of a field (HttpHeader.h), as
// the program has always accepted pictures; a stream part's answer is judged by it too.
bool NamesImageType(QByteArrayView header);

// True when a "Transfer-Encoding" line (name in any letter case) lists "chunked".
bool IsChunked(QByteArrayView header);

// Decodes a chunked body; nothing when it is malformed.
std::optional<QByteArray> DecodeChunkedBody(const QByteArray& body);

// A chunked body as it arrives (a stream's, which never ends): decodes the whole chunks from
// `at` on, appending their data to `out`, and leaves `at` at the first chunk not yet whole
// (after the last chunk's size line once that came).
enum class ChunkProgress { NeedMore, LastChunk, Malformed };
ChunkProgress DecodeWholeChunks(const QByteArray& body, qsizetype& at, QByteArray& out);
