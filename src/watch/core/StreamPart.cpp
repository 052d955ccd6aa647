#include "StreamPart.h"

#include "HttpHeader.h"

#include <QList>

#include "HttpResponse.h"

namespace {
// The first occurrence of the delimiter at the start of a line, from `from` on; -1 when none.
qsizetype FindDelimiter(const QByteArray& body, const QByteArray& delimiter, qsizetype from)
{
    for (qsizetype at = body.indexOf(delimiter, from); at >= 0; at = body.indexOf(delimiter, at + 1)) {
        if (at == 0 || body.at(at - 1) == '\n')
            return at;
    }
    return -1;
}

// The end of the line that starts at or after `from` (the position after its LF); -1 when none.
qsizetype AfterLine(const QByteArray& body, qsizetype from)
{
    const qsizetype lf = body.indexOf('\n', from);
    return lf < 0 ? -1 : lf + 1;
}

// Where the part's header ends: the blank line after `from` (returned as the position after
// it), its own start in *blankAt; -1 when it has not arrived.
qsizetype AfterBlankLine(const QByteArray& body, qsizetype from, qsizetype* blankAt)
{
    qsizetype line = from;
    while (line < body.size()) {
        const qsizetype next = AfterLine(body, line);
        if (next < 0)
            return -1;
        const qsizetype length = next - line;  // with its line end
        if (length == 1 || (length == 2 && body.at(line) == '\r')) {
            *blankAt = line;
            return next;
        }
        line = next;
    }
    return -1;
}

qint32 PartContentLength(const QByteArray& header)
{
    for (const QByteArray& field : HttpHeader(header).all("Content-Length")) {
        bool ok = false;
        const qint64 value = field.trimmed().toLongLong(&ok);
        if (ok && value > 0)
            return static_cast<qint32>(qMin<qint64>(value, HttpResponseAssembler::kMaxResponseBytes + 1));
    }
    return 0;
}
}  // namespace

QByteArray StreamBoundary(const QByteArray& header)
{
    const std::optional<QByteArray> type = HttpHeader(header).first("Content-Type");
    if (!type)
        return {};
    const QList<QByteArray> fields = type->split(';');
    if (fields.first().trimmed().toLower() != "multipart/x-mixed-replace")
        return {};
    for (qsizetype i = 1; i < fields.size(); ++i) {
        const QByteArray field = fields.at(i).trimmed();
        if (!field.toLower().startsWith("boundary="))
            continue;
        QByteArray value = field.sliced(9).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.sliced(1, value.size() - 2);
        return value;
    }
    return {};
}

StreamPart FirstStreamPart(const QByteArray& body, const QByteArray& boundary, bool ended, qsizetype searched)
{
    StreamPart part;
    if (boundary.isEmpty())
        return part;
    // Some cams write the boundary with its two dashes in the header already. The form that comes
    // first decides (the longer one where both start alike), so a part found before the rest of
    // the stream arrived is the part the whole stream gives.
    QByteArray delimiter = "--" + boundary;
    qsizetype start = FindDelimiter(body, delimiter, 0);
    if (boundary.startsWith("--")) {
        const qsizetype bare = FindDelimiter(body, boundary, 0);
        if (bare >= 0 && (start < 0 || bare < start)) {
            delimiter = boundary;
            start = bare;
        }
    }
    if (start < 0) {
        // A cam's stream begins with its boundary (at most a short preamble before it); data
        // that never bring it would only be searched again and again up to the answer cap.
        if (body.size() > HttpResponseAssembler::kMaxHeaderBytes + delimiter.size())
            part.status = StreamPart::Status::NoBoundary;
        return part;
    }
    const qsizetype headerStart = AfterLine(body, start + delimiter.size());
    if (headerStart < 0)
        return part;
    qsizetype blankAt = -1;
    const qsizetype bodyStart = AfterBlankLine(body, headerStart, &blankAt);
    if (bodyStart < 0) {
        if (body.size() - headerStart > HttpResponseAssembler::kMaxHeaderBytes)
            part.status = StreamPart::Status::TooLarge;
        return part;
    }
    if (blankAt - headerStart > HttpResponseAssembler::kMaxHeaderBytes) {
        part.status = StreamPart::Status::TooLarge;
        return part;
    }
    part.header = body.sliced(headerStart, blankAt - headerStart);
    while (part.header.endsWith('\n') || part.header.endsWith('\r'))
        part.header.chop(1);
    part.contentLength = PartContentLength(part.header);
    if (part.contentLength > HttpResponseAssembler::kMaxResponseBytes) {
        part.status = StreamPart::Status::TooLarge;
        return part;
    }
    if (part.contentLength > 0) {
        if (body.size() - bodyStart < part.contentLength)
            return part;
        part.body = body.sliced(bodyStart, part.contentLength);
        part.status = StreamPart::Status::Complete;
        return part;
    }
    // An earlier call saw no delimiter in its data; only one that ends in the new bytes can be new.
    const qsizetype next = FindDelimiter(body, delimiter, qMax(bodyStart, searched - delimiter.size() + 1));
    if (next < 0 && !ended)
        return part;
    qsizetype end = next < 0 ? body.size() : next;
    // The line end before the next boundary belongs to the boundary line.
    if (next >= 0 && end > bodyStart && body.at(end - 1) == '\n')
        --end;
    if (next >= 0 && end > bodyStart && body.at(end - 1) == '\r')
        --end;
    part.body = body.sliced(bodyStart, end - bodyStart);
    part.status = StreamPart::Status::Complete;
    return part;
}

HttpResponseAssembler::Finished StreamAnswer(const HttpResponseAssembler::Finished& stream, const StreamPart& part)
{
    HttpResponseAssembler::Finished answer;
    answer.header = part.header.isEmpty() ? stream.header : stream.header + "\r\n" + part.header;
    answer.isImage = NamesImageType(answer.header);
    answer.body = part.body;
    return answer;
}
