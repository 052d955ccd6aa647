#include "SlotGrid.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "CamCommands.h"
#include "CamSocket.h"
#include "CamUrl.h"
#include "DateTimeText.h"
#include "ImageControl.h"
#include "LockWind.h"
#include "PictureWork.h"
#include "SettingKeys.h"
#include "SlotNumbers.h"
#include "SlotProgressBar.h"
#include "ViewerPane.h"

namespace {
const QString kStoppedCaption = QStringLiteral("[webcam]");
}

SlotGrid::SlotGrid(QWidget* picWindowInner, WatchHooks hooks, QObject* parent)
    : QObject(parent), hooks_(std::move(hooks)), notFound_(QStringLiteral(":/pictures/notfound.png")),
      worker_(std::make_unique<PictureWorker>([this] {
          QMetaObject::invokeMethod(
              this, [this] { HandleFinishedResponses(); }, Qt::QueuedConnection);
      })),
      staleMinutes_(SettingKeys::staleMinutes.Default().toInt())
{
    for (int i = 0; i < kSlotCount; ++i) {
        ViewerSlot& s = slot(i);
        s.create(i, picWindowInner);
        connect(s.timRefresh, &QTimer::timeout, this, [this, i] { timRefresh_Timer(i); });
        connect(s.wsCam, &CamSocket::Connected, this, [this, i] { wsCam_Connect(i); });
        connect(s.wsCam, &CamSocket::DataArrival, this, [this, i](qint64 bytes) { wsCam_DataArrival(i, bytes); });
        connect(s.wsCam, &CamSocket::Closed, this, [this, i] { wsCam_Close(i); });
        connect(s.wsCam, &CamSocket::Failed, this,
                [this, i](const CamSocketFailure& failure) { NoteSocketFailure(i, failure); });
        s.imgCam->installEventFilter(this);
        s.Picture3->installEventFilter(this);
        s.imgRefresh->installEventFilter(this);
        connect(s.cmdStart, &QPushButton::clicked, this, [this, i] { cmdStart_Click(i); });
        connect(s.cmdRefresh, &QPushButton::clicked, this, [this, i] { cmdRefresh_Click(i); });
        connect(s.cmdStop, &QPushButton::clicked, this, [this, i] { cmdStop_Click(i); });
        connect(s.imgCam, &ImageControl::clicked, this, [this, i] { imgCam_Click(i); });
        connect(s.Picture3, &ImageControl::clicked, this, [this, i] { EmitThumbnailClicked(i); });
        connect(s.imgRefresh, &ImageControl::clicked, this, [this, i] { imgRefresh_Click(i); });
    }
    setMonotonicClock({});
}

SlotGrid::~SlotGrid()
{
    worker_.reset();  // first: it must not report to a grid that is going
}

bool SlotGrid::IsCamSelected() const
{
    return hooks_.isCamSelected && hooks_.isCamSelected();
}

bool SlotGrid::FullWindowViewOpen() const
{
    return hooks_.fullWindowViewOpen && hooks_.fullWindowViewOpen();
}

bool SlotGrid::FullPictureSeen() const
{
    return !hooks_.viewerShown || hooks_.viewerShown() || FullWindowViewOpen();
}

void SlotGrid::measureHoldUps(bool on)
{
    measuringHoldUps_ = on;
    if (on)
        holdUps_ = {};
}

