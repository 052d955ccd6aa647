#pragma once
// A raw HTTP exchange for the demo server's tests: send bytes, collect everything until the
// server closes, and take the answer apart without any HTTP library smoothing it over.
#include <QByteArray>
#include <QList>
#include <optional>

struct RawResponse {
    bool closedByServer = false;  // the server ended the connection (within the wait)
    QByteArray raw;
    QByteArray statusLine;
    QList<QByteArray> headerLines;
    QByteArray body;

    // The value of the first header line with this name (letter case ignored), trimmed.
    std::optional<QByteArray> header(const QByteArray& name) const;
};

// Connects to 127.0.0.1:port, sends the request in the given pieces (each written after the
// event loop has run once, to look like a slow client) and waits for the close.
RawResponse RawExchange(quint16 port, const QList<QByteArray>& requestPieces);
RawResponse RawGet(quint16 port, const QByteArray& path);

// The body of a chunked transfer coding, or nothing when its framing is not valid.
std::optional<QByteArray> DecodeChunked(const QByteArray& coded);
