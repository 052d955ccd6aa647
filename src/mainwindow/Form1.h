#pragma once
// The main window: the "Controls" frame with the cam list and its commands, the "Webcams"
// frame with the scrolling grid of 24 viewer panels, the "Viewer" frame, the menus and the
// status bar. Each folder owns its piece; Form1 builds the frames, lays them out and wires
// the pieces together.
#include <QImage>
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

#include "MainLayout.h"
#include "Session.h"

class CamCommands;
class GmtClock;
class HistoryBar;
struct StartOptions;
struct TimelapseResult;
class HistoryKeeper;
class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QMimeData;
class QPushButton;
class QScrollBar;
class QStackedWidget;
class QTimer;
class SlotGrid;
class StatusPanel;
class ViewerPane;
class WallView;
class WindowAlerts;
class AlertTray;

class Form1 : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // The start-up work, in order: icon, maximized, status panel width, "autoSave", captions,
    // the cam folder, refresh indicators, the cam list, the Help window. Problems on the way
    // are reported (one message at the end, or the status bar for the cam folder) and the
    // start-up goes on with defaults.
    void Form_Load();
    // Runs the layout of the three frames (every resize).
    void Form_Resize();
    // Unloads every other window, then ends the program.
    void Form_Unload();

    void chkSave_Click();
    void mnuFileItem_Click(int index);
    void mnuCamItem_Click(int index);
    void mnuHelpItem_Click(int index);
    void mnuAboutItem_Click();
    // "Settings" > "Options…": loads the Options dialog, or brings it forward.
    void mnuSettingsItem_Click(int index);
    // Puts choices the Options dialog stored into effect at once (connected to optionsChanged).
    void ApplyOptions(const QStringList& keys);
    // The fetch's choices as the main store holds them, for every slot's next request.
    void ApplyFetchOptions();
    // Cams > "Make Time-lapse…": loads the export dialog, or brings it forward.
    void mnuTimelapse_Click();
    void Command2_Click();
    void Command3_Click();
    void VScroll1_Change();
    // A thumbnail click: show the slot large, then ask the clock.
    void ShowSlotInViewer(int index);
    // "Show" on an alert: the window comes forward (out of the wall) with the cam in the Viewer.
    void ShowAlertedCam(int index);
    // Selects the first list entry of that name (exact, case-sensitive); none: clears the selection.
    void SelectListEntry(const QString& name);
    // The Viewer shows the selected slot's current picture again (every pixel of it).
    void ShowLivePictureInViewer();
    // The cam the Viewer shows (empty: none open there), and its mask for Mask mode.
    QString ViewerCamName() const;
    void ShowViewerCamMask();
    // View > "Wall": every open cam as large as the window allows, instead of the frames; the
    // screen saver is held off while it shows. Escape, or unticking the menu item, returns to
    // the normal window. A full-screen window shows the wall without menu and status bars.
    void setWallShown(bool on);
    bool wallShown() const { return wallShown_; }
    // View > "Full Screen" (Ctrl+Shift+F; Esc leaves it): the window covers the screen, as
    // --fullscreen starts it, or goes back to the state it had before (maximized at start).
    // On the wall, Esc leaves the wall first and a second Esc leaves full screen.
    void setFullScreen(bool on);
    // A click on a wall tile: that cam in the full-window view, as "Screensaver" shows it; leaving
    // that view returns to the wall.
    void wallTile_Click(int index);
    // Opens cams by name as a double click on their list entries would; returns the names
    // that are not in the list. withoutPanel gets the names left unopened because all 24
    // panels were in use.
    QStringList OpenCamsByName(const QStringList& names, QStringList* withoutPanel = nullptr);

    // After Form_Load: shows the window and brings back the last session when the user keeps
    // it (Options, "Reopen the cams that were open": the window's place and state, the cams in
    // their panels, the zoom, the Viewer's cam, the wall), with the command line's choices in
    // place of those they name; then keeps the session whenever it changes and at the end.
    // missing gets the --open names not in the list, withoutPanel those left without a panel.
    void StartSession(const StartOptions& options, QStringList* missing = nullptr, QStringList* withoutPanel = nullptr);
    // The session as the window shows it now.
    RememberedSession currentSession() const;
    // Writes what changed of the session to the per-user store, when it is kept.
    void KeepSession();
    // The last keep, at the end (Exit, closing the window, a signal): nothing after it is kept,
    // so that what the end itself closes (the wall, the cams) is not remembered.
    void EndSession();
    bool sessionKept() const { return sessionKept_ && !sessionEnded_; }
    // A cam with that name is open in a panel: its index; -1 when none is.
    int OpenSlotOfCam(const QString& name);

    // The Viewer's commands by key and menu: Cams > "Save Image" (Ctrl+S) saves, "Fetch Now" (F5)
    // fetches the cam the Viewer shows; with none shown they say so on the status bar.
    void SaveShownPicture();
    void FetchShownCamNow();

    // The context menus (Form1Cams.cpp), shown by a right click: a list entry's (Open, Edit,
    // Delete, Copy Address, Open Address in Browser; the entry is selected first) and an open
    // slot's, on its panel or wall tile (Show in Viewer, Stop, Fetch Now, Save Image, Edit, Copy
    // Address, Open Address in Browser). Each item runs the command of the same name.
    QMenu* camListMenu(int row);
    QMenu* slotMenu(int index);
    // "Copy Address": the address to the clipboard, its password masked unless withPassword
    // (Shift held while choosing it).
    void CopyCamAddress(const QString& address, bool withPassword);
    // "Open Address in Browser": the address without its user part (the browser asks for it).
    void OpenCamAddressInBrowser(const QString& address);
    // Something dropped on the window: a cam address opens Add with it; a file on this
    // computer or other text adds nothing, and the status bar says why.
    void DropCamAddress(const QMimeData* data);

    // Command2's caption, in a font small enough to show the whole address.
    void setWebAddressCaption(const QString& address);
    // The first status bar panel: a message, kept in view for a while; a progress text, shown
    // unless a message is still kept (StatusPanel).
    void setStatusText(const QString& text);
    void setProgressText(const QString& text);
    QString statusText() const;

    // Puts a widget at a place given in twips (15 twips per pixel).
    static void PlaceTwips(QWidget* widget, const TwipRect& r);

    // Geometry in twips as the last layout left it.
    const MainLayoutTwips& layoutTwips() const { return layout_; }
    float picWindowInnerTop() const { return picWindowInnerTop_; }  // twips
    // What start-up could not do, in the words shown to the user.
    const QStringList& startupProblems() const { return startupProblems_; }

    // What differs between a test and real use.
    struct Services {
        std::function<void()> endProgram;               // default: leave the event loop
        std::function<bool(QWidget*)> openHelp;         // default: the Help window; false when no help file
        std::function<void(QListWidget*)> loadCamList;  // default: LoadCamList; throws CamListError
        std::function<bool(bool)> screenSaverSwitch;    // default: SetScreenSaverActive (true = may run)
    };
    Services services;

    // Controls, named as their objectName.
    QGroupBox* Frame1 = nullptr;
    QLabel* lblListing = nullptr;  // "Webcam Listing"
    QListWidget* List1 = nullptr;
    QPushButton *cmdAdd = nullptr, *cmdEdit = nullptr, *cmdRemove = nullptr;
    QPushButton *cmdStartCam = nullptr, *cmdStopAll = nullptr;
    QCheckBox* chkSave = nullptr;
    QPushButton* Command2 = nullptr;  // the web address
    QGroupBox* frmCams = nullptr;
    QWidget* picWindowOuter = nullptr;  // clips the panel grid
    QWidget* picWindowInner = nullptr;  // the tall surface the panels sit on
    QScrollBar* VScroll1 = nullptr;
    ViewerPane* frmMain = nullptr;
    StatusPanel* StatusBar1Panel1 = nullptr;
    // The status bar's right-hand field, shown while new pictures of open cams cannot be saved:
    // "AutoSave failing for 3 cams", each cam and its reason in the tool tip.
    QLabel* lblSaveTrouble = nullptr;
    QMenu *mnuFile = nullptr, *mnuCams = nullptr, *mnuHelp = nullptr, *mnuAbout = nullptr;
    QMenu* mnuSettings = nullptr;
    QMenu* mnuView = nullptr;              // "View", after the others
    QAction* mnuViewWall = nullptr;        // "Wall", checkable
    QAction* mnuViewFullScreen = nullptr;  // "Full Screen", checkable
    QAction* leaveFullScreen = nullptr;    // Esc, enabled while full screen shows the frames
    QStackedWidget* pages = nullptr;       // the frames (Form1Client) or the wall
    QWidget* Form1Client = nullptr;        // holds the three frames
    WallView* wall = nullptr;
    QAction* mnuTimelapse = nullptr;  // Cams > "Make Time-lapse…", after the cam commands
    QAction* mnuSaveImage = nullptr;  // Cams > "Save Image", Ctrl+S
    QAction* mnuFetchNow = nullptr;   // Cams > "Fetch Now", F5
    // Cams > "Move Up" (Alt+Up) and "Move Down" (Alt+Down) on the list, "Import…", "Export…".
    QAction *mnuMoveUp = nullptr, *mnuMoveDown = nullptr, *mnuImport = nullptr, *mnuExport = nullptr;
    QAction *mnuZoomIn = nullptr, *mnuZoomOut = nullptr;  // View, + and - (and the desktop's zoom keys)
    QAction* mnuZoomFit = nullptr;                        // View > Fit, 0
    // View: the history bar's steps, Left and Right, and Home for Live.
    QAction *mnuHistoryPrevious = nullptr, *mnuHistoryNext = nullptr, *mnuHistoryLive = nullptr;
    std::array<QAction*, 1> mnuSettingsItem{};
    std::array<QAction*, 1> mnuFileItem{};
    std::array<QAction*, 5> mnuCamItem{};
    std::array<QAction*, 1> mnuHelpItem{};
    QAction* mnuAboutItem = nullptr;
    QImage picrefresh;  // the refresh indicator every panel shows while it fetches

    SlotGrid* slotGrid = nullptr;
    CamCommands* camCommands = nullptr;
    GmtClock* clock = nullptr;
    HistoryKeeper* historyKeeper = nullptr;  // index check at start, retention hourly
    HistoryBar* frmHistory = nullptr;        // the shown cam's saved pictures, in the Viewer's details
    WindowAlerts* alerts = nullptr;          // notifications and the command hook when a cam goes down
    AlertTray* tray = nullptr;               // the tray icon: health, Show/Hide, Exit

