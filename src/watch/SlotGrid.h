#pragma once
// The 24 viewer slots of the main window and their watch cycle: opening a cam into the lowest
// free panel, the per-slot refresh timer, the HTTP fetch over the slot's socket, new-picture
// detection and saving. Form1 places the grid and fills in the hooks to the rest of the window.
// The codec's work (decoding a response's picture, saving it) runs on threads of its own; all
// else runs on the user-interface thread, and each response is handled whole, in the order the
// slot's responses closed, before any later handler acts on its slot. Slots do not wait for one
// another: a response is handled as soon as its picture is made and its slot's earlier ones are
// handled.
#include <QDateTime>
#include <QImage>
#include <QObject>
#include <QString>
#include <array>
#include <deque>
#include <functional>
#include <memory>

#include "CamHealth.h"
#include "CamList.h"
#include "ViewerPane.h"
#include "ViewerSlot.h"

struct CamSocketFailure;
class QWidget;
class PictureWorker;
struct PictureStamp;
struct PictureWork;

// The fetch's choices from the Options dialog; all off, every cam is fetched as it always was.
struct FetchOptions {
    // Follow 301, 302, 303, 307 and 308 answers (up to 5; never from https to http).
    bool followRedirects = false;
    // Ask whether the picture changed (If-None-Match, If-Modified-Since); a 304 keeps it.
    bool conditionalRequests = false;
};

// What the slots need from the window around them; every hook is optional.
struct WatchHooks {
    QWidget* mainWindow = nullptr;             // the window whose drawing LockWindowDrawing suspends
    std::function<bool()> isCamSelected;       // an entry of the cam list box List1 is selected
    std::function<QString()> currentCamName;   // List1's current entry; empty when there is none
    std::function<bool()> autoSave;            // "AutoSave New Pictures" (chkSave) is ticked
    std::function<bool()> fullWindowViewOpen;  // the full-window view (Form6) is open
    // First status bar panel: a message (a save, a failure, an answer to a command), which the
    // window keeps in view for a while; and a progress text ("Downloading …", "new picture saved
    // as …"), which may not replace a message still kept. Without the second, both use the first.
    std::function<void(const QString&)> setStatusText;
    std::function<void(const QString&)> setProgressText;
    std::function<void()> showNotice;                      // Form4 "Oops!"
    std::function<void(const QImage&)> showInViewer;       // load into imgMain
    std::function<void(const QImage&)> showInFullWindow;   // Form6: hide picrefresh, stretch, load Image1
    std::function<void()> showFullWindowRefreshIndicator;  // Form6: show picrefresh
    std::function<void()> hideFullWindowRefreshIndicator;  // Form6: hide picrefresh
    std::function<void(const ViewerDetails&)>
        setViewerDetails;                                 // lblName, lblRefresh, lblLastChanged, lblLastRefreshed
    std::function<void(const QString&)> setNextRefresh;   // lblNextRefresh
    std::function<void()> hideViewer;                     // hide frmMain and frmDetails
    std::function<void()> queryTimeServer;                // the GMT clock
    std::function<void(const QString&)> setViewerStatus;  // the Viewer's "Status:" line

    // The Viewer can be seen (not hidden before the first click, nor under the wall); unset: it
    // always can. While it cannot, the selected slot's pictures are decoded for the thumbnail only.
    std::function<bool()> viewerShown;
};

class SlotGrid : public QObject {
    Q_OBJECT
public:
    static constexpr int kSlotCount = 24;

    // Creates the 24 hidden panels Frame(0..23) on the grid's scrolling surface at their
    // fixed positions (twips: left 60 + 1680 × (i mod 2), top 60 + 1980 × (i div 2)).
    SlotGrid(QWidget* picWindowInner, WatchHooks hooks, QObject* parent = nullptr);
    ~SlotGrid() override;

    ViewerSlot& slot(int index) { return slots_.at(static_cast<size_t>(index)); }
    const ViewerSlot& slot(int index) const { return slots_.at(static_cast<size_t>(index)); }

    // Window-wide watch state.
    int openCount() const { return openCount_; }        // open slots, 0 to 24
    int selectedSlot() const { return selectedSlot_; }  // the slot the Viewer shows; -1 for none
    // The Viewer shows this slot now (Form1, when a thumbnail is clicked).
    void setSelectedSlot(int index);

