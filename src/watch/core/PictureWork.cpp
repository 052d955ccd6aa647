#include "PictureWork.h"

#include <algorithm>
#include <chrono>
#include <pthread.h>

#include "FetchedPicture.h"
#include "PictureMemory.h"
#include "PictureSave.h"

qint64 SteadyClockNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void MakePictures(PictureWork& work, const RecordSavedPictureFn& record)
{
    try {
        // Under a rule that looks at the picture, a save waits for the verdict: the picture is
        // decoded for its thumbnail first, and in full only once it proves new.
        const bool judged = work.rule != NewPictureRule::LastModified && !work.sameBody;
        if (!work.body.isEmpty()) {
            // The save and the Viewer need every pixel; a thumbnail needs a scaled decode only.
            const bool full = work.wantFull || (!work.saveFileName.isEmpty() && !judged);
            // The bytes the cam shows decoded before; the save's decode needs no file to read them from.
            LoadedPicture loaded = work.sameBody ? LoadPicture(work.body)
                                                 : LoadFetchedPicture(work.body, full ? QSize() : work.thumbnailSize);
            work.picture = std::move(loaded.picture);
            work.pictureStatus = loaded.status;
            work.declaredSize = loaded.declaredSize;
            work.fullSize = loaded.fullSize;
        }
        // The grey copy comes from the decode made anyway, whatever its scale; bytes shown already
        // need none.
        if (!work.sameBody && !work.picture.isNull()) {
            work.grey = MakeGreyCopy(work.picture);
            if (!work.changeBaseline.isNull())
                work.contentChanged = PictureChanged(work.changeBaseline, work.grey, work.change, work.mask);
        }
        if (judged && !work.picture.isNull()) {
            std::optional<bool> changed;
            if (!work.baseline.isNull())
                changed = PictureChanged(work.baseline, work.grey, work.change, work.mask);
            work.stamp.isNew = IsNewPicture(work.rule, work.stampSaidNew, false, changed);
            if (!work.stamp.isNew) {
                work.saveFileName.clear();
            } else if (!work.saveFileName.isEmpty() && work.picture.size() != work.fullSize) {
                // The save needs every pixel; the bytes are in memory, no file is needed to read them.
                LoadedPicture whole = LoadPicture(work.body);
                if (whole.picture.isNull()) {
                    work.saveProblem = QStringLiteral("the picture could not be decoded at its full size for the save");
                } else {
                    work.picture = std::move(whole.picture);
                }
            }
        }
        // Up to megabytes: kept only for a picture, whose full size is decoded from it when needed.
        if (!work.picture.isNull())
            work.pictureBytes = std::move(work.body);
        work.body = QByteArray();
        if (work.saveFileName.isEmpty() || !work.saveProblem.isEmpty())
            return;
        if (work.picture.isNull()) {
            // A body shown a moment ago that no longer decodes has met a lack of memory; any other
            // body that is no picture is not saved, as it is not shown.
            if (work.sameBody)
                work.saveProblem = QStringLiteral("the picture could not be decoded again for the save");
            return;
        }
        try {
            work.saveFileName = SavePicture(work.picture, work.saveFileName, work.naming);
        } catch (const std::exception& error) {
            work.saveProblem = SaveFailureText(error);
            return;
        }
        work.saved = true;
        // Recorded by the handler that saved it; a failure here costs the row, never the picture.
        if (record)
            work.indexProblem = record(work);
        if (!work.readBack) {
            // Nobody looks at what was stored. The cam keeps a copy the size it asked for, as a
            // read-back would give, not the full picture: the file is neither read nor decoded.
            const QSize& size = work.thumbnailSize;
            if (size.isValid() && work.picture.width() > size.width() && work.picture.height() > size.height())
                work.picture = work.picture.scaled(size, Qt::KeepAspectRatioByExpanding, Qt::FastTransformation);
            return;
        }
        QByteArray savedBytes;
        work.savedPicture = ReadPictureFile(work.saveFileName, work.thumbnailSize, &savedBytes).picture;
        if (!work.savedPicture.isNull())
            work.savedBytes = std::move(savedBytes);
    } catch (const std::exception&) {
        // A save that fails is skipped (the picture is shown all the same); memory that runs out
        // leaves what was made so far.
    }
}

PictureWorker::PictureWorker(std::function<void()> finished, RecordSavedPictureFn record, int threads)
    : finished_(std::move(finished)), record_(std::move(record))
{
    for (int i = 0; i < std::max(1, threads); ++i) {
        threads_.emplace_back([this] {
            // The name profilers, the system's thread lists and the benchmarks know them by.
            pthread_setname_np(pthread_self(), "tolvane codec");
            run();
        });
    }
}

PictureWorker::~PictureWorker()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
    }
    wake_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

void PictureWorker::submit(std::shared_ptr<PictureWork> work)
{
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back(std::move(work));
    }
    wake_.notify_all();
}

bool PictureWorker::isDone(const PictureWork& work)
{
    const std::lock_guard lock(mutex_);
    return work.done;
}

void PictureWorker::waitFor(const PictureWork& work)
{
    std::unique_lock lock(mutex_);
    // Someone is waiting for this one (a click, a stop): it goes before those nobody waits for
    // yet, so the wait is for the work under way and its own, not for every cam's queued before
    // it. Each slot has one item here at a time, so no slot's order changes.
    const auto queued =
        std::find_if(queue_.begin(), queue_.end(), [&](const auto& item) { return item.get() == &work; });
    if (queued != queue_.end() && queued != queue_.begin()) {
        std::shared_ptr<PictureWork> item = std::move(*queued);
        queue_.erase(queued);
        queue_.push_front(std::move(item));
    }
    done_.wait(lock, [&] { return work.done; });
}

void PictureWorker::run()
{
    for (;;) {
        std::shared_ptr<PictureWork> work;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_)
                return;
            work = queue_.front();
            queue_.pop_front();
        }
        const bool timed = work->closedNs != 0;  // set before it was queued
        if (timed)
            work->startedNs = SteadyClockNs();
        MakePictures(*work, record_);
        if (timed)
            work->finishedNs = SteadyClockNs();
        {
            const std::lock_guard lock(mutex_);
            work->done = true;
        }
        done_.notify_all();
        finished_();
    }
}
