#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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

bool IsInstalledExecutable(const QString& executableFolder)
{
    if (executableFolder.isEmpty())
        return false;
    return QDir::cleanPath(executableFolder) == QDir::cleanPath(QStringLiteral(TOLVANE_INSTALL_BINDIR)) ||
        !InstalledDataFolder(executableFolder).isEmpty();
}

QString InstalledDataFolder(const QString& executableFolder)
{
    if (executableFolder.isEmpty())
        return {};
    // The relative way from the install's bin folder to its share folder ("../share"), as the
    // build configured them, so that the install can be moved as a whole.
    const QString folder = QDir::cleanPath(executableFolder + QStringLiteral("/" TOLVANE_BINDIR_TO_DATADIR "/") +
                                           QStringLiteral(TOLVANE_PACKAGE_NAME));
    return QFileInfo(folder).isDir() ? folder : QString();
}

QString UserDataProgramFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
        QStringLiteral("/" TOLVANE_PACKAGE_NAME);
}
