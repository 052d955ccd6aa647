#pragma once
// A response header split once into its fields: the status line, then one field per line
// ("Name: value"; a line may end in CR LF or LF alone; a header without a status line, such as a
// stream part's, has fields from its first line on). Names are matched in any letter case,
// values are kept as the server sent them, and a name may come more than once. Every reader of a
// header field (content type, Last-Modified's validator, ETag, Location, WWW-Authenticate,
// Transfer-Encoding, a stream part's Content-Length) reads it from here.
//
// Three rules read the header's whole text instead, each in one named place with its test,
// because the program has always read it that way and its results must not change:
// - the progress bar's length: the first line that contains "Content-Length" in that letter
//   case, wherever on the line (HttpResponseAssembler, readContentLength; HttpResponseTest);
// - whether the response is a picture: "image/" in any letter case anywhere in the header
//   (NamesImageType in HttpResponse.h; HttpResponseTest);
// - the new-picture stamp: the first "Last-Modified:" in any letter case, wherever it stands, up
//   to the line end, with the name as spelt (DetectNewPicture in NewPicture.h; NewPictureTest).
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <optional>

class HttpHeader {
public:
    explicit HttpHeader(QByteArrayView header);
    HttpHeader(const HttpHeader&) = delete;  // the fields look into its own copy of the text
    HttpHeader& operator=(const HttpHeader&) = delete;

    // The status code of the status line ("HTTP/1.1 401 ..."); 0 when it has none.
    int statusCode() const;
    // The first field of this name, its value as sent (blanks and all); nothing when there is none.
    std::optional<QByteArray> first(QByteArrayView name) const;
    // Every field of this name, in the order sent.
    QList<QByteArray> all(QByteArrayView name) const;

private:
    struct Field {
        QByteArrayView name;   // trimmed
        QByteArrayView value;  // after the colon, as sent
    };
    QByteArrayView statusLine_;
    QList<Field> fields_;
    QByteArray text_;  // the header the views above look into
};

// The status code of a header's status line; 0 when it has none.
int StatusCodeOf(const QByteArray& header);
// The first "Name: value" field's value, trimmed, one character per byte; empty when none.
QString HeaderValue(const QByteArray& header, QByteArrayView name);
// The same field's value as sent, blanks and all; empty when there is none.
QByteArray RawHeaderValue(const QByteArray& header, QByteArrayView name);