    // The picture the slot's thumbnail shows, at its own size: decoded from the slot's kept bytes
    // when the thumbnail holds a scaled decode. The selected slot's is kept while it is selected;
    // any other slot's is made for the caller and held by no one else.
    QImage fullPicture(int index);
    // The own size of the picture the thumbnail shows (empty when it shows none).
    QSize pictureSize(int index) const;
    // The slot's picture for drawing at `deviceSize` pixels: the thumbnail's decode when that is
    // large enough, the full picture otherwise.
    QImage displayPicture(int index, const QSize& deviceSize);
    // The largest size, in device pixels, at which another view (the wall) draws the slots; the
    // scaled decodes are made at least this large. Invalid: none.
    void setLargestTileSize(const QSize& deviceSize) { largestTileSize_ = deviceSize; }

    // How long closed responses waited for other cams' work (in the codec threads' queue, or for
    // the user-interface thread) before their handling began; their own decode is not counted.
    // A figure for benchmarks: measured only while switched on, and switching it on starts afresh.
    struct HoldUps {
        qint64 longestNs = 0;  // the longest wait of one response
        int longestSlot = -1;  // the slot whose response waited longest
        qint64 responses = 0;  // responses measured
        // The longest of each part: in the queue until a codec thread took it, and from the end
        // of the thread's work until the user-interface thread began its handling.
        qint64 longestInQueueNs = 0;
        qint64 longestForUiNs = 0;
    };
    void measureHoldUps(bool on);
    HoldUps holdUps() const { return holdUps_; }

    bool IsCamSelected() const;
    void cmdStartCam_Click();
    enum class OpenOutcome { Opened, AlreadyOpen, PanelsFull, NotOpened };
    // Every outcome but AlreadyOpen is said on the status bar when the cam is not opened.
    OpenOutcome OpenSelectedCam();
    OpenOutcome OpenCamInFreeSlot(const QString& name);
    static QString panelsFullText() { return QStringLiteral("All 24 panels are in use: stop a cam first"); }
    void cmdStart_Click(int index);
    void cmdRefresh_Click(int index);
    void timRefresh_Timer(int index);
    void cmdStop_Click(int index);
    void cmdStopAll_Click();
    void imgRefresh_Click(int index);
    // A click on the slot's thumbnail (or on another view of the slot, such as its wall tile).
    void imgCam_Click(int index);
    void wsCam_Connect(int index);
    void wsCam_DataArrival(int index, qint64 bytesTotal);
    // Takes the closed response; its handling follows once its picture is decoded (at once when
    // there is nothing to decode and nothing waiting before it).
    void wsCam_Close(int index);
    // "Save Image": saves the picture of selectedSlot.
    void cmdSave_Click();
    // After an edit: every slot whose panel caption is oldName takes the new texts, unrestarted.
    void UpdateOpenSlots(const QString& oldName, const CamRecord& edited);
    // Start-up gives every panel its refresh indicator picture.
    void setRefreshIndicatorPicture(const QImage& picture);
    // Tests shorten the 1000 ms refresh tick.
    void setTickInterval(int milliseconds);
    // Milliseconds of a clock that never goes back (tests inject one); default QElapsedTimer.
    void setMonotonicClock(std::function<qint64()> milliseconds);
    // On: a download still arriving when the refresh interval ends (a body byte within
    // kStillArrivingMs) goes on, and the next fetch starts once it has been handled; one that
    // brings no byte for kSilentMs is abandoned. Off (the default): the next start abandons it.
    void setFinishSlowDownloads(bool on) { finishSlowDownloads_ = on; }
    bool finishSlowDownloads() const { return finishSlowDownloads_; }
    static constexpr qint64 kStillArrivingMs = 5000;
    static constexpr qint64 kSilentMs = 10000;
    // lblNextRefresh's caption for the slot: the seconds left, or that it waits for its download.
    QString nextRefreshCaption(int index) const;
    static QString waitingCaption() { return QStringLiteral("waiting for the download"); }
    // The texts the Viewer's detail labels show for the slot: txtName, txtRefresh, txtUpdated
    // (last changed) and txtRefreshed (last refreshed).
    ViewerDetails slotTexts(int index) const;

