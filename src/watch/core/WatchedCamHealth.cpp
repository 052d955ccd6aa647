// A watched cam's health: the fetch reports what it sees, and each change of the cam's state or
// outcome is logged once and told to its views. Nothing here changes what the watch cycle does.
#include "DateTimeText.h"
#include "WatchLog.h"
#include "WatchedCam.h"

CamState WatchedCam::healthState() const
{
    return EvaluateCamState(health_, CurrentDateTime(), StaleAfterSeconds(staleMinutes_, slotRefreshSeconds));
}

QString WatchedCam::healthSummary() const
{
    return HealthSummary(health_, healthState());
}

QString WatchedCam::healthToolTip() const
{
    const QStringList lines = HealthToolTipLines(txtName, health_, healthState());
    QStringList escaped;
    for (const QString& line : lines)
        escaped << line.toHtmlEscaped();
    // Rich text, so that a reason holding "<" is never taken for markup, and one line per fact.
    return QStringLiteral("<p style='white-space:pre'>") + escaped.join(QStringLiteral("<br>")) +
        QStringLiteral("</p>");
}

void WatchedCam::setStaleMinutes(int minutes)
{
    staleMinutes_ = qMax(1, minutes);
    if (open_)
        ReportHealth();
}

void WatchedCam::NoteOutcome(const FetchOutcome& outcome, bool stamped, bool newStamp)
{
    FetchOutcome noted = outcome;
    if (slotFinishing) {
        // A download let run past the interval has ended: the next fetch starts now.
        slotFinishing = false;
        noted.pastInterval = true;
        noted.seconds = FetchSeconds();
        noted.refreshSeconds = slotRefreshSeconds;
        StartSoon();
    }
    noted.redirects = source_->redirectHops();  // the way the running fetch came
    RecordOutcome(health_, noted, CurrentDateTime(), stamped, newStamp);
    ReportHealth();
}

void WatchedCam::NoteCutShort()
{
    const bool finishing = slotFinishing;
    slotFinishing = false;  // abandoned, not finished: the start that follows is the next fetch
    const RunningFetch running = source_->runningFetch();
    FetchOutcome outcome = ClassifyCutShort(health_.phase, running.headerDone, running.bodyBytes, running.contentLength,
                                            running.receivedBytes, FetchSeconds(), slotRefreshSeconds);
    if (finishing && outcome.kind == FetchOutcomeKind::Abandoned)
        outcome.silentSeconds = static_cast<double>(monotonicMs_() - source_->lastBodyByteMs()) / 1000.0;
    // A stream that is still running at the interval's end has brought no whole part (one that
    // brought its part was closed then, and nothing of it runs now).
    if (running.stream && outcome.kind != FetchOutcomeKind::None)
        outcome.kind = FetchOutcomeKind::StreamWithoutPicture;
    if (outcome.kind != FetchOutcomeKind::None)
        NoteOutcome(outcome);
}

void WatchedCam::SetHealthNote(HealthNote::Kind kind, const std::optional<HealthNote>& note)
{
    QList<HealthNote> updated;
    for (const HealthNote& other : health_.notes)
        if (other.kind != kind)
            updated << other;
    if (note)
        updated << *note;
    if (updated == health_.notes)
        return;
    health_.notes = updated;
    ReportHealth();
}

void WatchedCam::ReportHealth()
{
    const CamState state = healthState();
    const QString key = HealthKey(health_);
    const bool nothingYet = state == CamState::Starting && health_.notes.isEmpty();
    if (!nothingYet && (state != health_.reportedState || key != health_.reportedKey)) {
        health_.reportedState = state;
        health_.reportedKey = key;
        Q_EMIT healthChanged(state);
        qCInfo(lcWatch).noquote() << txtName + QStringLiteral(": ") + HealthSummary(health_, state);
        Q_EMIT changed();
    }
    Q_EMIT healthReported();
}

void WatchedCam::ClearHealth()
{
    const bool reported = !health_.reportedKey.isEmpty();
    const bool savesFailed = !health_.saving.problem.isEmpty();
    health_ = CamHealth();
    Q_EMIT healthChanged(CamState::Starting);
    if (reported)
        qCInfo(lcWatch).noquote() << txtName + QStringLiteral(": stopped");
    if (savesFailed)
        Q_EMIT saveTroubleChanged();
}

void WatchedCam::noteSaveWorked()
{
    if (!RecordSaveSuccess(health_))
        return;
    ReportHealth();
    Q_EMIT saveTroubleChanged();
}
