#include "PictureSave.h"

#include <QFileInfo>

#include "DIBSection.h"
#include "Files.h"
#include "JpegWriter.h"
#include "NewPicture.h"
#include "ProgramFolder.h"
#include "TolvaneError.h"
#include "WatchLog.h"

namespace {
constexpr int kJpegQuality = 90;  // percent
}

QString PictureFilePath(const QString& camName, const QDateTime& now)
{
    return ProgramFolder() + QStringLiteral("/cam/") + BuildPictureFileName(camName, now);
}

QString SaveFailureText(const std::exception& error)
{
    if (const auto* raised = dynamic_cast<const TolvaneError*>(&error))
        return raised->fullText();
    return QString::fromLocal8Bit(error.what());
}

void SavePictureAsJpeg(const QImage& picture, const QString& fileName)
{
    // The folder may have been removed while the program runs (by hand, by a clean-up): it is
    // made again rather than losing every new picture until the next start.
    const QString folder = QFileInfo(fileName).path();
    if (MakeFolderIfMissing(folder) == FolderMade::Made)
        qCWarning(lcWatch).noquote() << QStringLiteral("the folder %1 was missing and has been made again").arg(folder);
    cDIBSection dib;
    dib.CreateFromPicture(picture);
    SaveDibAsJpeg(dib, fileName, kJpegQuality);
}
