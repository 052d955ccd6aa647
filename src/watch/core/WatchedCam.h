#pragma once
// One watched cam, with no window: its refresh cycle, the fetch through its source, the
// new-picture state, its health and the picture it shows, kept as compressed bytes beside the
// decode its views need. It tells its views (a panel, a wall tile, the Viewer, a recorder with no
// window at all) what happened by signals; they never read one another's controls.
//
// The cycle: a start (cmdStart_Click) fetches at once and starts the 1000 ms tick timRefresh;
// each tick counts slotElapsed, and when it reaches slotRefreshSeconds the next start abandons a
// fetch still running. An answer goes to the codec threads (CamPictureQueue) and is handled back
// here, in the order the cam's answers closed.
#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QList>
#include <QObject>
#include <QRectF>
#include <QSet>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "CamHealth.h"
#include "CamSource.h"
#include "CamUrl.h"

class CamPictureQueue;
class QTimer;
struct PictureStamp;
struct PictureWork;

// What the views of the cams ask of the pictures, answered by whoever shows them; shared by the
// cams of one window (or of a recorder, which answers with the defaults).
struct CamViewNeeds {
    // The size a picture of the cam is drawn at outside the Viewer (thumbnail, wall tile), in
    // device pixels: a JPEG is decoded at the smallest DCT scale that still gives that much.
    // Invalid: at full size.
    std::function<QSize(int index)> decodeSize;
    // Someone can see the full picture of the cam the Viewer follows (not while the Viewer is hidden
    // before the first click, nor under the wall, unless the full-window view shows); unset: yes.
    std::function<bool()> fullPictureSeen;
    // New pictures are saved ("AutoSave New Pictures"); unset: no.
    std::function<bool()> autoSave;
    // While autoSave is on, the new pictures of the cam of this name are saved ("Save this cam's
    // new pictures"); unset: every cam's.
    std::function<bool(const QString& camName)> autoSaveCam;
    // Holds the window's drawing while the views change together; unset: nothing to hold.
    std::function<std::shared_ptr<void>()> holdDrawing;
    // The choices made for the cam of this name (its own rule, its mask), read at each answer;
    // unset: none, the Options' rule and no mask.
    std::function<CamChoices(const QString& camName)> camChoices;
    // The views show an autosaved picture as it was stored, its file read back; false: nobody
    // shows it (a recorder), and the cam keeps a copy of the picture the size decodeSize asks.
    bool savedPictureShown = true;
    // Someone looks at the cam the Viewer follows (the Viewer or the full-window view shows), so
    // that a stream cam may show there live; unset: no one (a recorder).
    std::function<bool()> liveSeen;
};

class WatchedCam : public QObject, private CamSourceEvents {
    Q_OBJECT
public:
    // `index`: the cam's place among the cams of its window; `needs` and `options` outlive it.
    WatchedCam(int index, CamPictureQueue& pictures, const CamViewNeeds& needs, const FetchOptions& options,
               QObject* parent = nullptr);
    ~WatchedCam() override;

    int index() const { return index_; }
    // A cam is open from its open to its stop.
    bool isOpen() const { return open_; }
    // What the cam is; the panel's hidden text boxes show the same texts.
    const QString& name() const { return txtName; }
    const QString& address() const { return txtAddress; }
    const QString& refreshText() const { return txtRefresh; }      // refresh interval in seconds, as typed
    const QString& updatedText() const { return txtUpdated; }      // the server's Last-Modified value
    const QString& refreshedText() const { return txtRefreshed; }  // when a changed picture was last seen
    bool fetching() const { return fetching_; }                    // a fetch runs (the refresh indicator)
    float progress() const { return slotProgress; }                // percent of the body received
    // The source of the running (or last) fetch: HTTP, or a video stream for an rtsp:// address.
    CamSource& source() { return *source_; }
    // The cam's address is a video stream: its stills have no Last-Modified.
    bool watchesStream() const { return source_ == stream_.get() || source_ == hls_.get(); }

    // Opens the cam and starts it; an edit of an open cam gives it its new texts, unrestarted.
    void open(const QString& name, const QString& address, const QString& refresh);
    void edit(const QString& name, const QString& address, const QString& refresh);

    // The watch cycle.
    void cmdStart_Click();
    void cmdRefresh_Click() { cmdStart_Click(); }
    void timRefresh_Timer();
    void cmdStop_Click();
    // Handles the cam's answers that closed before now, waiting for the codec where it is still
    // at them. Whatever acts on the cam from outside calls it first, so nothing overtakes them.
    void settle();
    // lblNextRefresh while the download is let finish past the interval: the slot only waits.
    bool waitsForDownload() const { return slotFinishing; }

