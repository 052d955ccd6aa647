#include "SlotGrid.h"

#include <QContextMenuEvent>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtMath>

#include "CamCommands.h"
#include "CamSettings.h"
#include "DateTimeText.h"
#include "ImageControl.h"
#include "IndexMaintenance.h"
#include "LockWind.h"
#include "ProgramFolder.h"
#include "RecorderStatus.h"
#include "SettingKeys.h"
#include "SlotHealthMark.h"
#include "SlotNumbers.h"
#include "SlotProgressBar.h"
#include "WatchChoices.h"

namespace {
const QString kStoppedCaption = QStringLiteral("[webcam]");
}  // namespace

void WatchHooks::statusText(const QString& text) const
{
    if (setStatusText)
        setStatusText(text);
}

void WatchHooks::progressText(const QString& text) const
{
    if (setProgressText)
        setProgressText(text);
    else
        statusText(text);
}

SlotGrid::SlotGrid(QWidget* picWindowInner, WatchHooks hooks, QObject* parent)
    : QObject(parent), cams_(RecordAutoSavedPicture), hooks_(std::move(hooks))
{
    CamViewNeeds& needs = cams_.needs();
    needs.decodeSize = [this](int index) {
        // The thumbnail's size in device pixels, or the wall's tiles' when larger.
        const ImageControl* thumbnail = slot(index).imgCam;
        const qreal ratio = thumbnail->devicePixelRatioF();
        const QSize own(qCeil(thumbnail->width() * ratio), qCeil(thumbnail->height() * ratio));
        const QSize tile = cams_.largestTileSize();
        return tile.isValid() ? own.expandedTo(tile) : own;
    };
    needs.fullPictureSeen = [this] {
        const bool fullWindow = hooks_.fullWindowViewOpen && hooks_.fullWindowViewOpen();
        return !hooks_.viewerShown || hooks_.viewerShown() || fullWindow;
    };
    needs.liveSeen = needs.fullPictureSeen;
    needs.autoSave = [this] { return hooks_.autoSave && hooks_.autoSave(); };
    // A cam a recorder on the folder records is saved by the recorder: once, not twice.
    needs.autoSaveCam = [](const QString& name) {
        return CamAutoSaves(name) && !RecordedByRecorder(ProgramFolder(), name);
    };
    needs.holdDrawing = [this] { return std::make_shared<WindowDrawingLock>(hooks_.mainWindow); };
    needs.camChoices = ChosenCamChoices;
    cams_.setStaleMinutes(SettingKeys::staleMinutes.Default().toInt());
    cams_.setFrozenMinutes(SettingKeys::frozenMinutes.Default().toInt());
    for (int i = 0; i < kSlotCount; ++i) {
        ViewerSlot& s = slot(i);
        s.create(i, picWindowInner);
        s.imgCam->installEventFilter(this);
        s.Picture3->installEventFilter(this);
        s.imgRefresh->installEventFilter(this);
        s.Frame->installEventFilter(this);  // a right click anywhere on the panel reaches it
        WatchedCam* cam = &cams_.cam(i);
        connect(s.cmdStart, &QPushButton::clicked, cam, &WatchedCam::cmdStart_Click);
        connect(s.cmdRefresh, &QPushButton::clicked, cam, &WatchedCam::cmdRefresh_Click);
        connect(s.cmdStop, &QPushButton::clicked, this, [this, i] { cmdStop_Click(i); });
        connect(s.imgCam, &ImageControl::clicked, this, [this, i] { imgCam_Click(i); });
        connect(s.Picture3, &ImageControl::clicked, this, [this, i] { imgCam_Click(i); });
        connect(s.imgRefresh, &ImageControl::clicked, this, [this, i] { imgRefresh_Click(i); });
        FollowCam(i);
    }
}

SlotGrid::~SlotGrid() = default;

