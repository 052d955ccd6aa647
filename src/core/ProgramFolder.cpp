#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString& folderOverride()
{
    static QString folder;
    return folder;
}
}  // namespace

QString ProgramFolder()
{
    if (!folderOverride().isEmpty())
        return folderOverride();
    return QCoreApplication::applicationDirPath();
}

void SetProgramFolder(const QString& folder)
{
    folderOverride() = folder.isEmpty() ? QString() : QDir::cleanPath(QDir(folder).absolutePath());
}

QString ProgramPath(const QString& name)
{
    return ProgramFolder() + QLatin1Char('/') + name;
}