    // The picture: what the thumbnail shows (possibly a scaled decode), its own size, and the
    // full picture decoded from the kept bytes for whoever needs every pixel.
    const QImage& picture() const { return picture_; }
    QSize pictureSize() const;
    QImage fullPicture();
    // The picture for drawing at `deviceSize` pixels: the decode kept when it is large enough.
    QImage displayPicture(const QSize& deviceSize);
    // The picture shown becomes `picture` (own size `fullSize`, decodable from `bytes`; empty
    // bytes: it is its own full picture).
    void setPicture(const QImage& picture, const QByteArray& bytes, const QSize& fullSize);
    // The Viewer follows this cam (or no longer): its full picture is kept while it does.
    void setFollowed(bool followed);
    // A picture of the cam was saved by hand ("Save Image") as fileName: tells the views.
    void reportSaved(const QString& fileName) { Q_EMIT pictureSaved(txtName, fileName); }
    // A save of the cam's picture worked (or AutoSave was switched off): a run of failures ends.
    void noteSaveWorked();
    // The picture shown is one the cam sent (not the not-found picture, nor nothing).
    bool showsCamPicture() const { return !slotPictureBytes.isEmpty(); }
    bool followed() const { return followed_; }

    // Health: the state now, "<state>: <reason>", and the tool tip (rich text).
    CamState healthState() const;
    QString healthSummary() const;
    QString healthToolTip() const;
    const CamHealth& health() const { return health_; }
    void setStaleMinutes(int minutes);
    // A cam whose picture stayed the same this long while it kept sending new ones is frozen; 0: never.
    void setFrozenMinutes(int minutes);
    // What the user should know of the cam's Last-Modified lines under its rule, in words (empty:
    // nothing): a line of the tool tip and of the Viewer's Status.
    QString stampAdvice() const;
    // What makes the cam's pictures new: its own rule (CamViewNeeds::camChoices, as the last
    // answer found it), else the Options' rule.
    // A stream's stills have no stamps: their content alone can tell.
    NewPictureRule newPictureRule() const
    {
        return watchesStream() ? NewPictureRule::Content : ownRule_.value_or(options_.newPictureRule);
    }
    // Milliseconds of a clock that never goes back (tests inject one).
    void setMonotonicClock(std::function<qint64()> milliseconds);
    // On: a download still arriving when the refresh interval ends goes on (see KeepsDownloading).
    void setFinishSlowDownloads(bool on) { finishSlowDownloads_ = on; }
    // Options "Live video in the Viewer": while on, a stream cam (rtsp://, rtsps://, an HLS playlist) that the
    // Viewer follows and someone sees keeps its stream open (liveFrame); closed when any of
    // that ends. updateLive() looks again (the cam asks at every start, follow, stop and tick).
    void setLiveInViewer(bool on);
    void updateLive();
    // The cam's stream is open live.
    bool showsLive() const;
    static constexpr qint64 kStillArrivingMs = 5000;
    static constexpr qint64 kSilentMs = 10000;

