#include "Form1.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <algorithm>

#include "AlertTray.h"
#include "CamCommands.h"
#include "CamListBox.h"
#include "CamSettings.h"
#include "CamUrl.h"
#include "DateTimeText.h"
#include "Form6.h"
#include "GmtClock.h"
#include "GridScrollInput.h"
#include "HistoryBar.h"
#include "HistoryKeeper.h"
#include "ImageControl.h"
#include "IndexMaintenance.h"
#include "Options.h"
#include "ProductInfo.h"
#include "ProgramFolder.h"
#include "RecorderLock.h"
#include "SecondaryWindows.h"
#include "SlotGrid.h"
#include "StatusPanel.h"
#include "TrustedCas.h"
#include "Twips.h"
#include "Utilities.h"
#include "ViewerPane.h"
#include "ViewerSlot.h"
#include "WallView.h"
#include "WatchChoices.h"
#include "WindowAlerts.h"
#include "frmOptions.h"
#include "frmTimelapse.h"

namespace {
template <typename W> W* Named(W* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// The Controls frame is narrow (169 pixels); a caption that would be cut off gets a smaller
// font instead, down to 7 points.
void FitCaption(QAbstractButton* button)
{
    QFont font = button->font();
    while (button->sizeHint().width() > button->width() && font.pointSizeF() > 7) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        button->setFont(font);
    }
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, const QString& tip, const TwipRect& at)
{
    auto* button = Named(new QPushButton(caption, parent), name);
    if (!tip.isEmpty())
        button->setToolTip(tip);
    Form1::PlaceTwips(button, at);
    FitButtonCaption(button);
    return button;
}
}  // namespace

Form1::Form1(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    services.endProgram = [] { QCoreApplication::exit(0); };
    services.openHelp = [](QWidget* owner) { return ShowHelp(owner); };
    SetOpenProblemReporter([window = QPointer<Form1>(this)](const QString& problem) {
        if (window)
            window->setStatusText(problem);
    });
    services.loadCamList = [](QListWidget* list) { LoadCamList(list); };

    services.screenSaverSwitch = [](bool active) { return SetScreenSaverActive(active); };

    buildMenus();
    // The frames are one page; the wall, when it shows, is the other.
    pages = Named(new QStackedWidget(this), "Form1Pages");
    setCentralWidget(pages);
    auto* central = Form1Client = Named(new QWidget(pages), "Form1Client");
    pages->addWidget(central);
    buildControlsFrame(central);
    buildCamsFrame(central);
    frmMain = new ViewerPane(central);
    frmMain->setObjectName(QStringLiteral("frmMain"));
    readViewerDesign();

    StatusBar1Panel1 = Named(new StatusPanel, "StatusBar1Panel1");
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(StatusBar1Panel1);
    // On the right, and never squeezed: the first panel, as wide as the window, gives way to it.
    lblSaveTrouble = Named(new QLabel, "lblSaveTrouble");
    lblSaveTrouble->setTextFormat(Qt::PlainText);
    lblSaveTrouble->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    lblSaveTrouble->setStyleSheet(
        QStringLiteral("QLabel { color: white; background: #b00020; font-weight: bold; padding: 0 6px; }"));
    statusBar()->addPermanentWidget(lblSaveTrouble);
    lblSaveTrouble->hide();

    picrefresh = QImage(QStringLiteral(":/pictures/refresh.png"));
    wirePieces();
    buildWall();
    buildKeys();
    buildCamListCommands();
    applyLayout();
}

Form1::~Form1()
{
    // The full-window view tells the screen-saver hold when it goes; it must go while the hold
    // is still here. Then nothing of this window holds the screen saver off any more.
    delete frmMain->fullWindow();
    wallShown_ = false;
    UpdateScreenSaver();
}