namespace {
// "recorded by the recorder", with the recorder's schedule for the cam when it has one; empty
// when no recorder records the cam.
QString RecordedWords(const WatchedCam& cam)
{
    if (!cam.isOpen())
        return {};
    const std::optional<RecordedCamStatus> recorded = RecordedCamNow(ProgramFolder(), cam.name());
    if (!recorded)
        return {};
    return recorded->schedule.isEmpty() ? SlotGrid::recordedText()
                                        : SlotGrid::recordedText() + QStringLiteral(", ") + recorded->schedule;
}
}  // namespace

QString SlotGrid::camToolTip(const WatchedCam& cam)
{
    QString tip = cam.healthToolTip();
    if (const QString recorded = RecordedWords(cam); !recorded.isEmpty())
        tip.insert(tip.lastIndexOf(QStringLiteral("</p>")), QStringLiteral("<br>") + recorded.toHtmlEscaped());
    return tip;
}

QString SlotGrid::camStatus(const WatchedCam& cam)
{
    const QString summary = cam.healthSummary();
    const QString recorded = RecordedWords(cam);
    return recorded.isEmpty() ? summary : QStringLiteral("%1 (%2)").arg(summary, recorded);
}

void SlotGrid::FollowCam(int i)
{
    ViewerSlot& s = slot(i);
    WatchedCam& cam = cams_.cam(i);
    const auto selected = [this, i] { return cams_.selectedSlot() == i; };
    const auto fullWindow = [this] { return hooks_.fullWindowViewOpen && hooks_.fullWindowViewOpen(); };
    connect(&cam, &WatchedCam::changed, this, [&s, &cam] {
        s.txtName->setText(cam.name());
        s.txtAddress->setText(cam.address());
        s.txtRefresh->setText(cam.refreshText());
        s.txtUpdated->setText(cam.updatedText());
        s.txtRefreshed->setText(cam.refreshedText());
        if (cam.isOpen()) {
            s.setCaption(cam.name());
        } else if (s.isOpen()) {
            s.setCaption(kStoppedCaption);
            s.Frame->hide();
        }
    });
    connect(&cam, &WatchedCam::fetchingChanged, this, [this, &s, selected, fullWindow](bool on) {
        s.imgRefresh->setVisible(on);
        // The full-window view shows the followed cam's indicator too; it goes with the panel's.
        if (selected() && fullWindow()) {
            if (on && hooks_.showFullWindowRefreshIndicator)
                hooks_.showFullWindowRefreshIndicator();
            else if (!on && hooks_.hideFullWindowRefreshIndicator)
                hooks_.hideFullWindowRefreshIndicator();
        }
        if (on)
            s.imgRefresh->raise();
    });
    connect(&cam, &WatchedCam::pictureChanged, this, [&s, &cam] { s.imgCam->setPicture(cam.picture()); });
    connect(&cam, &WatchedCam::progressChanged, this, [&s](float percent) { s.prgCam->setProgress(percent); });
    connect(&cam, &WatchedCam::statusText, this, [this](const QString& text) { hooks_.statusText(text); });
    connect(&cam, &WatchedCam::progressText, this, [this](const QString& text) { hooks_.progressText(text); });
    connect(&cam, &WatchedCam::healthChanged, this, [&s](CamState state) { s.healthMark->setState(state); });
    connect(&cam, &WatchedCam::healthReported, this, [this, &cam, selected] {
        if (selected() && hooks_.setViewerStatus)
            hooks_.setViewerStatus(camStatus(cam));
    });
    connect(&cam, &WatchedCam::detailsChanged, this, [this, i, selected] {
        if (selected() && hooks_.setViewerDetails)
            hooks_.setViewerDetails(slotTexts(i));
    });
    connect(&cam, &WatchedCam::ticked, this, [this, i, selected] {
        if (!selected())
            return;
        {
            WindowDrawingLock lock(hooks_.mainWindow);
            if (hooks_.setNextRefresh)
                hooks_.setNextRefresh(nextRefreshCaption(i));
        }
        if (hooks_.queryTimeServer)
            hooks_.queryTimeServer();
    });
    connect(&cam, &WatchedCam::pictureShown, this, [this, &cam, selected, fullWindow] {
        // A Viewer no one can see is given the picture when it is shown (ShowSlot, leaving the wall).
        if (!selected() || !cams_.needs().fullPictureSeen())
            return;
        const QImage full = cam.fullPicture();
        if (hooks_.showInViewer)
            hooks_.showInViewer(full);
        if (fullWindow() && hooks_.showInFullWindow)
            hooks_.showInFullWindow(full);
    });
    // The live stream's frames go to the Viewer alone; its still (the thumbnail's) comes back
    // when the stream closes while the Viewer still shows the cam.
    // A live frame leaves the full-window view's refresh indicator alone: a still may be on its way.
    const auto showInViewer = [this, selected, fullWindow](const QImage& picture, bool liveFrame) {
        if (!selected() || !cams_.needs().fullPictureSeen())
            return;
        if (hooks_.showInViewer)
            hooks_.showInViewer(picture);
        const auto& inFullWindow = liveFrame ? hooks_.showLiveInFullWindow : hooks_.showInFullWindow;
        if (fullWindow() && inFullWindow)
            inFullWindow(picture);
    };
    connect(&cam, &WatchedCam::liveFrame, this, [showInViewer](const QImage& frame) { showInViewer(frame, true); });
    connect(&cam, &WatchedCam::liveClosed, this, [&cam, showInViewer] {
        if (cam.isOpen() && cam.showsCamPicture())
            showInViewer(cam.fullPicture(), false);
    });
    connect(&cam, &WatchedCam::autoSaved, this, &SlotGrid::ReportAutoSave);
}