    // Cam health: the state now, "<state>: <reason>" (the Viewer's "Status:" line), and the
    // thumbnail's tool tip (rich text, made when the pointer rests on the thumbnail).
    CamState healthState(int index) const;
    QString healthSummary(int index) const;
    QString healthToolTip(int index) const;
    // A cam is stale after no new picture for this many minutes, or ten refresh intervals when
    // that is longer.
    void setStaleMinutes(int minutes);
    int staleMinutes() const { return staleMinutes_; }
    // Cams whose new pictures cannot be saved (open ones), and one line about each:
    // "<name>: AutoSave failing since …". saveTroubleChanged says when either changes.
    int camsFailingToSave() const;
    QString saveTroubleText() const;
    // AutoSave was switched off: no picture is being lost any more, so no cam fails for it.
    void autoSaveTurnedOff();
    // Taken by the next request of each slot.
    void setFetchOptions(const FetchOptions& options) { fetchOptions_ = options; }
    const FetchOptions& fetchOptions() const { return fetchOptions_; }

Q_SIGNALS:
    // imgCam_Click, Picture3_Click and imgRefresh_Click: Form1 shows the slot in the Viewer.
    void thumbnailClicked(int index);
    // A fetched picture is in the thumbnail (and saved, when that was due): one per picture
    // shown, none for a not-found or undecodable response. Counters and tools listen to it.
    void pictureHandled(int index);
    // A picture of the slot was saved (automatically or by "Save Image") as fileName, under the
    // cam's name; the picture index has its row unless the status bar said otherwise.
    void pictureSaved(int index, const QString& camName, const QString& fileName);
    // A picture whose time stamp is new is in the slot's thumbnail (and in the Viewer when shown).
    void newPictureShown(int index);
    // Something the slot's panel shows has changed: it opened or stopped, its caption, its
    // picture or its texts changed, its refresh indicator came or went, or its health mark
    // changed. Other views of the slots (the wall) follow it.
    void slotChanged(int index);
    // A cam's new pictures began or ceased to fail to save, or fail for another reason.
    void saveTroubleChanged();

private:
    // A click on the thumbnail, the box around it or the indicator.
    void EmitThumbnailClicked(int index);
    // Where the picture of a response goes when it is to be saved automatically (chkSave is
    // checked and its stamp is new); empty when it is not.
    QString AutoSaveFileName(int index, const PictureStamp& stamp, const QDateTime& now) const;
    // The automatic save's share of handling a response, once the worker has saved the picture.
    void AutoSavePicture(const PictureWork& work);
    // A save of the slot's picture worked: a run of failures ends.
    void NoteSaveWorked(int index);
    // A saved picture without its index row: the status bar and the log say so.
    void ReportIndexProblem(const QDateTime& when, const QString& fileName, const QString& problem) const;
    // Everything a closed response does to its slot and the window, with the worker's pictures.
    void HandleResponse(const PictureWork& work);
    // Everything the end of an answer does: the answer (or a stream's first part) with the
    // Content-Length it announced; `kind` replaces the outcome of an answer that shows no picture.
    void HandleAnswer(int index, HttpResponseAssembler::Finished response, qint32 contentLength,
                      FetchOutcomeKind kind = FetchOutcomeKind::None);
    // An MJPEG stream's data arrived: once its first part is whole, it is the answer and the
    // connection is closed. True when the arrival was taken care of.
    bool TakeStreamPart(int index);
    // Handles the responses whose pictures the worker has made, each slot's in the order they closed.
    void HandleFinishedResponses();
    // Handles every response of the slot that closed before now (-1: of every slot), waiting for
    // the worker where it is still at them (other slots' finished ones are handled too). Any
    // handler that acts on a slot calls it first, so nothing overtakes a response's handling.
    void FinishHandling(int index);
    // The picture path of a response whose header names an image; true when a picture was shown.
    bool ShowFetchedPicture(const PictureWork& work);
    // A redirect answer, with the option on: true when the fetch goes on at the next address;
    // otherwise `response` and `kind` say how the answer is handled (the not-found picture
    // when the redirect is refused).
    bool FollowRedirect(int index, HttpResponseAssembler::Finished& response, FetchOutcomeKind& kind);
    // A 304 to a request that asked whether the picture changed: the picture stays, not new.
    void KeepUnchangedPicture(int index, const QByteArray& header);
    // The not-found picture into the thumbnail, indicator hidden.
    void ShowNotFound(int index);
    // Hides imgRefresh, and the full-window view's indicator when that view follows the slot.
    void HideRefreshIndicator(int index);
    void ShowDetailsIfSelected(int index);
    void SetStatusText(const QString& text) const;
    void SetProgressText(const QString& text) const;
    // The refresh interval has ended: true when the slot's download is let finish (and the
    // slot now waits for it), false when the next start is due.
    bool KeepsDownloading(int index);
    // The next fetch of the slot, from the event loop, unless the slot is started or stopped first.
    void StartSoon(int index);
    // How long the slot's running fetch has run, in seconds (health texts).
    double FetchSeconds(int index) const;
    // The thumbnail's size in device pixels, or the wall's tiles' when larger.
    QSize ThumbnailDeviceSize(int index) const;
    // A slot the Viewer no longer follows: a full decode its thumbnail holds becomes the scaled
    // picture a thumbnail-only slot holds (its full picture still decodes from its bytes).
    void KeepThumbnailOnly(int index);
    // The same once the event loop runs again, if the slot is still not selected by then and
    // still holds the same picture.
    void KeepThumbnailOnlySoon(int index);
    // The slot's thumbnail holds its picture at full size, decodable again from its kept bytes.
    bool HoldsFullDecode(int index) const;
    // The thumbnail shows a picture the cam sent (not the not-found picture, nor nothing).
    bool ShowsCamPicture(int index) const;
    // The slot's thumbnail shows `picture`, whose own size is `fullSize` and which decodes from
    // `bytes` (empty: it is its own full picture); the kept full picture goes if it was the slot's.
    void SetSlotPicture(int index, const QImage& picture, const QByteArray& bytes, const QSize& fullSize);