void Form1::buildMenus()
{
    mnuFile = Named(menuBar()->addMenu(tr("&File")), "mnuFile");
    mnuFileItem[0] = mnuFile->addAction(tr("Exit"), this, [this] { mnuFileItem_Click(0); });

    mnuCams = Named(menuBar()->addMenu(tr("&Cams")), "mnuCams");
    const QStringList camItems = {tr("Add a Cam"), tr("Delete Selected Cam"), tr("Edit Selected Cam"),
                                  tr("Start Selected Cam"), tr("Stop All Cams")};
    for (int i = 0; i < static_cast<int>(mnuCamItem.size()); ++i)
        mnuCamItem[static_cast<size_t>(i)] =
            mnuCams->addAction(camItems.at(i), this, [this, i] { mnuCamItem_Click(i); });

    // After the cam commands, so that none of them moves.
    mnuCams->addSeparator();
    mnuTimelapse = mnuCams->addAction(tr("Make Time-lapse…"), this, [this] { mnuTimelapse_Click(); });
    mnuTimelapse->setObjectName(QStringLiteral("mnuTimelapse"));

    mnuHelp = Named(menuBar()->addMenu(tr("&Help")), "mnuHelp");
    mnuHelpItem[0] = mnuHelp->addAction(tr("View Help"), this, [this] { mnuHelpItem_Click(0); });

    mnuAbout = Named(menuBar()->addMenu(tr("&About")), "mnuAbout");
    mnuAboutItem = mnuAbout->addAction(tr("About this software"), this, [this] { mnuAboutItem_Click(); });

    // Added after the menus the program always had, so that none of them moves.
    mnuSettings = Named(menuBar()->addMenu(tr("&Settings")), "mnuSettings");
    mnuSettingsItem[0] = mnuSettings->addAction(tr("Options…"), this, [this] { mnuSettingsItem_Click(0); });
    mnuSettingsItem[0]->setObjectName(QStringLiteral("mnuSettingsItem_0"));

    mnuView = Named(menuBar()->addMenu(tr("&View")), "mnuView");
    mnuViewWall = mnuView->addAction(tr("Wall"));
    mnuViewWall->setObjectName(QStringLiteral("mnuViewWall"));
    mnuViewWall->setCheckable(true);
    mnuViewWall->setShortcut(QKeySequence(Qt::Key_F11));
    // Also on the window itself, so the shortcut works while a full-screen wall hides the menus.
    addAction(mnuViewWall);
    connect(mnuViewWall, &QAction::toggled, this, &Form1::setWallShown);
    // F11 is the wall's, so full screen has a key of its own; on the window too, so that it
    // works while a full-screen wall hides the menus.
    mnuViewFullScreen = mnuView->addAction(tr("Full Screen"));
    mnuViewFullScreen->setObjectName(QStringLiteral("mnuViewFullScreen"));
    mnuViewFullScreen->setCheckable(true);
    mnuViewFullScreen->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    addAction(mnuViewFullScreen);
    connect(mnuViewFullScreen, &QAction::toggled, this, &Form1::setFullScreen);
    // A full-screen window has no title bar to leave it by: Esc does, as it leaves the wall.
    leaveFullScreen = new QAction(this);
    leaveFullScreen->setObjectName(QStringLiteral("leaveFullScreen"));
    leaveFullScreen->setShortcut(QKeySequence(Qt::Key_Escape));
    leaveFullScreen->setEnabled(false);
    addAction(leaveFullScreen);
    connect(leaveFullScreen, &QAction::triggered, this, [this] { setFullScreen(false); });

    mnuFileItem[0]->setObjectName(QStringLiteral("mnuFileItem_0"));
    for (size_t i = 0; i < mnuCamItem.size(); ++i)
        mnuCamItem[i]->setObjectName(QStringLiteral("mnuCamItem_%1").arg(i));
    mnuHelpItem[0]->setObjectName(QStringLiteral("mnuHelpItem_0"));
    mnuAboutItem->setObjectName(QStringLiteral("mnuAboutItem"));
}

void Form1::buildControlsFrame(QWidget* central)
{
    // Positions in twips inside the frame; the frame's caption takes the top 240.
    Frame1 = Named(new QGroupBox(tr("Controls"), central), "Frame1");
    Command2 = Button(Frame1, "Command2", QString(), QString(), {120, 300, 2295, 375});
    cmdAdd = Button(Frame1, "cmdAdd", tr("Add"), tr("Add a Cam"), {120, 780, 735, 375});
    cmdEdit = Button(Frame1, "cmdEdit", tr("Edit"), tr("Edit Selected Cam"), {900, 780, 735, 375});
    cmdRemove = Button(Frame1, "cmdRemove", tr("Del"), tr("Remove Selected Cam"), {1680, 780, 735, 375});
    cmdStartCam = Button(Frame1, "cmdStartCam", tr("Start Cam"), tr("Start Selected Cam"), {120, 1215, 1125, 375});
    cmdStopAll = Button(Frame1, "cmdStopAll", tr("Stop All"), tr("Stop All Cams"), {1290, 1215, 1125, 375});

    chkSave = Named(new QCheckBox(tr("AutoSave New Pictures"), Frame1), "chkSave");
    // Pictures go to the folder "cam" in the program folder, which on this platform is the
    // program's own folder unless --home or TOLVANE_HOME names another.
    chkSave->setToolTip(tr("saved to /cam/ subdirectory of the program folder"));
    Form1::PlaceTwips(chkSave, {120, 1680, 2295, 315});
    FitCaption(chkSave);

    lblListing = Named(new QLabel(tr("Webcam Listing"), Frame1), "lblListing");
    Form1::PlaceTwips(lblListing, {120, 2160, 2295, 285});
    List1 = Named(new QListWidget(Frame1), "List1");
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
}