bool SlotGrid::IsCamSelected() const
{
    return hooks_.isCamSelected && hooks_.isCamSelected();
}

void SlotGrid::cmdStartCam_Click()
{
    if (IsCamSelected()) {
        OpenSelectedCam();
    } else if (hooks_.showNotice) {
        hooks_.showNotice();
    } else {
        ShowNotice(hooks_.mainWindow);
    }
}

SlotGrid::OpenOutcome SlotGrid::OpenSelectedCam()
{
    if (!hooks_.currentCamName)
        return OpenOutcome::NotOpened;
    const QString name = hooks_.currentCamName();
    // Only open panels count: a stopped panel's "[webcam]" caption must not block a cam of that name.
    for (const ViewerSlot& s : slots_) {
        if (s.isOpen() && s.caption() == name)
            return OpenOutcome::AlreadyOpen;
    }
    return OpenCamInFreeSlot(name);
}

SlotGrid::OpenOutcome SlotGrid::OpenCamInFreeSlot(const QString& name, int preferredSlot)
{
    if (name.isEmpty())
        return OpenOutcome::NotOpened;
    if (cams_.openCount() >= kSlotCount) {
        hooks_.statusText(panelsFullText());
        return OpenOutcome::PanelsFull;
    }
    std::optional<CamEntry> entry;
    try {
        entry = FindCamEntry(name);
    } catch (const CamListError& error) {
        hooks_.statusText(tr("Cannot open %1: %2").arg(name, error.message()));
        return OpenOutcome::NotOpened;
    }
    if (!entry || !MissingLinesText(*entry).isEmpty()) {
        // The list box and the file disagree, or a hand edit cut the entry short; filling the
        // slot with anything else would show another cam under this name.
        hooks_.statusText(
            entry ? tr("Cannot open %1: its entry in the cam list file %2").arg(name, MissingLinesText(*entry))
                  : tr("Cannot open %1: it is not in the cam list file").arg(name));
        return OpenOutcome::NotOpened;
    }
    const CamRecord& record = entry->record;
    if (!RefreshSecondsFromText(record.refresh)) {
        hooks_.statusText(
            tr("Cannot open %1: its refresh rate \"%2\" is not a number of seconds").arg(name, record.refresh));
        return OpenOutcome::NotOpened;
    }
    // The whole open runs without yielding to the event loop, so no other event can take the
    // same panel in the middle of it.
    const bool preferredFree = preferredSlot >= 0 && preferredSlot < kSlotCount && !slot(preferredSlot).isOpen();
    for (int k = preferredFree ? -1 : 0; k < kSlotCount; ++k) {
        const int i = k < 0 ? preferredSlot : k;
        ViewerSlot& s = slot(i);
        if (s.isOpen())
            continue;
        s.Frame->show();
        cams_.cam(i).open(name, record.url, record.refresh);
        return OpenOutcome::Opened;
    }
    return OpenOutcome::PanelsFull;  // openCount() counts the open cams, so this cannot happen
}