    // Whether the full-window view is open: the hook's answer, false without one.
    bool FullWindowViewOpen() const;
    // Someone sees the selected slot's full picture: the Viewer, or the full-window view.
    bool FullPictureSeen() const;
    // The response's handling begins: records how long it waited, when hold-ups are measured.
    void NoteHoldUp(const PictureWork& work);

    // Cam health (SlotHealth.cpp): the fetch reports what it sees; nothing here changes what it does.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void NoteOutcome(int index, const FetchOutcome& outcome, bool stamped = false, bool newStamp = false);
    void NoteSocketFailure(int index, const CamSocketFailure& failure);
    // The refresh interval has passed while the fetch still runs: it is abandoned, say why.
    void NoteCutShort(int index);
    void NoteRefreshText(int index, bool readable);
    // Puts the slot's standing note of this kind in place (or takes it away), reporting a change.
    void SetHealthNote(int index, HealthNote::Kind kind, const std::optional<HealthNote>& note);
    // A 401 from a cam whose address holds a user part: true when the fetch asks again, signed in.
    bool AskAgainSignedIn(int index, const QByteArray& header, bool& refused);
    // Logs a change of state or outcome, updates the mark and the Viewer's "Status:" line.
    void ReportHealth(int index);
    void ClearHealth(int index);
    qint64 StaleAfter(int index) const;

    std::array<ViewerSlot, kSlotCount> slots_;
    WatchHooks hooks_;
    int openCount_ = 0;
    int selectedSlot_ = 0;  // 0 at start: the hidden Viewer follows the first slot
    QImage notFound_;       // the built-in not-found picture, 83 x 62 pixels
    // The selected slot's full picture while it is selected (null until someone needed it).
    QImage selectedFull_;
    int selectedFullSlot_ = -1;
    QSize largestTileSize_;
    // Closed responses not yet handled, oldest first, and the threads that decode (and save)
    // their pictures, so that the user-interface thread never waits for the codec.
    std::deque<std::shared_ptr<PictureWork>> handling_;
    std::unique_ptr<PictureWorker> worker_;
    int staleMinutes_;  // SettingKeys::staleMinutes
    FetchOptions fetchOptions_;
    bool finishSlowDownloads_ = false;
    std::function<qint64()> monotonicMs_;
    bool measuringHoldUps_ = false;
    HoldUps holdUps_;
};