void Form1::buildCamsFrame(QWidget* central)
{
    frmCams = Named(new QGroupBox(tr("Webcams"), central), "frmCams");
    picWindowOuter = Named(new QWidget(frmCams), "picWindowOuter");  // children are clipped to it
    picWindowInner = Named(new QWidget(picWindowOuter), "picWindowInner");
    picWindowInner->setGeometry(TwipsToPixels(GridDesign::kInnerLeft), 0, TwipsToPixels(GridDesign::kInnerWidth),
                                TwipsToPixels(GridDesign::kInnerHeight));
    VScroll1 = Named(new QScrollBar(Qt::Vertical, frmCams), "VScroll1");
    VScroll1->setRange(GridDesign::kScrollMin, GridDesign::kScrollMax);
    VScroll1->setSingleStep(GridDesign::kScrollSmallChange);
    VScroll1->setPageStep(GridDesign::kScrollLargeChange);
    // The grid moves when a drag ends, not while the thumb is dragged.
    VScroll1->setTracking(false);
    connect(VScroll1, &QScrollBar::valueChanged, this, [this] { VScroll1_Change(); });
    new GridScrollInput(picWindowOuter, VScroll1, this);
}

void Form1::readViewerDesign()
{
    // The Viewer frame places its own controls; the layout takes their design values from it.
    const auto twips = [this](const QWidget* control) { return frmMain->twipsGeometry(control); };
    layout_.Picture1 = twips(frmMain->Picture1);
    layout_.frmDetails = twips(frmMain->frmDetails);
    layout_.VScroll2 = twips(frmMain->VScroll2);
    layout_.HScroll1 = twips(frmMain->HScroll1);
    layout_.Command1 = twips(frmMain->Command1);
}

