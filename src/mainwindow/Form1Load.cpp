// Form1's start-up and layout: the ordered work of Form_Load and the geometry it and every
// resize apply.
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>

#include "CamList.h"
#include "Files.h"
#include "Form1.h"
#include "HistoryKeeper.h"
#include "LockWind.h"
#include "Options.h"
#include "PictureIndex.h"
#include "ProductInfo.h"
#include "ProgramFolder.h"
#include "Prompt.h"
#include "RecorderLock.h"
#include "ReplaceFile.h"
#include "Settings.h"
#include "SlotGrid.h"
#include "StartupValues.h"
#include "StatusPanel.h"
#include "TrustedCas.h"
#include "Twips.h"
#include "Utilities.h"
#include "ViewerPane.h"
#include "ViewerSlot.h"
#include "WallView.h"
#include "WatchChoices.h"
#include "WindowAlerts.h"

void Form1::PlaceTwips(QWidget* widget, const TwipRect& r)
{
    widget->setGeometry(TwipsToPixels(r.Left), TwipsToPixels(r.Top), TwipsToPixels(r.Width), TwipsToPixels(r.Height));
}

void Form1::Form_Load()
{
    startupProblems_.clear();

    // 1. The program's icon, also on the owner at the end of the chain.
    SetWindowIcon(this, QStringLiteral("AAA"), true);

    // 2. Maximized. A window that is not on screen yet gets the size maximizing will give it,
    // so that the steps below see the real width and the layout runs with it now.
    if (QScreen* screen = this->screen())
        setGeometry(screen->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
    Form_Resize();

    // 3. The first status bar panel is as wide as the window, once; later resizes keep it.
    StatusBar1Panel1->setPanelWidth(frameGeometry().width());

    // 4. "autoSave" into the check box; changing the box writes the value back.
    const StartupChoice autoSave = ReadAutoSaveChoice();
    if (!autoSave.problem.isEmpty())
        startupProblems_ << autoSave.problem;
    chkSave->setChecked(autoSave.value);
    ApplyChosenWatchOptions(slotGrid->cams());
    wall->setBandPlace(WallBandPlaceFromText(OptionValue(SettingKeys::wallNameBand)));
    alerts->applyOptions();
    ApplyTrayOptions();

    // 5. and 6. Captions from the product metadata.
    setWebAddressCaption(WebAddress());
    setWindowTitle(tr("%1 by %2").arg(ProductName(), CompanyName()));

    // 7. The folder new pictures are saved in.
    createCamFolder();
    // What a rewrite of the cam list or a picture save cut short by a crash left behind: its
    // temporary file. Nothing here has written yet, so none of them is in use, unless a recorder
    // runs on the folder: then one may be its picture (or status) being written, and the
    // recorder removes what a crash left when it starts.
    if (RecorderHolding(ProgramFolder()) == 0) {
        RemoveStaleTempFiles(ProgramFolder());
        RemoveStaleTempFiles(CamFolderPath());
    }

    // 8. Every panel shows the refresh indicator while it fetches.
    slotGrid->setRefreshIndicatorPicture(picrefresh);

    // 9. The cam list.
    try {
        services.loadCamList(List1);
        camListLoaded_ = true;
    } catch (const CamListError& error) {
        startupProblems_ << tr("The cam list could not be loaded: %1").arg(error.message());
    }

    // The picture history: the index checked (rebuilt from the cam folder when missing or
    // damaged, taking each file's cam from the names just listed), then old pictures deleted
    // when the user chose to keep them for a number of days; off the window's thread.
    QStringList camNames;
    for (int row = 0; row < List1->count(); ++row)
        camNames << List1->item(row)->text();
    historyKeeper->start(camNames);

    // 10. The Help window, when the stored choice says so.
    const StartupChoice showHelp = ReadShowHelpChoice();
    if (!showHelp.problem.isEmpty())
        startupProblems_ << showHelp.problem;
    if (showHelp.value)
        services.openHelp(this);

    // What went wrong is told once, after the window is complete.
    if (!startupProblems_.isEmpty())
        CurrentPrompt().ask(ProductName(), startupProblems_.join(QStringLiteral("\n\n")), PromptButtons::Ok, this);
}

void Form1::createCamFolder()
{
    const QString folder = CamFolderPath();
    QString reason;
    // A folder the user chose may lie deeper than one missing folder (a new disk, a new share).
    if (!FolderExists(folder))
        QDir().mkpath(folder);
    if (MakeFolderIfMissing(folder, &reason) == FolderMade::Failed) {
        setStatusText(tr("The folder %1 could not be created (%2); new pictures cannot be saved.").arg(folder, reason));
    }
}

void Form1::chkSave_Click()
{
    WriteSetting(SettingKeys::autoSave, chkSave->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    if (!chkSave->isChecked())
        slotGrid->cams().autoSaveTurnedOff();
}

void Form1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
    sessionChanged();
}

void Form1::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    sessionChanged();
}

void Form1::Form_Resize()
{
    const QRect outer = frameGeometry();
    layout_.Form1Width = static_cast<float>(PixelsToTwips(outer.width()));
    layout_.Form1Height = static_cast<float>(PixelsToTwips(outer.height()));
    const int statusHeight = statusBar()->isVisible() ? statusBar()->height() : statusBar()->sizeHint().height();
    layout_.StatusBar1Height = static_cast<float>(PixelsToTwips(statusHeight));
    LayoutMainWindow(layout_);
    applyLayout();
}

void Form1::applyLayout()
{
    // Every frame and control moves before the window is drawn again.
    WindowDrawingLock lock(this);
    PlaceTwips(Frame1, layout_.Frame1);
    PlaceTwips(frmCams, layout_.frmCams);
    PlaceTwips(List1, layout_.List1);
    PlaceTwips(picWindowOuter, layout_.picWindowOuter);
    PlaceTwips(VScroll1, layout_.VScroll1);
    // The Viewer keeps its controls' geometry in twips itself; it gets the values as they are.
    const auto toViewer = [this](QWidget* control, const TwipRect& r) { frmMain->setTwipsGeometry(control, r); };
    toViewer(frmMain, layout_.frmMain);
    toViewer(frmMain->Picture1, layout_.Picture1);
    toViewer(frmMain->frmDetails, layout_.frmDetails);
    toViewer(frmMain->VScroll2, layout_.VScroll2);
    toViewer(frmMain->HScroll1, layout_.HScroll1);
    toViewer(frmMain->Command1, layout_.Command1);
    placeHistoryBar();
    // A shown picture's pan ranges follow the new viewport; otherwise a larger window would
    // keep the old ranges and let the picture be panned past its edges.
    if (frmMain->isVisibleTo(this))
        frmMain->ApplyZoom();
}

void Form1::VScroll1_Change()
{
    picWindowInnerTop_ = InnerTopForScrollValue(static_cast<std::int16_t>(VScroll1->value()));
    picWindowInner->move(picWindowInner->x(), TwipsToPixels(picWindowInnerTop_));
}
