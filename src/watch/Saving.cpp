// What the window says of saved pictures: the automatic save's outcome on the status bar, and
// "Save Image", which saves the picture the Viewer shows.
#include <QCoreApplication>

#include "DateTimeText.h"
#include "HistoryLog.h"
#include "IndexMaintenance.h"
#include "LockWind.h"
#include "PictureSave.h"
#include "SlotGrid.h"

namespace {
// A saved picture without its index row: the status bar and the log say so.
QString IndexProblemText(const QDateTime& when, const QString& fileName, const QString& problem)
{
    if (problem.isEmpty())
        return {};
    // The picture is on disk; only its place in the history is missing, and the user should know.
    qCWarning(lcHistory).noquote() << fileName << "was saved but not indexed:" << problem;
    return QCoreApplication::translate("SlotGrid", "%1 %2 was saved but not added to the picture index: %3")
        .arg(TimeText(when.time()), fileName, problem);
}
}  // namespace

void SlotGrid::ReportAutoSave(const PictureWork& work) const
{
    if (!work.saved)
        return;  // the cam said so (WatchedCam::AutoSavePicture)
    if (work.selectedAtClose)
        hooks_.progressText(tr("%1 new picture saved as %2").arg(TimeText(work.saveTime.time()), work.saveFileName));
    const QString indexProblem = IndexProblemText(work.saveTime, work.saveFileName, work.indexProblem);
    if (!indexProblem.isEmpty())
        hooks_.statusText(indexProblem);
}

void SlotGrid::cmdSave_Click()
{
    SaveSlotPicture(cams_.selectedSlot());
}

void SlotGrid::SaveSlotPicture(int index)
{
    if (index < 0 || index >= kSlotCount)
        return;
    WatchedCam& cam = cams_.cam(index);
    cam.settle();  // the picture saved is the one the cam holds after them
    const QDateTime now = CurrentDateTime();
    if (!cam.showsCamPicture()) {
        // The not-found picture is the program's own, and a slot with nothing yet has nothing: a
        // file of either under the cam's name would be a picture the cam never sent.
        hooks_.statusText(tr("%1 no picture to save").arg(TimeText(now.time())));
        return;
    }
    const SavePlace& place = cams_.fetchOptions().save;
    QString fileName = PictureFilePath(place, cam.name(), now);
    const QImage picture = cam.fullPicture();
    QString failure;
    bool failed = false;
    try {
        fileName = SavePicture(picture, fileName, place.naming);
    } catch (const std::exception& error) {
        failed = true;
        failure = SaveFailureText(error);
    }
    if (failed) {
        // The user asked for this file: say that it was not written and why, and go on.
        hooks_.statusText(tr("%1 could not save %2: %3").arg(TimeText(now.time()), fileName, failure));
        return;
    }
    if (index == cams_.selectedSlot()) {
        WindowDrawingLock lock(hooks_.mainWindow);
        if (hooks_.showInViewer)
            hooks_.showInViewer(picture);
    }
    hooks_.statusText(tr("%1 saved as %2").arg(TimeText(now.time()), fileName));
    cam.noteSaveWorked();
    const QString indexProblem =
        IndexProblemText(now, fileName,
                         RecordSavedPicture(SavedPictureRecord(cam.name(), SaveFolderOf(place), fileName, now,
                                                               cam.updatedText(), picture.width(), picture.height()),
                                            PictureIndexPathFor(SaveFolderOf(place))));
    if (!indexProblem.isEmpty())
        hooks_.statusText(indexProblem);
    cam.reportSaved(fileName);
}