void Form1::wirePieces()
{
    WatchHooks hooks;
    hooks.mainWindow = this;
    hooks.isCamSelected = [this] { return IsCamSelected(List1); };
    hooks.currentCamName = [this] {
        const QListWidgetItem* entry = List1->currentItem();
        return entry ? entry->text() : QString();
    };
    hooks.autoSave = [this] { return chkSave->isChecked(); };
    hooks.fullWindowViewOpen = [this] { return frmMain->screensaverMode(); };
    hooks.viewerShown = [this] { return frmMain->isVisible(); };
    hooks.setStatusText = [this](const QString& text) { setStatusText(text); };
    hooks.setProgressText = [this](const QString& text) { setProgressText(text); };
    hooks.showNotice = [this] { ShowNotice(this); };
    // While the history bar shows a saved picture, a refresh of the same picture leaves it there;
    // a new one brings the Viewer back to live (newPictureShown below).
    hooks.showInViewer = [this](const QImage& picture) {
        if (frmHistory->isLive())
            frmMain->setPicture(picture);
    };
    hooks.showInFullWindow = [this](const QImage& picture) { frmMain->UpdateFullWindow(picture); };
    hooks.showLiveInFullWindow = [this](const QImage& picture) { frmMain->ShowLiveFrameInFullWindow(picture); };
    hooks.showFullWindowRefreshIndicator = [this] { frmMain->ShowFullWindowRefreshIndicator(); };
    hooks.hideFullWindowRefreshIndicator = [this] { frmMain->HideFullWindowRefreshIndicator(); };
    hooks.setViewerDetails = [this](const ViewerDetails& details) { frmMain->setDetails(details); };
    hooks.setNextRefresh = [this](const QString& text) { frmMain->setNextRefresh(text); };
    hooks.hideViewer = [this] {
        frmMain->HideViewer();
        sessionChanged();
    };
    // The clock is asked only where it can be seen: not for slot 0 followed by the hidden
    // Viewer before the first click, nor under the wall.
    hooks.queryTimeServer = [this] {
        if (frmMain->isVisibleTo(this))
            clock->QueryTimeServer();
    };
    hooks.setViewerStatus = [this](const QString& text) { frmMain->setStatusLine(text); };
    slotGrid = new SlotGrid(picWindowInner, hooks, this);
    connect(slotGrid, &SlotGrid::thumbnailClicked, this, &Form1::ShowSlotInViewer);
    connect(&slotGrid->cams(), &WatchedCams::saveTroubleChanged, this, &Form1::updateSaveTrouble);
    // A cam opened or stopped (among everything else a cam's views show).
    connect(&slotGrid->cams(), &WatchedCams::changed, this, &Form1::sessionChanged);
    connect(frmMain->Slider1, &QScrollBar::valueChanged, this, &Form1::sessionChanged);
    connect(frmMain, &ViewerPane::fitChanged, this, &Form1::sessionChanged);

    clock = new GmtClock(frmMain->lblTime, this);

    alerts = new WindowAlerts(slotGrid->cams(), QString(), {}, this);
    connect(alerts, &WindowAlerts::showCam, this, &Form1::ShowAlertedCam);
    tray = new AlertTray(slotGrid->cams(), this, this);
    connect(tray, &AlertTray::showCam, this, &Form1::ShowAlertedCam);
    connect(tray, &AlertTray::showOrHide, this, &Form1::ShowOrHideFromTray);
    connect(tray, &AlertTray::exitChosen, this, &Form1::Form_Unload);

    historyKeeper = new HistoryKeeper(this);
    // A recorder on the folder deletes old pictures itself; the two must not race.
    historyKeeper->setRetentionLeftElsewhere([] { return RecorderHolding(ProgramFolder()) != 0; });
    connect(historyKeeper, &HistoryKeeper::problem, this, &Form1::setStatusText);
    wireHistoryBar();

    CamCommandHooks camHooks;
    camHooks.openSelectedCam = [this] { slotGrid->OpenSelectedCam(); };
    camHooks.updateOpenSlots = [this](const QString& oldName, const CamRecord& edited) {
        slotGrid->UpdateOpenSlots(oldName, edited);
        // The edit has filled the list anew, which loses its selection: the cam the Viewer shows
        // is selected again, by its new name when it was renamed.
        const int shown = slotGrid->cams().selectedSlot();
        if (frmMain->isVisibleTo(this) && shown >= 0 && shown < SlotGrid::kSlotCount)
            SelectListEntry(slotGrid->slotTexts(shown).name);
    };
    camHooks.camRenamed = [this](const QString& oldName, const QString& newName) {
        if (const QString problem = RenameCamInIndex(oldName, newName, CurrentDateTime()); !problem.isEmpty())
            setStatusText(problem);
        else if (frmHistory->cam() == oldName)
            frmHistory->showCam(newName);
    };
    camHooks.statusText = [this](const QString& text) { setStatusText(text); };
    camHooks.shownAddress = [](const QString& address) { return MaskAddressPassword(address); };
    camCommands = new CamCommands(List1, this, camHooks, this);

    connect(cmdAdd, &QPushButton::clicked, camCommands, &CamCommands::cmdAdd_Click);
    connect(cmdEdit, &QPushButton::clicked, camCommands, &CamCommands::cmdEdit_Click);
    connect(cmdRemove, &QPushButton::clicked, camCommands, &CamCommands::cmdRemove_Click);
    connect(cmdStartCam, &QPushButton::clicked, slotGrid, &SlotGrid::cmdStartCam_Click);
    connect(cmdStopAll, &QPushButton::clicked, slotGrid, &SlotGrid::cmdStopAll_Click);
    connect(chkSave, &QCheckBox::stateChanged, this, [this] { chkSave_Click(); });
    connect(this, &Form1::optionsChanged, this, &Form1::ApplyOptions);
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(frmMain, &ViewerPane::saveRequested, slotGrid, &SlotGrid::cmdSave_Click);
    // Mask mode edits the mask of the cam the Viewer shows, kept with that cam's own choices;
    // its answers use it from the next one on.
    connect(frmMain, &ViewerPane::maskModeChanged, this, [this] { ShowViewerCamMask(); });
    connect(frmMain, &ViewerPane::maskEdited, this, [this](const QList<QRectF>& mask) {
        const QString cam = ViewerCamName();
        QString reason;
        if (!cam.isEmpty() && !SetCamSetting(cam, QString::fromLatin1(CamSettingNames::mask), MaskText(mask), &reason))
            setStatusText(tr("The mask of %1 could not be kept: %2").arg(cam, reason));
    });
}

