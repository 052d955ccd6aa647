#include "DemoFolder.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include "CamList.h"
#include "ProgramFolder.h"
#include "Settings.h"

QString NewDemoFolder(const QString& parentFolder)
{
    const QString parent = parentFolder.isEmpty() ? QDir::tempPath() : parentFolder;
    if (!QDir().mkpath(parent))
        return {};
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QTemporaryDir folder(parent + QStringLiteral("/tolvane-demo-") + stamp + QStringLiteral("-XXXXXX"));
    if (!folder.isValid())
        return {};
    folder.setAutoRemove(false);  // the demo's saved pictures stay for the user to look at
    return folder.path();
}

QString PrepareDemoFolder(const QString& folder, const QList<DemoCam>& cams, int refreshSeconds, quint16 daytimePort,
                          const QString& helpFile)
{
    if (!QDir().mkpath(folder))
        return QStringLiteral("The demo folder %1 could not be created.").arg(folder);
    SetProgramFolder(folder);
    try {
        QStringList existing;
        LoadCamList(existing);  // creates the empty cam list file
        for (const DemoCam& cam : cams) {
            if (!existing.contains(cam.name))
                AppendCamRecord(cam.name, cam.url, QString::number(refreshSeconds));
        }
    } catch (const CamListError& error) {
        return QStringLiteral("The demo cam list could not be written: %1").arg(error.message());
    }
    WriteSetting(SettingKeys::timeServer, QStringLiteral("127.0.0.1:%1").arg(daytimePort));
    WriteSetting(SettingKeys::showHelp, QStringLiteral("0"));
    const QString helpCopy = ProgramPath(QStringLiteral("Help.rtf"));
    if (QFile::exists(helpFile) && !QFile::exists(helpCopy) && !QFile::copy(helpFile, helpCopy))
        return QStringLiteral("The help file could not be copied to %1.").arg(helpCopy);
    return {};
}

DemoFolderEnd FinishDemoFolder(const QString& folder)
{
    DemoFolderEnd end;
    QDirIterator pictures(folder + QStringLiteral("/cam"), QDir::Files | QDir::Hidden | QDir::System,
                          QDirIterator::Subdirectories);
    while (pictures.hasNext()) {
        pictures.next();
        ++end.savedPictures;
    }
    // A save folder chosen in the demo's Options may lie elsewhere in the folder ("shots"): its
    // pictures are kept all the same.
    const QString cam = QDir(folder).filePath(QStringLiteral("cam")) + QLatin1Char('/');
    QDirIterator elsewhere(folder, {QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")}, QDir::Files,
                           QDirIterator::Subdirectories);
    while (elsewhere.hasNext())
        if (!elsewhere.next().startsWith(cam))
            ++end.savedPictures;
    if (end.savedPictures == 0)
        end.removed = QDir(folder).removeRecursively();
    return end;
}
