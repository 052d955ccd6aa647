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
    // A relative XDG_DATA_HOME is invalid and to be ignored (XDG base directories); taken as it
    // stands it would put the cam list and the pictures in whatever folder the program was
    // started from, a different one at every start.
    if (const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
        !dataHome.isEmpty() && QDir::isRelativePath(dataHome))
        return QDir::homePath() + QStringLiteral("/.local/share/" TOLVANE_PACKAGE_NAME);
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
        QStringLiteral("/" TOLVANE_PACKAGE_NAME);
}
