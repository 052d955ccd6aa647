#pragma once
// MJPEG streams (multipart/x-mixed-replace): many cams offer only an answer that never ends,
// one picture after another, each a part between boundary lines. The fetch takes the first
// whole part as the answer and closes the connection. Pure bytes in, result out.
#include <QByteArray>

#include "HttpResponse.h"

// The boundary of a multipart/x-mixed-replace Content-Type in a response header (quotes taken
// off); empty when the answer is no such stream or names no boundary.
QByteArray StreamBoundary(const QByteArray& header);

struct StreamPart {
    enum class Status {
        NeedMore,  // no whole part yet
        Complete,
        TooLarge,    // the part's header passed the header cap, or it announces a larger body
        NoBoundary,  // more than a header's worth of data and no boundary line: no part will come
    };
    Status status = Status::NeedMore;
    QByteArray header;  // the part's header lines (without the blank line that ends them)
    QByteArray body;
    qint32 contentLength = 0;  // the part's Content-Length; 0 when it gave none
};

// The first whole part of a stream's body (the bytes after the answer's header). Its end comes
// from its Content-Length, or else from the next boundary line; with `ended` (the server closed
// the connection) the end of the data ends a part that has no other end. Lines may end in CR LF
// or LF alone. `searched` is the size of the same stream's body that an earlier call found
// no whole part in (NeedMore): the search for the part's end does not look at it again, so a
// part that grows by many small arrivals costs time in proportion to its size, not its square.
StreamPart FirstStreamPart(const QByteArray& body, const QByteArray& boundary, bool ended = false,
                           qsizetype searched = 0);

// The part as the answer: the stream's header followed by the part's header lines (the header
// the new-picture rule reads), and the part's body.
HttpResponseAssembler::Finished StreamAnswer(const HttpResponseAssembler::Finished& stream, const StreamPart& part);
