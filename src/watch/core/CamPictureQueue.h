#pragma once
// The closed answers of the cams of one window (or of a recorder) on their way through the codec
// threads: each is decoded (and saved) beside the user-interface thread and handed back to its
// cam in the order that cam's answers closed. Cams do not wait for one another: an answer is
// handled as soon as its picture is made and its cam's earlier ones are handled.
#include <QObject>
#include <deque>
#include <memory>

#include "PictureWork.h"

class WatchedCam;

class CamPictureQueue : public QObject {
    Q_OBJECT
public:
    // `record`: where saved pictures get their index row (none: no index).
    explicit CamPictureQueue(RecordSavedPictureFn record = {}, QObject* parent = nullptr);
    ~CamPictureQueue() override;

    // An answer of `work.cam` to decode; handled at once when there is nothing to decode (its
    // cam's earlier ones are handled by then).
    void submit(std::shared_ptr<PictureWork> work);
    // Handles every answer of the cam that closed before now (nullptr: of every cam), waiting for
    // the codec where it is still at them; other cams' finished ones are handled too.
    void settle(const WatchedCam* cam);

    // How long closed answers waited for other cams' work (in the codec threads' queue, or for
    // the user-interface thread) before their handling began; their own decode is not counted.
    // A figure for benchmarks: measured only while switched on, and switching it on starts afresh.
    struct HoldUps {
        qint64 longestNs = 0;  // the longest wait of one answer
        int longestSlot = -1;  // the cam whose answer waited longest
        qint64 responses = 0;  // answers measured
        // The longest of each part: in the queue until a codec thread took it, and from the end
        // of the thread's work until the user-interface thread began its handling.
        qint64 longestInQueueNs = 0;
        qint64 longestForUiNs = 0;
    };
    void measureHoldUps(bool on);
    bool measuringHoldUps() const { return measuringHoldUps_; }
    HoldUps holdUps() const { return holdUps_; }

private:
    void HandleFinished();
    void Handle(const PictureWork& work);

    std::deque<std::shared_ptr<PictureWork>> handling_;  // closed, not yet handled, oldest first
    bool measuringHoldUps_ = false;
    HoldUps holdUps_;
    std::unique_ptr<PictureWorker> worker_;  // last: its threads report to what is above
};
