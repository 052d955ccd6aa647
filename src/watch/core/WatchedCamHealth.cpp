// A watched cam's health: the fetch reports what it sees, and each change of the cam's state or
// outcome is logged once and told to its views. Nothing here changes what the watch cycle does.
#include "DateTimeText.h"
#include "PictureWork.h"
#include "Translations.h"
#include "WatchLog.h"
#include "WatchedCam.h"

CamState WatchedCam::healthState() const
{
    return EvaluateCamState(health_, CurrentDateTime(), StaleAfterSeconds(staleMinutes_, slotRefreshSeconds),
                            FrozenAfterSeconds(frozenMinutes_, slotRefreshSeconds));
}

QString WatchedCam::stampAdvice() const
{
    // Only where the stamps decide: under the content rule they decide nothing, and under "both"
    // a restamped picture is not new unless it changed.
    const NewPictureRule rule = newPictureRule();
    const StampTrust trust = health_.stamps.verdict;
    if (rule == NewPictureRule::Content || (rule == NewPictureRule::Both && trust == StampTrust::EveryAnswer))
        return {};
    return StampTrustText(trust);
}

QString WatchedCam::healthSummary() const
{
    const QString advice = stampAdvice();
    const QString summary = HealthSummary(health_, healthState());
    return advice.isEmpty() ? summary : summary + QStringLiteral("; ") + advice;
}

QString WatchedCam::healthToolTip() const
{
    QStringList lines = HealthToolTipLines(txtName, health_, healthState());
    if (const QString advice = stampAdvice(); !advice.isEmpty())
        lines.insert(2, advice);  // after the state and its reason
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

void WatchedCam::setFrozenMinutes(int minutes)
{
    frozenMinutes_ = qMax(0, minutes);
    if (open_)
        ReportHealth();
}

void WatchedCam::NotePictureContent(const PictureWork& work)
{
    // The first picture since the open is the baseline; after it, other bytes, or a new
    // Last-Modified or ETag, are the cam saying it has a new picture.
    const bool first = slotChangeGrey.isNull();
    const bool newEtag = !work.conditions.etag.isEmpty() && work.conditions.etag != slotConditions.etag;
    const bool claimed = work.newStamp || newEtag || !work.sameBody;
    bool changed = false;
    if (!work.sameBody && !work.grey.isNull()) {
        changed = first || work.contentChanged;
        if (changed)
            slotChangeGrey = work.grey;
    }
    health_.masked = !slotMask.isEmpty();
    RecordPictureContent(health_, CurrentDateTime(), claimed, changed);
    WatchStamps(health_.stamps, work.stamped, work.sameBody, work.newStamp);
    const QString advice = stampAdvice();
    const QString logged = txtName + QLatin1Char('\n') + advice;
    if (!advice.isEmpty() && !stampAdviceLogged_.contains(logged)) {
        stampAdviceLogged_.insert(logged);
        const EnglishTexts english;  // the log's words, whatever the window's
        qCInfo(lcWatch).noquote() << txtName + QStringLiteral(": ") + stampAdvice();
    }
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
    if (const auto own = source_->cutShort(FetchSeconds()))
        outcome = *own;
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
        const EnglishTexts english;  // the log's words, whatever the window's
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
