#include "Saving.h"

#include <QCheckBox>
#include <QImageReader>
#include <QLineEdit>

#include "DIBSection.h"
#include "DateTimeText.h"
#include "ImageControl.h"
#include "JpegWriter.h"
#include "LockWind.h"
#include "NewPicture.h"
#include "PictureMemory.h"
#include "ProgramFolder.h"
#include "SlotGrid.h"
#include "TolvaneError.h"

namespace {
constexpr int kJpegQuality = 90;   // percent
}

QString PictureFilePath(const QString& camName, const QDateTime& now)
{
    return ProgramFolder() + QStringLiteral("/cam/") + BuildPictureFileName(camName, now);
}

void SavePictureAsJpeg(const QImage& picture, const QString& fileName)
{
    cDIBSection dib;
    dib.CreateFromPicture(picture);
    SaveDibAsJpeg(dib, fileName, kJpegQuality);
}

void SlotGrid::AutoSavePicture(int index)
{
    ViewerSlot& s = slot(index);
    if (!hooks_.chkSave || !hooks_.chkSave->isChecked() || !s.slotIsNew)
        return;
    const QDateTime now = CurrentDateTime();
    const QString fileName = PictureFilePath(s.caption(), now);
    try {
        SavePictureAsJpeg(s.imgCam->picture(), fileName);
    } catch (const std::exception&) {
        return;   // the watch goes on; a cam that cannot be saved must not stop the others
    }
    // The thumbnail shows what was stored, so the user sees the saved quality.
    QImageReader reader(fileName);
    const QImage saved = ReadPicture(reader);
    if (!saved.isNull())
        s.imgCam->setPicture(saved);
    if (selectedSlot == index)
        SetStatusText(TimeText(now.time()) + QStringLiteral(" new picture saved as ") + fileName);
}

void SlotGrid::cmdSave_Click()
{
    if (selectedSlot < 0 || selectedSlot >= kSlotCount)
        return;
    const ViewerSlot& s = slot(selectedSlot);
    const QDateTime now = CurrentDateTime();
    const QString fileName = PictureFilePath(s.txtName->text(), now);
    QString failure;
    bool failed = false;
    try {
        SavePictureAsJpeg(s.imgCam->picture(), fileName);
    } catch (const TolvaneError& error) {
        failed = true;
        failure = error.description();
    } catch (const std::exception& error) {
        failed = true;
        failure = QString::fromLocal8Bit(error.what());
    }
    if (failed) {
        // The user asked for this file: say that it was not written and why, and go on.
        SetStatusText(QStringLiteral("%1 could not save %2: %3").arg(TimeText(now.time()), fileName, failure));
        return;
    }
    {
        WindowDrawingLock lock(hooks_.mainWindow);
        if (hooks_.showInViewer)
            hooks_.showInViewer(s.imgCam->picture());
    }
    SetStatusText(TimeText(now.time()) + QStringLiteral(" saved as ") + fileName);
}
