#pragma once
// The 24 viewer panels of the main window: a view and a controller of the cams the window watches
// (WatchedCams). Each panel shows what its cam's model says (thumbnail, refresh indicator,
// progress bar, health mark, texts) and turns its buttons and clicks into the model's operations;
// opening a cam takes the lowest free panel. Form1 places the grid and fills in the hooks to the
// rest of the window.
#include <QImage>
#include <QObject>
#include <QString>
#include <array>
#include <functional>

#include "CamList.h"
#include "ViewerPane.h"
#include "ViewerSlot.h"
#include "WatchedCams.h"

class QWidget;

// What the panels need from the window around them; every hook is optional.
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
    std::function<void()> showNotice;                         // Form4 "Oops!"
    std::function<void(const QImage&)> showInViewer;          // load into imgMain
    std::function<void(const QImage&)> showInFullWindow;      // Form6: hide picrefresh, stretch, load Image1
    std::function<void(const QImage&)> showLiveInFullWindow;  // Form6: a live frame; picrefresh as it is
    std::function<void()> showFullWindowRefreshIndicator;     // Form6: show picrefresh
    std::function<void()> hideFullWindowRefreshIndicator;     // Form6: hide picrefresh
    std::function<void(const ViewerDetails&)>
        setViewerDetails;                                 // lblName, lblRefresh, lblLastChanged, lblLastRefreshed
    std::function<void(const QString&)> setNextRefresh;   // lblNextRefresh
    std::function<void()> hideViewer;                     // hide frmMain and frmDetails
    std::function<void()> queryTimeServer;                // the GMT clock
    std::function<void(const QString&)> setViewerStatus;  // the Viewer's "Status:" line

    // The Viewer can be seen (not hidden before the first click, nor under the wall); unset: it
    // always can. While it cannot, the selected cam's pictures are decoded for the thumbnail only.
    std::function<bool()> viewerShown;

    // Calls setStatusText when it is set.
    void statusText(const QString& text) const;
    // Calls setProgressText; without it the text goes where a message goes.
    void progressText(const QString& text) const;
};

class SlotGrid : public QObject {
    Q_OBJECT
public:
    static constexpr int kSlotCount = WatchedCams::kCount;

    // Creates the 24 hidden panels Frame(0..23) on the grid's scrolling surface at their
    // fixed positions (twips: left 60 + 1680 × (i mod 2), top 60 + 1980 × (i div 2)).
    SlotGrid(QWidget* picWindowInner, WatchHooks hooks, QObject* parent = nullptr);
    ~SlotGrid() override;

    ViewerSlot& slot(int index) { return slots_.at(static_cast<size_t>(index)); }
    WatchedCams& cams() { return cams_; }
    WatchedCam& cam(int index) { return cams_.cam(index); }

    bool IsCamSelected() const;
    void cmdStartCam_Click();
    enum class OpenOutcome { Opened, AlreadyOpen, PanelsFull, NotOpened };
    // Every outcome but AlreadyOpen is said on the status bar when the cam is not opened.
    OpenOutcome OpenSelectedCam();
    // Takes panel preferredSlot when it is free (a session brought back puts each cam where it
    // was), else the lowest free panel.
    OpenOutcome OpenCamInFreeSlot(const QString& name, int preferredSlot = -1);
    // The cam's tool tip and its Viewer "Status:" line: its health, and, when a recorder on the
    // folder records it (and so saves its new pictures instead of AutoSave), that it does.
    static QString camToolTip(const WatchedCam& cam);
    static QString camStatus(const WatchedCam& cam);
    static QString recordedText() { return tr("recorded by the recorder"); }
    static QString panelsFullText() { return tr("All 24 panels are in use: stop a cam first"); }
    void cmdStop_Click(int index);
    void cmdStopAll_Click();
    void imgRefresh_Click(int index);
    // A click on the slot's thumbnail (or on the box around it, its indicator or another view of
    // the slot, such as its wall tile).
    void imgCam_Click(int index);
    // "Save Image": saves the picture of the selected slot.
    void cmdSave_Click();
    // Saves the slot's picture as "Save Image" does (a panel's or wall tile's menu); the Viewer
    // shows the saved picture only when it shows the slot.
    void SaveSlotPicture(int index);
    // After an edit: every slot whose panel caption is oldName takes the new texts, unrestarted.
    void UpdateOpenSlots(const QString& oldName, const CamRecord& edited);
    // Start-up gives every panel its refresh indicator picture.
    void setRefreshIndicatorPicture(const QImage& picture);
    // lblNextRefresh's caption for the slot: the seconds left, or that it waits for its download.
    QString nextRefreshCaption(int index) const;
    static QString waitingCaption() { return tr("waiting for the download"); }
    // The texts the Viewer's detail labels show for the slot: txtName, txtRefresh, txtUpdated
    // (last changed) and txtRefreshed (last refreshed).
    ViewerDetails slotTexts(int index) const;

Q_SIGNALS:
    // imgCam_Click, Picture3_Click and imgRefresh_Click: Form1 shows the slot in the Viewer.
    void thumbnailClicked(int index);
    // A right click (or the menu key) on an open slot's panel, at this place on the screen.
    void contextMenuRequested(int index, const QPoint& globalPos);

private:
    // The panel follows its cam's model: every signal of the cam to what the panel and the
    // window show of it.
    void FollowCam(int index);
    // The status bar's texts of an automatic save: saved, not indexed, or not saved and why.
    void ReportAutoSave(const PictureWork& work) const;
    // The tool tip is made when it is asked for, so the fetch never spends time on texts nobody reads.
    bool eventFilter(QObject* watched, QEvent* event) override;

    WatchedCams cams_;
    std::array<ViewerSlot, kSlotCount> slots_;
    WatchHooks hooks_;
};
