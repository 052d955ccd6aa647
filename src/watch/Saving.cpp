#include "Saving.h"

#include <QFileInfo>
#include <QLineEdit>
#include <algorithm>

#include "DIBSection.h"
#include "DateTimeText.h"
#include "Files.h"
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

QString SlotGrid::AutoSaveFileName(int index, const PictureStamp& stamp, const QDateTime& now) const
{
    if (!hooks_.autoSave || !hooks_.autoSave() || !stamp.isNew)
        return {};
    return PictureFilePath(slot(index).caption(), now);
}

void SlotGrid::AutoSavePicture(const PictureWork& work)
{
    if (work.saveFileName.isEmpty())
        return;
    // A save that failed is skipped: the watch goes on, and a cam that cannot be saved must not
    // stop the others. But its pictures are being lost (a full disk, a folder gone): the cam is
    // failing until a save works, the status bar's field counts such cams, and the first failure
    // (or another reason) is a message of its own, whichever cam it is.
    ViewerSlot& s = slot(work.slot);
    if (!work.saved) {
        if (work.saveProblem.isEmpty())
            return;
        const QString text =
            QStringLiteral("%1 could not save the new picture of %2 as %3: %4")
                .arg(TimeText(work.saveTime.time()), work.camName, work.saveFileName, work.saveProblem);
        if (RecordSaveFailure(s.health, work.saveProblem, work.saveFileName, work.saveTime)) {
            qCWarning(lcWatch).noquote() << work.camName + QStringLiteral(": new pictures cannot be saved: ") +
                    work.saveFileName + QStringLiteral(": ") + work.saveProblem;
            SetStatusText(text);
            Q_EMIT saveTroubleChanged();
        } else {
            SetProgressText(text);
        }
        ReportHealth(work.slot);
        return;
    }
    NoteSaveWorked(work.slot);
    // The thumbnail shows what was stored, so the user sees the saved quality.
    if (!work.savedPicture.isNull())
        SetSlotPicture(work.slot, work.savedPicture, work.savedBytes, work.fullSize);
    if (work.selectedAtClose)
        SetProgressText(TimeText(work.saveTime.time()) + QStringLiteral(" new picture saved as ") + work.saveFileName);
    ReportIndexProblem(work.saveTime, work.saveFileName, work.indexProblem);
    Q_EMIT pictureSaved(work.slot, work.camName, work.saveFileName);
}

void SlotGrid::NoteSaveWorked(int index)
{
    if (!RecordSaveSuccess(slot(index).health))
        return;
    ReportHealth(index);
    Q_EMIT saveTroubleChanged();
}

void SlotGrid::autoSaveTurnedOff()
{
    // No picture is being lost any more: what was failing is no longer the cams' trouble.
    for (int i = 0; i < kSlotCount; ++i)
        NoteSaveWorked(i);
}

int SlotGrid::camsFailingToSave() const
{
    return static_cast<int>(std::count_if(slots_.begin(), slots_.end(), [](const ViewerSlot& s) {
        return s.isOpen() && !s.health.saving.problem.isEmpty();
    }));
}

QString SlotGrid::saveTroubleText() const
{
    QStringList lines;
    for (const ViewerSlot& s : slots_) {
        if (s.isOpen() && !s.health.saving.problem.isEmpty())
            lines << s.caption() + QStringLiteral(": ") + SaveTroubleText(s.health.saving);
    }
    return lines.join(QLatin1Char('\n'));
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
    if (!ShowsCamPicture(selectedSlot_)) {
        // The not-found picture is the program's own, and a slot with nothing yet has nothing: a
        // file of either under the cam's name would be a picture the cam never sent.
        SetStatusText(TimeText(now.time()) + QStringLiteral(" no picture to save"));
        return;
    }
    const QString fileName = PictureFilePath(s.txtName->text(), now);
    const QImage picture = fullPicture(selectedSlot_);
    QString failure;
    bool failed = false;
    try {
        SavePictureAsJpeg(picture, fileName);
    } catch (const std::exception& error) {
        failed = true;
        failure = SaveFailureText(error);
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
    NoteSaveWorked(selectedSlot_);
    ReportIndexProblem(now, fileName,
                       RecordSavedPicture(SavedPictureRecord(s.txtName->text(), fileName, now, s.txtUpdated->text(),
                                                             picture.width(), picture.height())));
    Q_EMIT pictureSaved(selectedSlot_, s.txtName->text(), fileName);
}
