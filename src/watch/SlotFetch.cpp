// The socket handlers of a viewer slot: the request, the download progress and the handling of
// the whole response once the server has closed the connection.
#include <QLineEdit>

#include "CamSocket.h"
#include "CamUrl.h"
#include "DateTimeText.h"
#include "FetchedPicture.h"
#include "ImageControl.h"
#include "LockWind.h"
#include "NewPicture.h"
#include "SlotGrid.h"
#include "SlotNumbers.h"
#include "SlotProgressBar.h"

void SlotGrid::wsCam_Connect(int index)
{
    ViewerSlot& s = slot(index);
    s.slotPath.replace(QLatin1Char(' '), QLatin1String("%20"));
    s.wsCam->SendData(BuildCamRequest(s.slotPath, s.slotHostHeader));
}

void SlotGrid::wsCam_DataArrival(int index, qint64 bytesTotal)
{
    ViewerSlot& s = slot(index);
    const QString fileName = s.slotPath.mid(s.slotPath.lastIndexOf(QLatin1Char('/')) + 1);
    const auto arrival = s.slotResponse.append(s.wsCam->GetData(), bytesTotal);
    if (arrival.tooLarge) {
        // Far beyond any cam picture: stop reading rather than fill the memory; the slot tries
        // again at its next start.
        s.wsCam->Close();
        s.slotResponse.reset();
        ShowNotFound(index);
        ShowDetailsIfSelected(index);
        return;
    }
    if (!arrival.progress)
        return;
    s.prgCam->setProgress(*arrival.progress);   // a value above 100 is refused; the bar keeps its own
    SetStatusText(QStringLiteral("Downloading %1 [%2]").arg(fileName, ShortestNumberText(s.prgCam->progress(), 7)));
}

void SlotGrid::wsCam_Close(int index)
{
    ViewerSlot& s = slot(index);
    s.imgRefresh->hide();
    const auto response = s.slotResponse.finish();
    const qint32 contentLength = s.slotResponse.contentLength();
    s.slotResponse.reset();   // the response's bytes now live in `response` only
    bool shown = false;
    if (response.isImage)
        shown = ShowFetchedPicture(index, response, contentLength);
    else
        ShowNotFound(index);
    ShowDetailsIfSelected(index);
    if (shown)
        Q_EMIT pictureHandled(index);
}

bool SlotGrid::ShowFetchedPicture(int index, const HttpResponseAssembler::Finished& response, qint32 contentLength)
{
    ViewerSlot& s = slot(index);
    PictureStamp stamp{s.slotLastModified, s.txtUpdated->text(), s.txtRefreshed->text(), s.slotIsNew};
    DetectNewPicture(stamp, response.header, CurrentDateTime());

    QImage picture;
    if (response.bodyValid && BodyLooksWhole(response.body, contentLength))
        picture = LoadFetchedPicture(response.body);

    WindowDrawingLock lock(hooks_.mainWindow);
    s.imgRefresh->hide();
    if (picture.isNull()) {
        // The thumbnail, the Viewer and the full-window view keep what they show. The time stamp
        // is not taken either: the picture it belongs to never arrived, and taking it would make
        // the whole copy that comes next look old, so it would never be saved.
        s.slotIsNew = false;
        return false;
    }
    s.slotLastModified = stamp.lastModified;
    s.txtUpdated->setText(stamp.updatedText);
    s.txtRefreshed->setText(stamp.refreshedText);
    s.slotIsNew = stamp.isNew;

    // One decoded picture, shared by every view of it.
    s.imgCam->setPicture(picture);
    if (selectedSlot == index) {
        if (hooks_.showInViewer)
            hooks_.showInViewer(picture);
        if (screensaverMode && hooks_.showInFullWindow)
            hooks_.showInFullWindow(picture);
    }
    AutoSavePicture(index);
    return true;
}

void SlotGrid::ShowNotFound(int index)
{
    ViewerSlot& s = slot(index);
    WindowDrawingLock lock(hooks_.mainWindow);
    s.imgCam->setPicture(notFound_);
    s.imgRefresh->hide();
}

void SlotGrid::ShowDetailsIfSelected(int index)
{
    if (selectedSlot == index && hooks_.setViewerDetails)
        hooks_.setViewerDetails(slotTexts(index));
}
