#include "Files.h"

#include <QFileInfo>

bool FolderExists(const QString& path)
{
    QString folder = path;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    // "/" alone for the empty text: the root, which always exists.
    return QFileInfo(folder).isDir();
}

bool FileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    if (!info.isFile() || info.isHidden())
        return false;
    // A path ending in "/" has no file name, so it never names a file even where the
    // file system would resolve it.
    return info.fileName().toUpper() == FileNameOf(path).toUpper();
}

QString FileNameOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.mid(slash + 1);
}