signals:
    // The Options dialog stored these keys.
    void optionsChanged(const QStringList& keys);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenus();
    // The keys of the menu items and the menu items added for keys (Form1Keys.cpp).
    void buildKeys();
    // The cam list's added commands, the context menus and the drops (Form1Cams.cpp).
    void buildCamListCommands();
    // The address of the listed cam of that name; empty, and the status bar says why, when the
    // file has none.
    QString listedCamAddress(const QString& name);
    // The Viewer shows an open cam and the frames show (not the wall).
    bool viewerShowsCam();
    bool historyKeysApply();
    void stepZoom(int steps);
    void buildControlsFrame(QWidget* central);
    void buildCamsFrame(QWidget* central);
    void wirePieces();
    void wireHistoryBar();
    // Puts the history bar where the details frame has the most room for it (HistoryBarPlace).
    void placeHistoryBar();
    void timelapseFinished(const TimelapseResult& result);
    void readViewerDesign();
    void applyLayout();
    void createCamFolder();
    void buildWall();
    // Holds the screen saver off while the wall or the full-window view shows, and lets it run
    // again once neither does.
    bool UpdateScreenSaver();
    void updateBars();
    void updateFullScreenCommands();
    void updateSaveTrouble();
    // Something the session holds may have changed: it is kept within a second.
    void sessionChanged();
    // Whether the session is kept, from the start's choice and reopenCams.
    void updateSessionKept();
    // The tray icon shows while alerts or keepInTray are on.
    void ApplyTrayOptions();
    void ShowOrHideFromTray();

    MainLayoutTwips layout_ = DesignLayout();
    float picWindowInnerTop_ = 0;  // twips; 0 until the grid's scroll bar first changes
    QStringList startupProblems_;
    bool unloading_ = false;
    bool camListLoaded_ = false;       // Form_Load read the cam list
    bool sessionAllowed_ = false;      // StartSession ran for a session of the user's (not the demo)
    bool sessionKept_ = false;         // ... and reopenCams is on
    bool sessionEnded_ = false;        // EndSession ran
    RememberedSession sessionStored_;  // what the per-user store holds
    QTimer* sessionTimer_ = nullptr;
    bool keepInTray_ = false;
    bool wallShown_ = false;
    bool fullWindowHoldsScreenSaver_ = false;
    bool screenSaverHeld_ = false;                                  // what the switch was last told
    Qt::WindowStates stateBeforeFullScreen_ = Qt::WindowMaximized;  // Form_Load maximizes
};
