#include "CamPictureQueue.h"

#include <QVarLengthArray>
#include <algorithm>
#include <vector>

#include "WatchedCam.h"

CamPictureQueue::CamPictureQueue(RecordSavedPictureFn record, QObject* parent)
    : QObject(parent), worker_(std::make_unique<PictureWorker>(
                           [this] {
                               QMetaObject::invokeMethod(
                                   this, [this] { HandleFinished(); }, Qt::QueuedConnection);
                           },
                           std::move(record)))
{
}

CamPictureQueue::~CamPictureQueue()
{
    worker_.reset();  // first: it must not report to a queue that is going
}

void CamPictureQueue::measureHoldUps(bool on)
{
    measuringHoldUps_ = on;
    if (on)
        holdUps_ = {};
}

void CamPictureQueue::submit(std::shared_ptr<PictureWork> work)
{
    if (work->body.isEmpty()) {
        work->done = true;  // nothing for the worker
        // The cam settled before its answer closed: nothing of its own waits.
        Handle(*work);
        return;
    }
    worker_->submit(work);
    handling_.push_back(std::move(work));
}

void CamPictureQueue::HandleFinished()
{
    // Each cam's answers in the order they closed; a cam never waits for another's decode.
    QVarLengthArray<const WatchedCam*, 24> waiting;
    for (auto it = handling_.begin(); it != handling_.end();) {
        const WatchedCam* cam = (*it)->cam;
        if (waiting.contains(cam) || !worker_->isDone(**it)) {
            if (!waiting.contains(cam))
                waiting.append(cam);
            ++it;
            continue;
        }
        // Off the list before it is handled: a view that acts on a cam must not handle it again.
        const std::shared_ptr<PictureWork> work = *it;
        it = handling_.erase(it);
        Handle(*work);
        it = handling_.begin();  // a view may have handled (and so removed) others
        waiting.clear();
    }
}

void CamPictureQueue::settle(const WatchedCam* cam)
{
    // The cam's own answers (every cam's for nullptr); other cams' decodes need not be waited for.
    for (const auto& work : std::vector(handling_.begin(), handling_.end())) {
        if (cam == nullptr || work->cam == cam)
            worker_->waitFor(*work);
    }
    HandleFinished();
}

void CamPictureQueue::Handle(const PictureWork& work)
{
    if (measuringHoldUps_ && work.closedNs != 0) {
        // From the close to now, less the time a codec thread spent on this answer itself.
        const qint64 now = SteadyClockNs();
        const qint64 waited = now - work.closedNs - (work.finishedNs - work.startedNs);
        ++holdUps_.responses;
        if (work.startedNs != 0) {
            holdUps_.longestInQueueNs = std::max(holdUps_.longestInQueueNs, work.startedNs - work.closedNs);
            holdUps_.longestForUiNs = std::max(holdUps_.longestForUiNs, now - work.finishedNs);
        }
        if (waited > holdUps_.longestNs) {
            holdUps_.longestNs = waited;
            holdUps_.longestSlot = work.slot;
        }
    }
    work.cam->HandleResponse(work);
}