QString Form1::ViewerCamName() const
{
    const int shown = slotGrid->cams().selectedSlot();
    if (shown < 0 || shown >= SlotGrid::kSlotCount || !slotGrid->cam(shown).isOpen())
        return {};
    return slotGrid->cam(shown).name();
}

void Form1::ShowViewerCamMask()
{
    const QString cam = ViewerCamName();
    frmMain->setMask(cam.isEmpty() ? QList<QRectF>()
                                   : MaskFromText(CamSetting(cam, QString::fromLatin1(CamSettingNames::mask))));
}

void Form1::wireHistoryBar()
{
    // In the details frame, where it has the most room; the Viewer's own controls keep their
    // places (placeHistoryBar).
    frmHistory = new HistoryBar(frmMain->frmDetails);
    placeHistoryBar();
    connect(frmHistory, &HistoryBar::pictureChosen, frmMain, &ViewerPane::showSavedPicture);
    connect(frmHistory, &HistoryBar::liveChosen, this, &Form1::ShowLivePictureInViewer);
    connect(frmHistory, &HistoryBar::problem, this, &Form1::setStatusText);
    connect(&slotGrid->cams(), &WatchedCams::pictureSaved, frmHistory,
            [this](int, const QString& cam, const QString&) { frmHistory->pictureSaved(cam); });
    connect(&slotGrid->cams(), &WatchedCams::newPictureShown, this, [this](int index) {
        if (index == slotGrid->cams().selectedSlot())
            frmHistory->livePictureArrived();
    });
}

void Form1::placeHistoryBar()
{
    if (!frmHistory)
        return;
    // The right edge of whatever sits level with the bar's place beside the rows.
    const TwipRect details = frmMain->twipsGeometry(frmMain->frmDetails);
    const float top = HistoryBarDesign::kRightTop, bottom = top + HistoryBarDesign::kPlace.Height;
    float rowsRight = 0;
    for (const QWidget* control : frmMain->frmDetails->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (control == frmHistory)
            continue;
        const TwipRect r = frmMain->twipsGeometry(control);
        if (r.Top < bottom && r.Top + r.Height > top)
            rowsRight = std::max(rowsRight, r.Left + r.Width);
    }
    PlaceTwips(frmHistory, HistoryBarPlace(details.Width, rowsRight));
}

void Form1::setWebAddressCaption(const QString& address)
{
    Command2->setText(address);
    FitCaption(Command2);
}

void Form1::mnuFileItem_Click(int index)
{
    if (index != 0)
        return;
    EndSession();
    services.endProgram();  // "Exit": at once, without unloading the other windows
}

void Form1::mnuCamItem_Click(int index)
{
    switch (index) {
    case 0:
        camCommands->cmdAdd_Click();
        break;
    case 1:
        camCommands->cmdRemove_Click();
        break;
    case 2:
        camCommands->cmdEdit_Click();
        break;
    case 3:
        slotGrid->cmdStartCam_Click();
        break;
    case 4:
        slotGrid->cmdStopAll_Click();
        break;
    default:
        break;
    }
}

void Form1::mnuHelpItem_Click(int index)
{
    if (index == 0)
        services.openHelp(this);
}

void Form1::mnuAboutItem_Click()
{
    ShowAbout(this);
}

void Form1::mnuSettingsItem_Click(int index)
{
    if (index != 0)
        return;
    frmOptions* dialog = ShowOptions(this);
    connect(dialog, &frmOptions::optionsChanged, this, &Form1::optionsChanged, Qt::UniqueConnection);
}

