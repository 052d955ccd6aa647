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
    // No name check beyond this: the name part of the path is the file's own, and a path ending
    // in "/" is never a file here (the system refuses to read it as one).
    return info.isFile() && !info.isHidden();
}

QString FileNameOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.mid(slash + 1);
}
