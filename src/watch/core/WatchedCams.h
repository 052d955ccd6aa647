#pragma once
// The cams one window (or a recorder) watches, 24 at most, each in its place: their models, the
// codec threads they share, the fetch options, and the cam the Viewer follows. Views (the panels,
// the wall) and tools listen to the signals here, which carry the cam's place.
#include <QObject>
#include <QSize>
#include <array>
#include <functional>
#include <memory>

#include "CamPictureQueue.h"
#include "WatchedCam.h"

class WatchedCams : public QObject {
    Q_OBJECT
public:
    static constexpr int kCount = 24;

    // `record`: where saved pictures get their index row (none: no index).
    explicit WatchedCams(RecordSavedPictureFn record = {}, QObject* parent = nullptr);
    ~WatchedCams() override;

    WatchedCam& cam(int index) { return *cams_.at(static_cast<size_t>(index)); }
    const WatchedCam& cam(int index) const { return *cams_.at(static_cast<size_t>(index)); }
    CamPictureQueue& pictures() { return pictures_; }
    // What the views ask of the pictures; fill it in before the first cam opens.
    CamViewNeeds& needs() { return needs_; }

    int openCount() const;  // open cams, 0 to 24
    // The cam the Viewer follows; -1 for none. 0 at start: the hidden Viewer follows the first.
    int selectedSlot() const { return selectedSlot_; }
    void setSelectedSlot(int index);
    // The largest size, in device pixels, at which a view (the wall) draws the cams; the scaled
    // decodes are made at least this large. Invalid: none.
    void setLargestTileSize(const QSize& deviceSize) { largestTileSize_ = deviceSize; }
    QSize largestTileSize() const { return largestTileSize_; }

    // Options every cam follows. Fetch options are taken by each cam's next request.
    void setFetchOptions(const FetchOptions& options) { fetchOptions_ = options; }
    const FetchOptions& fetchOptions() const { return fetchOptions_; }
    // A cam is stale after no new picture for this many minutes, or ten refresh intervals when
    // that is longer.
    void setStaleMinutes(int minutes);
    int staleMinutes() const { return staleMinutes_; }
    // A cam is frozen after its picture stayed the same this many minutes (or ten refresh
    // intervals when that is longer) while it kept sending new ones; 0: never.
    void setFrozenMinutes(int minutes);
    int frozenMinutes() const { return frozenMinutes_; }
    void setFinishSlowDownloads(bool on);
    bool finishSlowDownloads() const { return finishSlowDownloads_; }
    // Options "Live video in the Viewer" (WatchedCam::setLiveInViewer) for every cam.
    void setLiveInViewer(bool on);
    bool liveInViewer() const { return liveInViewer_; }
    // Someone may have begun or ceased to see the Viewer (the wall, the full-window view): the
    // cams look again at whether they are live.
    void updateLive();
    // Tests shorten the 1000 ms refresh tick and inject a clock that never goes back.
    void setTickInterval(int milliseconds);
    void setMonotonicClock(const std::function<qint64()>& milliseconds);

    // Open cams whose new pictures cannot be saved, and one line about each:
    // "<name>: AutoSave failing since …". saveTroubleChanged says when either changes.
    int camsFailingToSave() const;
    QString saveTroubleText() const;
    // AutoSave was switched off: no picture is being lost any more, so no cam fails for it.
    void autoSaveTurnedOff();

Q_SIGNALS:
    // Something a view of the cam shows has changed (WatchedCam::changed).
    void changed(int index);
    // A fetched picture is handled (and saved, when that was due): one per picture shown.
    void pictureHandled(int index);
    // A picture whose time stamp is new is shown.
    void newPictureShown(int index);
    // A picture of the cam was saved (automatically or by "Save Image") as fileName, under the
    // cam's name; the picture index has its row unless the status bar said otherwise.
    void pictureSaved(int index, const QString& camName, const QString& fileName);
    // A cam's new pictures began or ceased to fail to save, or fail for another reason.
    void saveTroubleChanged();

private:
    CamViewNeeds needs_;
    FetchOptions fetchOptions_;
    std::array<std::unique_ptr<WatchedCam>, kCount> cams_;
    int selectedSlot_ = 0;
    QSize largestTileSize_;
    int staleMinutes_ = 10;
    int frozenMinutes_ = 10;
    bool finishSlowDownloads_ = false;
    bool liveInViewer_ = false;
    // Last, so it goes first: its codec threads stop before the cams their work belongs to.
    CamPictureQueue pictures_;
};
