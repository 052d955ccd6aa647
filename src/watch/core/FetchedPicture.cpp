#include "FetchedPicture.h"

#include <QFile>

#include "PictureMemory.h"
#include "TempFile.h"

bool BodyLooksWhole(const QByteArray& body, qint32 contentLength)
{
    if (contentLength > 0)
        return body.size() >= contentLength;
    if (!body.startsWith("\xFF\xD8"))
        return true;  // not a JPEG: the loader itself refuses what it cannot read
    // Inside a scan every 0xFF byte is followed by 0x00 or a restart marker, so the last
    // start-of-scan marker is the main picture's, and its end-of-image marker must follow.
    const qsizetype lastScan = body.lastIndexOf("\xFF\xDA");
    const qsizetype end = body.lastIndexOf("\xFF\xD9");
    return lastScan >= 0 && end > lastScan;
}

LoadedPicture LoadFetchedPicture(const QByteArray& body, const QSize& atLeast)
{
    const QString path = MakeTempFile(QStringLiteral("vbt"));
    if (path.isEmpty())
        return {};
    LoadedPicture picture;
    {
        QFile file(path);
        const bool written =
            file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(body) == body.size() && file.flush();
        file.close();
        if (written)
            picture = ReadPictureFile(path, atLeast);  // named .tmp: the content tells the format
    }
    QFile::remove(path);
    return picture;
}
