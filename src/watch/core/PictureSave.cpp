#include "PictureSave.h"

#include "DIBSection.h"
#include "JpegWriter.h"
#include "NewPicture.h"
#include "ProgramFolder.h"
#include "TolvaneError.h"

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
    cDIBSection dib;
    dib.CreateFromPicture(picture);
    SaveDibAsJpeg(dib, fileName, kJpegQuality);
}
