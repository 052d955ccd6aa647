#include "Saving.h"

#include <QLineEdit>

#include "DIBSection.h"
#include "DateTimeText.h"
#include "HistoryLog.h"
#include "ImageControl.h"
#include "IndexMaintenance.h"
#include "JpegWriter.h"
#include "LockWind.h"
#include "NewPicture.h"
#include "PictureMemory.h"
#include "PictureWork.h"
#include "ProgramFolder.h"
#include "SlotGrid.h"
#include "TolvaneError.h"

namespace {
constexpr int kJpegQuality = 90;  // percent
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

QString SlotGrid::AutoSaveFileName(int index, const PictureStamp& stamp, const QDateTime& now) const
{
    if (!hooks_.autoSave || !hooks_.autoSave() || !stamp.isNew)
        return {};
    return PictureFilePath(slot(index).caption(), now);
}

void SlotGrid::AutoSavePicture(const PictureWork& work)
{
    // The worker has saved it (a save that failed is skipped: the watch goes on, and a cam that
    // cannot be saved must not stop the others).
    if (work.saveFileName.isEmpty() || !work.saved)
        return;
    // The thumbnail shows what was stored, so the user sees the saved quality.
    if (!work.savedPicture.isNull())
        SetSlotPicture(work.slot, work.savedPicture, work.savedBytes, work.fullSize);
    if (work.selectedAtClose)
        SetStatusText(TimeText(work.saveTime.time()) + QStringLiteral(" new picture saved as ") + work.saveFileName);
    ReportIndexProblem(work.saveTime, work.saveFileName, work.indexProblem);
    Q_EMIT pictureSaved(work.slot, work.camName, work.saveFileName);
}

void SlotGrid::ReportIndexProblem(const QDateTime& when, const QString& fileName, const QString& problem) const
{
    if (problem.isEmpty())
        return;
    // The picture is on disk; only its place in the history is missing, and the user should know.
    qCWarning(lcHistory).noquote() << fileName << "was saved but not indexed:" << problem;
    SetStatusText(QStringLiteral("%1 %2 was saved but not added to the picture index: %3")
                      .arg(TimeText(when.time()), fileName, problem));
}

void SlotGrid::cmdSave_Click()
{
    if (selectedSlot_ < 0 || selectedSlot_ >= kSlotCount)
        return;
    FinishHandling(selectedSlot_);  // the picture saved is the one the slot holds after them
    const ViewerSlot& s = slot(selectedSlot_);
    const QDateTime now = CurrentDateTime();
    const QString fileName = PictureFilePath(s.txtName->text(), now);
    const QImage picture = fullPicture(selectedSlot_);
    QString failure;
    bool failed = false;
    try {
        SavePictureAsJpeg(picture, fileName);
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
            hooks_.showInViewer(picture);
    }
    SetStatusText(TimeText(now.time()) + QStringLiteral(" saved as ") + fileName);
    ReportIndexProblem(now, fileName,
                       RecordSavedPicture(SavedPictureRecord(s.txtName->text(), fileName, now, s.txtUpdated->text(),
                                                             picture.width(), picture.height())));
    Q_EMIT pictureSaved(selectedSlot_, s.txtName->text(), fileName);
}