    // The watch state (the per-slot values); only the cam changes it.
    QTimer* timRefresh = nullptr;   // the 1000 ms refresh tick
    qint32 slotRefreshSeconds = 0;  // refresh interval of the running watch, whole seconds
    qint32 slotElapsed = 0;         // seconds since the current fetch started
    // Letting a slow download finish: the refresh interval has ended while it goes on.
    bool slotFinishing = false;
    quint64 slotStarts = 0;    // counts starts and stops, so a start asked for an earlier fetch is dropped
    QString slotLastModified;  // the last "Last-Modified:" line seen; survives stops
    // The address the running fetch started from, and what a conditional request asks about the
    // picture shown (the address it came from beside it).
    QString slotFetchAddress;
    QString slotConditionsAddress;
    RequestConditions slotConditions;
    bool slotIsNew = false;  // the picture just handled is a changed one
    // Under a rule that looks at the picture: the grey copy of the last new picture (or of the
    // first one the cam showed since it opened), which the next pictures are compared with.
    GreyCopy slotNewGrey;
    // Under every rule: the grey copy of the last picture that changed outside the mask (or of
    // the first one since the cam opened), for the frozen state; and the mask (rectangles of the
    // picture in fractions of its size that the comparisons leave out: a clock, a logo) as the
    // last answer found it.
    GreyCopy slotChangeGrey;
    QList<QRectF> slotMask;
    float slotProgress = 0.0f;  // percent of the body received; never reset, a value past 100 refused
    // The compressed bytes of the picture shown (the fetched body, or the saved file after an
    // automatic save) and that picture's own size.
    QByteArray slotPictureBytes;
    QSize slotPictureSize;
    // The accepted body the picture shown was decoded from (the same bytes as slotPictureBytes
    // until an automatic save replaces those); empty while the cam shows no fetched picture. An
    // answer with these very bytes is not decoded again.
    QByteArray slotShownBody;

Q_SIGNALS:
    // Something its views show has changed: it opened or stopped, its texts, its picture, its
    // fetching or its health state changed.
    void changed();
    void fetchingChanged(bool on);
    // The picture shown changed (a fetched one, the not-found picture, none, a smaller decode).
    void pictureChanged();
    void progressChanged(float percent);
    // A tick of the refresh clock was counted (the countdown changed).
    void ticked();
    // A message for the window's status bar (a failure, a save), and a progress text
    // ("Downloading …"), which may not replace a message still shown.
    void statusText(const QString& text);
    void progressText(const QString& text);
    // The cam's new pictures began or ceased to fail to save, or fail for another reason.
    void saveTroubleChanged();
    // The health state or its reason changed (logged once); healthReported follows every note.
    void healthChanged(CamState state);
    void healthReported();
    // The Viewer's detail texts of the cam may have changed.
    void detailsChanged();
    // A fetched picture is shown (before it is saved).
    void pictureShown();
    // A fetched picture is handled (and saved, when that was due); none for a not-found answer.
    void pictureHandled();
    // A picture whose time stamp is new is shown.
    void newPictureShown();
    // An automatic save was due: `work` says whether it was saved (its index row beside it) or why not.
    void autoSaved(const PictureWork& work);
    // A picture of the cam was saved as fileName under the cam's name.
    void pictureSaved(const QString& camName, const QString& fileName);
    // A frame of the live stream, for the Viewer (the thumbnail keeps the refresh's still).
    void liveFrame(const QImage& frame);
    // The live stream closed: the Viewer shows the still again.
    void liveClosed();

private:
    friend class CamPictureQueue;
    void SourcePhase(FetchPhase phase) override;
    void SourceNote(HealthNote::Kind kind, const std::optional<HealthNote>& note) override;
    RequestConditions SourceConditions() override;
    void SourceProgress(float percent, const QString& fileName) override;
    void SourceStep(const QString& words, float percent) override;
    void SourceSettle() override { settle(); }
    void SourceFailed(const FetchOutcome& outcome, bool notFound) override;
    void SourceUnchanged(int status) override;
    void SourceAnswered(CamAnswer answer) override;

    // Everything a handled answer does to the cam, with the codec's pictures.
    void HandleResponse(const PictureWork& work);
    bool ShowFetchedPicture(const PictureWork& work);
    void AutoSavePicture(const PictureWork& work);
    void ShowNotFound();
    void SetFetching(bool on);
    void ClearProgress();
    // The refresh interval has ended: true when the download is let finish (and the cam now
    // waits for it), false when the next start is due.
    bool KeepsDownloading();
    // The next fetch, from the event loop, unless the cam is started or stopped first.
    void StartSoon();
    double FetchSeconds() const;
    std::shared_ptr<void> HoldDrawing() const;
    // A cam the Viewer no longer follows: a full decode becomes the scaled picture a
    // thumbnail-only cam holds, once the event loop runs again.
    void KeepThumbnailOnlySoon();
    void KeepThumbnailOnly();
    bool HoldsFullDecode() const;

    // Health (WatchedCamHealth.cpp): the fetch reports what it sees; nothing here changes what it does.
    void NoteOutcome(const FetchOutcome& outcome, bool stamped = false, bool newStamp = false);
    void NoteCutShort();
    void SetHealthNote(HealthNote::Kind kind, const std::optional<HealthNote>& note);
    void ReportHealth();
    // A picture was shown: what it tells of the picture's content and of the cam's stamps.
    void NotePictureContent(const PictureWork& work);
    void ClearHealth();

    const int index_;
    CamPictureQueue& pictures_;
    const CamViewNeeds& needs_;
    const FetchOptions& options_;
    std::unique_ptr<CamSource> http_;
    std::unique_ptr<CamSource> stream_;
    std::unique_ptr<CamSource> hls_;
    // Addresses whose answer was a playlist by its content type: fetched as HLS from then on.
    QSet<QString> playlistAddresses_;
    CamSource* source_ = nullptr;  // http_, stream_ or hls_, chosen by the address at each start
    bool open_ = false;
    bool fetching_ = false;
    bool followed_ = false;
    QString txtName, txtAddress, txtRefresh, txtUpdated, txtRefreshed;
    QImage picture_;
    QImage full_;  // the full picture while the Viewer follows the cam (null until someone needed it)
    CamHealth health_;
    int staleMinutes_;
    int frozenMinutes_ = 10;
    std::optional<NewPictureRule> ownRule_;
    // The stamps' advice logged, after its cam's name and a line break, so each is logged once.
    QSet<QString> stampAdviceLogged_;
    bool finishSlowDownloads_ = false;
    bool liveInViewer_ = false;
    std::function<qint64()> monotonicMs_;
};
