// Cam health of the viewer slots: the fetch reports what it sees, and each change of a cam's
// state or outcome is logged once, marked on its panel and shown in the Viewer. Nothing here
// changes what the watch cycle does.
#include <QEvent>
#include <QLineEdit>

#include "CamSocket.h"
#include "CamUrl.h"
#include "DateTimeText.h"
#include "ImageControl.h"
#include "SlotGrid.h"
#include "SlotHealthMark.h"
#include "WatchLog.h"

CamState SlotGrid::healthState(int index) const
{
    return EvaluateCamState(slot(index).health, CurrentDateTime(), StaleAfter(index));
}

QString SlotGrid::healthSummary(int index) const
{
    return HealthSummary(slot(index).health, healthState(index));
}

QString SlotGrid::healthToolTip(int index) const
{
    const ViewerSlot& s = slot(index);
    const QStringList lines = HealthToolTipLines(s.txtName->text(), s.health, healthState(index));
    QStringList escaped;
    for (const QString& line : lines)
        escaped << line.toHtmlEscaped();
    // Rich text, so that a reason holding "<" is never taken for markup, and one line per fact.
    return QStringLiteral("<p style='white-space:pre'>") + escaped.join(QStringLiteral("<br>")) +
        QStringLiteral("</p>");
}

void SlotGrid::setStaleMinutes(int minutes)
{
    staleMinutes_ = qMax(1, minutes);
    for (int i = 0; i < kSlotCount; ++i) {
        if (slot(i).isOpen())
            ReportHealth(i);
    }
}

qint64 SlotGrid::StaleAfter(int index) const
{
    return StaleAfterSeconds(staleMinutes_, slot(index).slotRefreshSeconds);
}

bool SlotGrid::eventFilter(QObject* watched, QEvent* event)
{
    // The tool tip is made when it is asked for, so the fetch never spends time on texts that
    // nobody reads.
    if (event->type() == QEvent::ToolTip) {
        for (int i = 0; i < kSlotCount; ++i) {
            const ViewerSlot& s = slot(i);
            if (watched == s.imgCam || watched == s.Picture3 || watched == s.imgRefresh) {
                static_cast<QWidget*>(watched)->setToolTip(healthToolTip(i));
                break;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void SlotGrid::NoteOutcome(int index, const FetchOutcome& outcome, bool stamped, bool newStamp)
{
    ViewerSlot& s = slot(index);
    FetchOutcome noted = outcome;
    if (s.slotFinishing) {
        // A download let run past the interval has ended: the next fetch starts now.
        s.slotFinishing = false;
        noted.pastInterval = true;
        noted.seconds = FetchSeconds(index);
        noted.refreshSeconds = s.slotRefreshSeconds;
        StartSoon(index);
    }
    noted.redirects = s.redirects.hops();  // the way the running fetch came
    RecordOutcome(s.health, noted, CurrentDateTime(), stamped, newStamp);
    ReportHealth(index);
}

void SlotGrid::NoteSocketFailure(int index, const CamSocketFailure& failure)
{
    NoteOutcome(index, ClassifySocketFailure(failure, slot(index).slotHost));
}

void SlotGrid::NoteCutShort(int index)
{
    ViewerSlot& s = slot(index);
    const bool finishing = s.slotFinishing;
    s.slotFinishing = false;  // abandoned, not finished: the start that follows is the next fetch
    const HttpResponseAssembler& response = s.slotResponse;
    FetchOutcome outcome =
        ClassifyCutShort(s.health.phase, response.headerDone(), response.bytesReceived(), response.contentLength(),
                         response.buffer().size(), FetchSeconds(index), s.slotRefreshSeconds);
    if (finishing && outcome.kind == FetchOutcomeKind::Abandoned)
        outcome.silentSeconds = static_cast<double>(monotonicMs_() - s.slotLastBodyByteMs) / 1000.0;
    // A stream that is still running at the interval's end has brought no whole part (one that
    // brought its part was closed then, and nothing of it runs now).
    if (!s.slotStreamBoundary.isEmpty() && outcome.kind != FetchOutcomeKind::None)
        outcome.kind = FetchOutcomeKind::StreamWithoutPicture;
    if (outcome.kind != FetchOutcomeKind::None)
        NoteOutcome(index, outcome);
}

void SlotGrid::NoteRefreshText(int index, bool readable)
{
    const ViewerSlot& s = slot(index);
    std::optional<HealthNote> note;
    if (!readable)
        note = HealthNote{HealthNote::Kind::RefreshNotANumber, s.txtRefresh->text(), s.slotRefreshSeconds};
    SetHealthNote(index, HealthNote::Kind::RefreshNotANumber, note);
}

void SlotGrid::SetHealthNote(int index, HealthNote::Kind kind, const std::optional<HealthNote>& note)
{
    QList<HealthNote>& notes = slot(index).health.notes;
    QList<HealthNote> updated;
    for (const HealthNote& other : notes)
        if (other.kind != kind)
            updated << other;
    if (note)
        updated << *note;
    if (updated == notes)
        return;
    notes = updated;
    ReportHealth(index);
}

void SlotGrid::ReportHealth(int index)
{
    ViewerSlot& s = slot(index);
    CamHealth& health = s.health;
    const CamState state = healthState(index);
    const QString key = HealthKey(health);
    const bool nothingYet = state == CamState::Starting && health.notes.isEmpty();
    if (!nothingYet && (state != health.reportedState || key != health.reportedKey)) {
        health.reportedState = state;
        health.reportedKey = key;
        s.healthMark->setState(state);
        qCInfo(lcWatch).noquote() << s.txtName->text() + QStringLiteral(": ") + HealthSummary(health, state);
        Q_EMIT slotChanged(index);
    }
    if (selectedSlot_ == index && hooks_.setViewerStatus)
        hooks_.setViewerStatus(HealthSummary(health, state));
}

void SlotGrid::ClearHealth(int index)
{
    ViewerSlot& s = slot(index);
    const bool reported = !s.health.reportedKey.isEmpty();
    const bool savesFailed = !s.health.saving.problem.isEmpty();
    s.health = CamHealth();
    s.healthMark->setState(CamState::Starting);
    if (reported)
        qCInfo(lcWatch).noquote() << s.txtName->text() + QStringLiteral(": stopped");
    if (savesFailed)
        Q_EMIT saveTroubleChanged();
}
