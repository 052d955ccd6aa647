#pragma once
// The codec's share of handling a fetched response, done on a thread beside the user-interface
// thread: decoding the body (through its "vbt" temporary file) and, for a new picture with
// autosave on, saving it and reading the saved file back. Everything the response does to the
// cam and its views stays on the user-interface thread, in the order the responses closed.
#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "CamHealth.h"
#include "CamUrl.h"
#include "NewPicture.h"
#include "PictureChange.h"
#include "PictureCheck.h"
#include "PictureSave.h"

class WatchedCam;

// One closed response of a cam: what its handling needs, and what the worker made of it.
struct PictureWork {
    WatchedCam* cam = nullptr;  // the cam whose answer it is
    int slot = 0;               // that cam's place
    bool isImage = false;       // the header names an image: otherwise the not-found picture
    PictureStamp stamp;         // the slot's time stamp values after this response's header
    QByteArray body;            // decoded when not empty; becomes `pictureBytes` once decoded
    // The body is byte for byte the one the cam shows: it is not decoded nor shown again. `body`
    // then holds the cam's kept bytes only when a save is due, decoded for the save alone.
    bool sameBody = false;
    // The size the picture is drawn at outside the Viewer (thumbnail, wall tile), in device
    // pixels: a JPEG is decoded at the smallest DCT scale that still gives that much. Invalid, or
    // `wantFull`, or a save due: decoded at full size.
    QSize thumbnailSize;
    bool wantFull = false;  // the Viewer follows the slot: it shows the full picture
    // A saved picture is read back from its file for the views (CamViewNeeds::savedPictureShown).
    bool readBack = true;
    // Where to save the picture when it decodes; empty: no save. Under the sortable names the
    // worker may add " (n)" to keep a picture of the same second, and the name then says so.
    QString saveFileName;
    QString saveFolder;  // the save folder the file is in (its path in the index is below it)
    PictureNaming naming = PictureNaming::Classic;
    QDateTime saveTime;  // the time the file is named after
    QString camName;     // the cam the saved picture is indexed under
    // The slot was the one shown when the response closed: its save is reported on the status
    // bar even when a click has moved the Viewer on before the response is handled.
    bool selectedAtClose = false;
    // For the cam's health record: what the answer showed, and whether it carried a time stamp
    // (stamped) that differs from the slot's last one (newStamp).
    FetchOutcome outcome;
    bool stamped = false;
    bool newStamp = false;
    // What the next request may ask about this picture, once it is shown.
    RequestConditions conditions;
    // Under a rule that looks at the picture: the rule, the grey copy of the cam's last new
    // picture (null: this picture is the baseline) and what the Last-Modified line said. The
    // worker then decides `stamp.isNew`, and a save that was named is made only for a new picture.
    NewPictureRule rule = NewPictureRule::LastModified;
    GreyCopy baseline;
    bool stampSaidNew = false;
    // Under every rule, for the frozen state: the grey copy of the picture that last changed
    // (null: none yet), and the cam's mask (rectangles in fractions of the picture), which both
    // comparisons leave out; when a picture counts as changed.
    GreyCopy changeBaseline;
    QList<QRectF> mask;
    ChangeRule change;

    // Made by the worker; read once `done` says so.
    QImage picture;                                            // null: the body is no picture
    PictureStatus pictureStatus = PictureStatus::NotAPicture;  // why the picture is null, if it is
    QSize declaredSize;           // TooLarge: the size the picture declares, when it tells one
    QSize fullSize;               // the picture's own size (`picture` may be a scaled decode)
    QByteArray pictureBytes;      // the body, when it decoded: the full picture is decoded from it on demand
    GreyCopy grey;                // the grey copy of a decoded picture that is not the one shown
    bool contentChanged = false;  // `grey` differs from `changeBaseline` outside the mask
    bool saved = false;
    QString saveProblem;    // why a save that was due failed, in words; empty when it did not fail
    QImage savedPicture;    // the saved file as read back (scaled like `picture`); null when it could not be read
    QByteArray savedBytes;  // the saved file's bytes, when it was read back
    QString indexProblem;   // why the saved picture has no row in the index; empty when it has
    bool done = false;      // under the worker's lock

    // Only while the queue measures how long responses wait (CamPictureQueue::measureHoldUps), else 0:
    // steady-clock nanoseconds when the response closed, and when a thread began and ended its work.
    qint64 closedNs = 0;
    qint64 startedNs = 0;
    qint64 finishedNs = 0;
};

// The steady clock in nanoseconds, for the hold-up measure.
qint64 SteadyClockNs();

// Where a saved picture gets its row in the picture index; returns why it did not, or nothing.
using RecordSavedPictureFn = std::function<QString(const PictureWork& work)>;

// Decodes the body and saves the picture as the work asks, recording a saved picture with
// `record` (none: no index); never throws.
void MakePictures(PictureWork& work, const RecordSavedPictureFn& record = {});

// Threads that run PictureWork items, started in the order they are given (one that someone
// waits for goes first), and call `finished`
// (on their own thread) after each, so the user-interface thread can take the results. With more
// than one thread a slow decode (a 4K picture) holds up no other cam's; the caller keeps each
// slot's order (a slot has one item under way at a time).
class PictureWorker {
public:
    static constexpr int kThreads = 2;  // the machines this runs on have two cores or more

    explicit PictureWorker(std::function<void()> finished, RecordSavedPictureFn record = {}, int threads = kThreads);
    // Lets the item under way finish (a file may be being written), drops the others.
    ~PictureWorker();
    PictureWorker(const PictureWorker&) = delete;
    PictureWorker& operator=(const PictureWorker&) = delete;

    void submit(std::shared_ptr<PictureWork> work);
    bool isDone(const PictureWork& work);
    // Blocks until the worker has done this item; one still queued is taken next.
    void waitFor(const PictureWork& work);

private:
    void run();

    std::function<void()> finished_;
    RecordSavedPictureFn record_;
    std::mutex mutex_;
    std::condition_variable wake_;  // an item was given, or the worker is to stop
    std::condition_variable done_;  // an item was done
    std::deque<std::shared_ptr<PictureWork>> queue_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;  // last: start once everything above exists
};