void Form1::ApplyOptions(const QStringList& keys)
{
    if (keys.contains(SettingKeys::staleMinutes.Name()))
        slotGrid->cams().setStaleMinutes(*OptionNumber(SettingKeys::staleMinutes));
    if (keys.contains(SettingKeys::frozenMinutes.Name()))
        slotGrid->cams().setFrozenMinutes(*OptionNumber(SettingKeys::frozenMinutes));
    if (keys.contains(SettingKeys::caFile.Name()))
        SetCaFile(OptionValue(SettingKeys::caFile));
    if (keys.contains(SettingKeys::finishSlowDownloads.Name()))
        slotGrid->cams().setFinishSlowDownloads(OptionIsOn(SettingKeys::finishSlowDownloads));
    if (keys.contains(SettingKeys::liveInViewer.Name()))
        slotGrid->cams().setLiveInViewer(OptionIsOn(SettingKeys::liveInViewer));
    if (keys.contains(SettingKeys::timeServer.Name()))
        clock->setTimeServer(OptionValue(SettingKeys::timeServer));
    if (keys.contains(SettingKeys::followRedirects.Name()) || keys.contains(SettingKeys::conditionalRequests.Name()) ||
        keys.contains(SettingKeys::newPictureRule.Name()) || keys.contains(SettingKeys::changedPixelLevel.Name()) ||
        keys.contains(SettingKeys::changedAreaPerMille.Name()))
        ApplyFetchOptions();
    if (keys.contains(SettingKeys::saveFolder.Name()) || keys.contains(SettingKeys::pictureNames.Name()))
        ApplyFetchOptions();
    if (keys.contains(SettingKeys::saveFolder.Name())) {
        // Another folder: made now, its index checked (built from its pictures when it has
        // none), and the history bar shows its pictures.
        createCamFolder();
        QStringList camNames;
        for (int row = 0; row < List1->count(); ++row)
            camNames << List1->item(row)->text();
        historyKeeper->start(camNames);
        frmHistory->showCam(frmHistory->cam());
    }
    if (keys.contains(SettingKeys::reopenCams.Name()))
        updateSessionKept();
    if (keys.contains(SettingKeys::wallNameBand.Name()))
        wall->setBandPlace(WallBandPlaceFromText(OptionValue(SettingKeys::wallNameBand)));
    if (keys.contains(SettingKeys::alertNotifications.Name()) || keys.contains(SettingKeys::alertAfterSeconds.Name()) ||
        keys.contains(SettingKeys::alertCommand.Name()))
        alerts->applyOptions();
    if (keys.contains(SettingKeys::alertNotifications.Name()) || keys.contains(SettingKeys::keepInTray.Name()))
        ApplyTrayOptions();
}

void Form1::ApplyTrayOptions()
{
    keepInTray_ = OptionIsOn(SettingKeys::keepInTray);
    tray->setShown(keepInTray_ || OptionIsOn(SettingKeys::alertNotifications));
}