void SlotGrid::cmdStop_Click(int index)
{
    cams_.cam(index).cmdStop_Click();
    if (cams_.selectedSlot() == index) {
        if (hooks_.hideViewer)
            hooks_.hideViewer();
        cams_.setSelectedSlot(-1);
    }
}

void SlotGrid::cmdStopAll_Click()
{
    for (int i = 0; i < kSlotCount; ++i)
        cmdStop_Click(i);
}

void SlotGrid::imgRefresh_Click(int index)
{
    imgCam_Click(index);
}

void SlotGrid::imgCam_Click(int index)
{
    // The Viewer is about to show this slot: with its answers handled that closed before the
    // click. Those of the slot it showed until now need not be waited for (at 4K or with autosave
    // each is a full decode, or a save): handled after the click, they leave the Viewer as it
    // would be had they come first, since the click shows the new slot whole, and a save they
    // made is still reported (PictureWork::selectedAtClose).
    cams_.cam(index).settle();
    Q_EMIT thumbnailClicked(index);
}

void SlotGrid::UpdateOpenSlots(const QString& oldName, const CamRecord& edited)
{
    cams_.pictures().settle(nullptr);
    for (int i = 0; i < kSlotCount; ++i) {
        if (!slot(i).isOpen() || slot(i).caption() != oldName)
            continue;
        cams_.cam(i).edit(edited.name, edited.url, edited.refresh);
    }
}

void SlotGrid::setRefreshIndicatorPicture(const QImage& picture)
{
    for (ViewerSlot& s : slots_)
        s.imgRefresh->setPicture(picture);
}

ViewerDetails SlotGrid::slotTexts(int index) const
{
    const WatchedCam& cam = cams_.cam(index);
    return {cam.name(), cam.refreshText(), cam.updatedText(), cam.refreshedText()};
}

QString SlotGrid::nextRefreshCaption(int index) const
{
    // The same caption the Viewer shows when the slot is clicked: the typed text counts, so a
    // 30.5-second cam counts down 29.5, 28.5, ...; past its interval the slot only waits.
    const WatchedCam& cam = cams_.cam(index);
    if (cam.waitsForDownload())
        return waitingCaption();
    return NextRefreshText(cam.refreshText(), cam.slotElapsed);
}

bool SlotGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ContextMenu) {
        for (int i = 0; i < kSlotCount; ++i) {
            if (watched == slot(i).Frame && slot(i).isOpen()) {
                Q_EMIT contextMenuRequested(i, static_cast<QContextMenuEvent*>(event)->globalPos());
                return true;
            }
        }
    }
    if (event->type() == QEvent::ToolTip) {
        for (int i = 0; i < kSlotCount; ++i) {
            const ViewerSlot& s = slots_.at(static_cast<size_t>(i));
            if (watched == s.imgCam || watched == s.Picture3 || watched == s.imgRefresh) {
                static_cast<QWidget*>(watched)->setToolTip(camToolTip(cams_.cam(i)));
                break;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
