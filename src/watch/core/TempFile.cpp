#include "TempFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

QString MakeTempFile(const QString& prefix)
{
    const QString folder = QDir::tempPath();
    // The prefix names a file, never a folder: a "/" in it would place the file elsewhere.
    if (folder.isEmpty() || prefix.contains(QLatin1Char('/')) || prefix.contains(QChar(0)))
        return {};
    const QDir dir(folder);
    if (!dir.exists())
        return {};

    // Four hexadecimal digits give 65536 names; start at a random one so that programs
    // sharing the folder rarely collide, and walk on until a name is free.
    constexpr quint32 kNames = 0x10000;
    const quint32 start = QRandomGenerator::global()->bounded(kNames);
    for (quint32 i = 0; i < kNames; ++i) {
        const quint32 number = (start + i) % kNames;
        const QString digits = QStringLiteral("%1").arg(number, 4, 16, QLatin1Char('0')).toUpper();
        const QString path = dir.filePath(prefix + digits + QStringLiteral(".tmp"));
        QFile file(path);
        // NewOnly creates the file atomically and fails when the name is taken.
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            file.close();
            return path;
        }
        const QFileInfo taken(path);
        if (!taken.exists() && !taken.isSymLink())
            return {};  // not a name clash: the folder refuses new files
    }
    return {};
}