void Form1::ShowOrHideFromTray()
{
    if (isVisible() && !isMinimized()) {
        hide();
        return;
    }
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void Form1::ApplyFetchOptions()
{
    slotGrid->cams().setFetchOptions(ChosenFetchOptions());
}

void Form1::mnuTimelapse_Click()
{
    QStringList camNames;
    for (int row = 0; row < List1->count(); ++row)
        camNames << List1->item(row)->text();
    frmTimelapse* dialog = ShowTimelapse(this, camNames, frmHistory->cam());
    connect(dialog, &frmTimelapse::exportFinished, this, &Form1::timelapseFinished, Qt::UniqueConnection);
}

void Form1::timelapseFinished(const TimelapseResult& result)
{
    setStatusText(result.message);
}

void Form1::Command2_Click()
{
    WebsiteMode() = QStringLiteral("Website");
    ShowWebsite(this);
}

void Form1::Command3_Click()
{
    frmMain->Command3_Click();
}

void Form1::setFullScreen(bool on)
{
    if (on != isFullScreen()) {
        if (on) {
            stateBeforeFullScreen_ = windowState() & ~(Qt::WindowFullScreen | Qt::WindowMinimized);
            showFullScreen();
        } else if (stateBeforeFullScreen_ & Qt::WindowMaximized) {
            showMaximized();
        } else {
            showNormal();
        }
    }
    updateFullScreenCommands();
}

void Form1::updateFullScreenCommands()
{
    if (!mnuViewFullScreen)
        return;
    const bool full = isFullScreen();
    {
        const QSignalBlocker quiet(mnuViewFullScreen);
        mnuViewFullScreen->setChecked(full);
    }
    // The wall takes Esc for itself (it leaves the wall), so the window's Esc waits until the
    // frames show again.
    leaveFullScreen->setEnabled(full && !wallShown_);
}

void Form1::ShowLivePictureInViewer()
{
    const int shown = slotGrid->cams().selectedSlot();
    if (shown >= 0 && shown < SlotGrid::kSlotCount)
        frmMain->setPicture(slotGrid->cam(shown).fullPicture());
}

void Form1::ShowSlotInViewer(int index)
{
    if (index < 0 || index >= SlotGrid::kSlotCount)
        return;
    slotGrid->cams().setSelectedSlot(index);
    WatchedCam& cam = slotGrid->cam(index);
    // The full picture: the Viewer's natural size is the picture's own, not the thumbnail decode's.
    frmMain->ShowSlot(cam.fullPicture(), slotGrid->slotTexts(index), cam.slotElapsed);
    slotGrid->cams().updateLive();  // the Viewer shows now (it may have been hidden until this click)
    frmMain->setNextRefresh(slotGrid->nextRefreshCaption(index));  // a slot past its interval waits
    frmMain->setStatusLine(SlotGrid::camStatus(cam));
    ShowViewerCamMask();
    frmHistory->showCam(slotGrid->slotTexts(index).name);
    clock->QueryTimeServer();
    SelectListEntry(slotGrid->slotTexts(index).name);
    sessionChanged();
}

void Form1::ShowAlertedCam(int index)
{
    if (index < 0 || index >= SlotGrid::kSlotCount || !slotGrid->cam(index).isOpen())
        return;
    if (wallShown_)
        setWallShown(false);
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    ShowSlotInViewer(index);
}

void Form1::SelectListEntry(const QString& name)
{
    // The list follows the Viewer, so that Edit and Del act on the cam the user is looking at;
    // a cam no longer listed leaves nothing selected rather than another cam.
    const auto found = List1->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found.isEmpty()) {
        List1->clearSelection();
        return;
    }
    List1->setCurrentItem(found.constFirst());
    found.constFirst()->setSelected(true);
    List1->scrollToItem(found.constFirst());
}

QStringList Form1::OpenCamsByName(const QStringList& names, QStringList* withoutPanel)
{
    QStringList missing;
    bool panelsFull = false;
    for (const QString& name : names) {
        const auto found = List1->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (found.isEmpty()) {
            missing << name;
            continue;
        }
        List1->clearSelection();
        List1->setCurrentItem(found.constFirst());
        found.constFirst()->setSelected(true);
        if (slotGrid->OpenSelectedCam() == SlotGrid::OpenOutcome::PanelsFull) {
            panelsFull = true;
            if (withoutPanel)
                *withoutPanel << name;
        }
    }
    if (!missing.isEmpty()) {
        // The names not found would hide the full panels' message: the status bar says both.
        setStatusText(tr("Not in the cam list: %1").arg(missing.join(QStringLiteral(", "))) +
                      (panelsFull ? QStringLiteral("; ") + SlotGrid::panelsFullText() : QString()));
    }
    return missing;
}

void Form1::setStatusText(const QString& text)
{
    StatusBar1Panel1->showMessage(text);
}

void Form1::setProgressText(const QString& text)
{
    StatusBar1Panel1->showProgress(text);
}

void Form1::updateSaveTrouble()
{
    const QString text = SaveTroubleFieldText(slotGrid->cams().camsFailingToSave());
    lblSaveTrouble->setText(text);
    lblSaveTrouble->setToolTip(slotGrid->cams().saveTroubleText());
    lblSaveTrouble->setVisible(!text.isEmpty());
}

QString Form1::statusText() const
{
    return StatusBar1Panel1->text();
}

void Form1::closeEvent(QCloseEvent* event)
{
    if (!unloading_ && keepInTray_ && tray->inTray()) {
        // Watching goes on; the tray brings the window back or ends the program.
        event->ignore();
        hide();
        return;
    }
    event->accept();
    Form_Unload();
}

void Form1::Form_Unload()
{
    if (unloading_)
        return;
    unloading_ = true;
    EndSession();  // before the wall and the windows close
    camCommands->unloadAll();
    if (Form6* fullWindow = frmMain->fullWindow())
        fullWindow->close();
    setWallShown(false);
    UnloadSecondaryWindows();
    UnloadOptions();
    services.endProgram();
}
