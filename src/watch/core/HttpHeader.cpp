#include "HttpHeader.h"

HttpHeader::HttpHeader(QByteArrayView header) : text_(header.toByteArray())
{
    const QByteArrayView text(text_);
    qsizetype lineStart = 0;
    bool first = true;
    while (lineStart < text.size()) {
        qsizetype lineEnd = text.indexOf('\n', lineStart);
        if (lineEnd < 0)
            lineEnd = text.size();
        QByteArrayView line = text.sliced(lineStart, lineEnd - lineStart);
        if (line.endsWith('\r'))
            line.chop(1);
        lineStart = lineEnd + 1;
        // A status line names no field; a part's header, or a broken answer, has none at all.
        if (first)
            statusLine_ = line;
        first = false;
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            fields_.append({line.first(colon).trimmed(), line.sliced(colon + 1)});
    }
}

int HttpHeader::statusCode() const
{
    if (!statusLine_.startsWith("HTTP/"))
        return 0;
    const QList<QByteArray> words = statusLine_.toByteArray().split(' ');
    bool ok = false;
    const int code = words.size() >= 2 ? words[1].toInt(&ok) : 0;
    return ok && code >= 100 && code <= 999 ? code : 0;
}

std::optional<QByteArray> HttpHeader::first(QByteArrayView name) const
{
    for (const Field& field : fields_) {
        if (field.name.compare(name, Qt::CaseInsensitive) == 0)
            return field.value.toByteArray();
    }
    return std::nullopt;
}

QList<QByteArray> HttpHeader::all(QByteArrayView name) const
{
    QList<QByteArray> values;
    for (const Field& field : fields_) {
        if (field.name.compare(name, Qt::CaseInsensitive) == 0)
            values << field.value.toByteArray();
    }
    return values;
}

int StatusCodeOf(const QByteArray& header)
{
    return HttpHeader(header).statusCode();
}

QString HeaderValue(const QByteArray& header, QByteArrayView name)
{
    return QString::fromLatin1(RawHeaderValue(header, name).trimmed());
}

QByteArray RawHeaderValue(const QByteArray& header, QByteArrayView name)
{
    return HttpHeader(header).first(name).value_or(QByteArray());
}
