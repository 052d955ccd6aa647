#pragma once
// Turning a fetched response body into a picture: the body goes through a "vbt" temporary file
// and is decoded once; the one decoded picture is then shared by every control that shows it.
#include <QByteArray>
#include <QImage>

#include "PictureMemory.h"

// False for a body that was cut off: shorter than the Content-Length the server announced, or,
// without one, a JPEG whose last scan has no end-of-image marker after it. The image loader
// would fill the missing part with grey and the cut picture would pass for a new one.
bool BodyLooksWhole(const QByteArray& body, qint32 contentLength);
// Writes the body to a new temporary file, decodes it and deletes the file again. NotAPicture
// when the file cannot be made or written, or the body is not a picture; TooLarge when it
// declares a picture over the limit (nothing is decoded then). `atLeast`: as for LoadPicture.
LoadedPicture LoadFetchedPicture(const QByteArray& body, const QSize& atLeast = {});