void SlotGrid::NoteHoldUp(const PictureWork& work)
{
    if (!measuringHoldUps_ || work.closedNs == 0)
        return;
    // From the close to now, less the time a codec thread spent on this response itself.
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

SlotGrid::OpenOutcome SlotGrid::OpenCamInFreeSlot(const QString& name)
{
    if (name.isEmpty())
        return OpenOutcome::NotOpened;
    if (openCount_ >= kSlotCount) {
        SetStatusText(panelsFullText());
        return OpenOutcome::PanelsFull;
    }
    std::optional<CamEntry> entry;
    try {
        entry = FindCamEntry(name);
    } catch (const CamListError& error) {
        SetStatusText(QStringLiteral("Cannot open %1: %2").arg(name, error.message()));
        return OpenOutcome::NotOpened;
    }
    if (!entry || !MissingLinesText(*entry).isEmpty()) {
        // The list box and the file disagree, or a hand edit cut the entry short; filling the
        // slot with anything else would show another cam under this name.
        SetStatusText(entry ? QStringLiteral("Cannot open %1: its entry in the cam list file %2")
                                  .arg(name, MissingLinesText(*entry))
                            : QStringLiteral("Cannot open %1: it is not in the cam list file").arg(name));
        return OpenOutcome::NotOpened;
    }
    const CamRecord& record = entry->record;
    if (!RefreshSecondsFromText(record.refresh)) {
        SetStatusText(QStringLiteral("Cannot open %1: its refresh rate \"%2\" is not a number of seconds")
                          .arg(name, record.refresh));
        return OpenOutcome::NotOpened;
    }
    // The whole open runs without yielding to the event loop, so no other event can take the
    // same panel in the middle of it.
    for (int i = 0; i < kSlotCount; ++i) {
        ViewerSlot& s = slot(i);
        if (s.isOpen())
            continue;
        ++openCount_;
        s.Frame->show();
        s.txtName->setText(name);
        s.txtAddress->setText(record.url);
        s.txtRefresh->setText(record.refresh);
        cmdStart_Click(i);
        return OpenOutcome::Opened;
    }
    return OpenOutcome::PanelsFull;  // openCount_ counts the open panels, so this cannot happen
}

void SlotGrid::cmdStart_Click(int index)
{
    FinishHandling(index);
    ViewerSlot& s = slot(index);
    ++s.slotStarts;
    s.slotFinishing = false;
    s.slotLastBodyByteMs = -1;
    s.imgRefresh->show();
    if (selectedSlot_ == index && FullWindowViewOpen() && hooks_.showFullWindowRefreshIndicator)
        hooks_.showFullWindowRefreshIndicator();
    s.imgRefresh->raise();

    const auto seconds = RefreshSecondsFromText(s.txtRefresh->text());
    if (seconds) {
        s.slotRefreshSeconds = *seconds;
    } else {
        // Only an edit of an open cam can get here (an open refuses such a text); the slot goes
        // on at the interval it had rather than stopping.
        SetStatusText(QStringLiteral("%1: refresh rate \"%2\" is not a number of seconds; it stays at %3")
                          .arg(s.txtName->text(), s.txtRefresh->text(), QString::number(s.slotRefreshSeconds)));
    }
    NoteRefreshText(index, seconds.has_value());
    s.slotElapsed = 0;
    // The timer runs from the start of one fetch to the start of the next, however long the
    // fetch takes.
    s.timRefresh->start();
    s.setCaption(s.txtName->text());
    s.wsCam->Close();  // abandons an unfinished fetch of this slot
    s.slotResponse.reset();
    // The bar shows this fetch from nothing: only a body arriving after its header moves it, so a
    // picture that comes in one piece with its header, or a fetch that fails, used to leave the
    // last long download's full bar standing, for good on a cam that went down.
    s.prgCam->clearProgress();
    s.slotStreamBoundary.clear();
    s.slotStream = {};
    Q_EMIT slotChanged(index);

    const auto parts = SplitCamUrl(s.txtAddress->text());
    if (!parts) {
        // Nothing to fetch; the slot stays open and tries again at its next start.
        FetchOutcome outcome;
        outcome.kind = FetchOutcomeKind::BadAddress;
        outcome.detail = MaskAddressPassword(s.txtAddress->text());
        NoteOutcome(index, outcome);
        return;
    }
    s.health.phase = FetchPhase::Connecting;
    s.health.fetchStarted = CurrentDateTime();
    s.slotHost = parts->host;
    s.slotPath = parts->path;
    s.slotHostHeader = parts->hostHeader;
    s.slotPort = parts->port;
    s.slotTls = parts->tls;
    s.slotSignIn = parts->signIn;
    s.slotUser = parts->user;
    s.slotPassword = parts->password;
    s.slotFetchAddress = s.txtAddress->text();
    s.redirects.start(*parts);
    s.signIn.startFetch(s.slotFetchAddress);
    s.wsCam->Close();
    s.wsCam->Connect(s.slotHost, s.slotPort, s.slotTls);
}

void SlotGrid::cmdRefresh_Click(int index)
{
    cmdStart_Click(index);
}

void SlotGrid::timRefresh_Timer(int index)
{
    ViewerSlot& s = slot(index);
    ++s.slotElapsed;
    // Decided before the countdown is shown, so that it says the slot waits from the first tick on.
    const bool due = s.slotElapsed >= s.slotRefreshSeconds && !KeepsDownloading(index);
    if (selectedSlot_ == index) {
        {
            WindowDrawingLock lock(hooks_.mainWindow);
            if (hooks_.setNextRefresh)
                hooks_.setNextRefresh(nextRefreshCaption(index));
        }
        if (hooks_.queryTimeServer)
            hooks_.queryTimeServer();
    }
    if (due) {
        s.timRefresh->stop();
        s.imgRefresh->show();
        NoteCutShort(index);  // a fetch still running is abandoned by the start below
        cmdStart_Click(index);
    }
}

void SlotGrid::cmdStop_Click(int index)
{
    FinishHandling(index);
    ViewerSlot& s = slot(index);
    ++s.slotStarts;
    s.slotFinishing = false;
    s.wsCam->Close();
    s.timRefresh->stop();
    s.slotResponse.reset();  // the abandoned response's bytes are not needed any more
    {
        WindowDrawingLock lock(hooks_.mainWindow);
        SetSlotPicture(index, {}, {}, {});
        HideRefreshIndicator(index);
    }
    ClearHealth(index);
    const bool wasOpen = s.isOpen();
    s.setCaption(kStoppedCaption);
    s.Frame->hide();
    if (wasOpen)
        --openCount_;
    if (selectedSlot_ == index) {
        if (hooks_.hideViewer)
            hooks_.hideViewer();
        setSelectedSlot(-1);
    }
    Q_EMIT slotChanged(index);
}

void SlotGrid::cmdStopAll_Click()
{
    for (int i = 0; i < kSlotCount; ++i)
        cmdStop_Click(i);
}

void SlotGrid::imgRefresh_Click(int index)
{
    EmitThumbnailClicked(index);
}

void SlotGrid::imgCam_Click(int index)
{
    EmitThumbnailClicked(index);
}

void SlotGrid::EmitThumbnailClicked(int index)
{
    // The Viewer is about to show this slot: with its responses handled that closed before the
    // click. Those of the slot it showed until now need not be waited for (at 4K or with autosave
    // each is a full decode, or a save): handled after the click, they leave the Viewer as it
    // would be had they come first, since the click shows the new slot whole, and a save they
    // made is still reported (PictureWork::selectedAtClose).
    FinishHandling(index);
    Q_EMIT thumbnailClicked(index);
}

void SlotGrid::UpdateOpenSlots(const QString& oldName, const CamRecord& edited)
{
    FinishHandling(-1);
    for (int i = 0; i < kSlotCount; ++i) {
        ViewerSlot& s = slot(i);
        if (!s.isOpen() || s.caption() != oldName)
            continue;
        s.txtName->setText(edited.name);
        s.setCaption(edited.name);
        s.txtAddress->setText(edited.url);
        s.txtRefresh->setText(edited.refresh);
        Q_EMIT slotChanged(i);
    }
}

void SlotGrid::setRefreshIndicatorPicture(const QImage& picture)
{
    for (ViewerSlot& s : slots_)
        s.imgRefresh->setPicture(picture);
}

void SlotGrid::setTickInterval(int milliseconds)
{
    for (ViewerSlot& s : slots_)
        s.timRefresh->setInterval(milliseconds);
}

void SlotGrid::setMonotonicClock(std::function<qint64()> milliseconds)
{
    monotonicMs_ = milliseconds ? std::move(milliseconds) : StartMonotonicClock();
}

bool SlotGrid::KeepsDownloading(int index)
{
    ViewerSlot& s = slot(index);
    // A stream never ends by itself: its first part is due within the interval.
    if (!finishSlowDownloads_ || !s.slotStreamBoundary.isEmpty() || s.slotLastBodyByteMs < 0)
        return false;
    const qint64 silent = monotonicMs_() - s.slotLastBodyByteMs;
    if (silent >= (s.slotFinishing ? kSilentMs : kStillArrivingMs))
        return false;
    if (s.slotFinishing)
        return true;  // still arriving, or whole and on its way to the thumbnail
    if (s.health.phase != FetchPhase::Receiving)
        return false;
    s.slotFinishing = true;
    s.health.phase = FetchPhase::Finishing;
    ReportHealth(index);
    return true;
}

void SlotGrid::StartSoon(int index)
{
    const quint64 starts = slot(index).slotStarts;
    QMetaObject::invokeMethod(
        this,
        [this, index, starts] {
            ViewerSlot& s = slot(index);
            if (s.slotStarts != starts || !s.isOpen())
                return;
            cmdStart_Click(index);
        },
        Qt::QueuedConnection);
}

double SlotGrid::FetchSeconds(int index) const
{
    const ViewerSlot& s = slot(index);
    return s.health.fetchStarted.isValid() ? qMax<qint64>(0, s.health.fetchStarted.msecsTo(CurrentDateTime())) / 1000.0
                                           : s.slotRefreshSeconds;
}

ViewerDetails SlotGrid::slotTexts(int index) const
{
    const ViewerSlot& s = slot(index);
    return {s.txtName->text(), s.txtRefresh->text(), s.txtUpdated->text(), s.txtRefreshed->text()};
}

void SlotGrid::SetStatusText(const QString& text) const
{
    if (hooks_.setStatusText)
        hooks_.setStatusText(text);
}

void SlotGrid::SetProgressText(const QString& text) const
{
    if (hooks_.setProgressText)
        hooks_.setProgressText(text);
    else
        SetStatusText(text);
}

QString SlotGrid::nextRefreshCaption(int index) const
{
    // The same caption the Viewer shows when the slot is clicked: the typed text counts, so a
    // 30.5-second cam counts down 29.5, 28.5, ...; past its interval the slot only waits.
    const ViewerSlot& s = slot(index);
    if (s.slotFinishing)
        return waitingCaption();
    return NextRefreshText(s.txtRefresh->text(), s.slotElapsed);
}
