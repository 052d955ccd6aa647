#include "WatchedCams.h"

#include <QStringList>
#include <QTimer>
#include <algorithm>

WatchedCams::WatchedCams(RecordSavedPictureFn record, QObject* parent) : QObject(parent), pictures_(std::move(record))
{
    for (int i = 0; i < kCount; ++i) {
        cams_.at(static_cast<size_t>(i)) = std::make_unique<WatchedCam>(i, pictures_, needs_, fetchOptions_);
        WatchedCam* cam = cams_.at(static_cast<size_t>(i)).get();
        connect(cam, &WatchedCam::changed, this, [this, i] { Q_EMIT changed(i); });
        connect(cam, &WatchedCam::pictureHandled, this, [this, i] { Q_EMIT pictureHandled(i); });
        connect(cam, &WatchedCam::newPictureShown, this, [this, i] { Q_EMIT newPictureShown(i); });
        connect(cam, &WatchedCam::pictureSaved, this, [this, i](const QString& camName, const QString& fileName) {
            Q_EMIT pictureSaved(i, camName, fileName);
        });
        connect(cam, &WatchedCam::saveTroubleChanged, this, &WatchedCams::saveTroubleChanged);
    }
    cam(0).setFollowed(true);
}

WatchedCams::~WatchedCams() = default;

int WatchedCams::openCount() const
{
    int open = 0;
    for (const auto& cam : cams_)
        open += cam->isOpen() ? 1 : 0;
    return open;
}

void WatchedCams::setSelectedSlot(int index)
{
    selectedSlot_ = index;
    for (int i = 0; i < kCount; ++i) {
        if (i != index)
            cam(i).setFollowed(false);
    }
    if (index >= 0 && index < kCount)
        cam(index).setFollowed(true);
}

void WatchedCams::setStaleMinutes(int minutes)
{
    staleMinutes_ = qMax(1, minutes);
    for (const auto& cam : cams_)
        cam->setStaleMinutes(staleMinutes_);
}

void WatchedCams::setFrozenMinutes(int minutes)
{
    frozenMinutes_ = qMax(0, minutes);
    for (const auto& cam : cams_)
        cam->setFrozenMinutes(frozenMinutes_);
}

void WatchedCams::setLiveInViewer(bool on)
{
    liveInViewer_ = on;
    for (const auto& cam : cams_)
        cam->setLiveInViewer(on);
}

void WatchedCams::updateLive()
{
    for (const auto& cam : cams_)
        cam->updateLive();
}

void WatchedCams::setFinishSlowDownloads(bool on)
{
    finishSlowDownloads_ = on;
    for (const auto& cam : cams_)
        cam->setFinishSlowDownloads(on);
}

void WatchedCams::setTickInterval(int milliseconds)
{
    for (const auto& cam : cams_)
        cam->timRefresh->setInterval(milliseconds);
}

void WatchedCams::setMonotonicClock(const std::function<qint64()>& milliseconds)
{
    for (const auto& cam : cams_)
        cam->setMonotonicClock(milliseconds);
}

int WatchedCams::camsFailingToSave() const
{
    return static_cast<int>(std::count_if(cams_.begin(), cams_.end(), [](const auto& cam) {
        return cam->isOpen() && !cam->health().saving.problem.isEmpty();
    }));
}

QString WatchedCams::saveTroubleText() const
{
    QStringList lines;
    for (const auto& cam : cams_) {
        if (cam->isOpen() && !cam->health().saving.problem.isEmpty())
            lines << cam->name() + QStringLiteral(": ") + SaveTroubleText(cam->health().saving);
    }
    return lines.join(QLatin1Char('\n'));
}

void WatchedCams::autoSaveTurnedOff()
{
    // No picture is being lost any more: what was failing is no longer the cams' trouble.
    for (const auto& cam : cams_)
        cam->noteSaveWorked();
}
