#include "CamAlerts.h"

#include <QTimer>
#include <algorithm>

#include "DateTimeText.h"
#include "Translations.h"
#include "WatchedCams.h"

bool StateAlerts(CamState state)
{
    switch (state) {
    case CamState::Failing:
    case CamState::Frozen:
    case CamState::Stale:
        return true;
    case CamState::Starting:
    case CamState::Ok:
        return false;
    }
    return false;
}

QString DurationText(qint64 ms)
{
    const qint64 seconds = std::max<qint64>(0, (ms + 500) / 1000);
    const auto unit = [](qint64 n, const char* one, const char* many) {
        return QStringLiteral("%1 %2").arg(n).arg(TranslatedText("CamAlerts", n == 1 ? one : many));
    };
    if (seconds < 120)
        return unit(seconds, QT_TRANSLATE_NOOP("CamAlerts", "second"), QT_TRANSLATE_NOOP("CamAlerts", "seconds"));
    const qint64 minutes = seconds / 60;
    if (minutes < 120)
        return unit(minutes, QT_TRANSLATE_NOOP("CamAlerts", "minute"), QT_TRANSLATE_NOOP("CamAlerts", "minutes"));
    const qint64 hours = minutes / 60;
    if (minutes % 60 == 0)
        return unit(hours, QT_TRANSLATE_NOOP("CamAlerts", "hour"), QT_TRANSLATE_NOOP("CamAlerts", "hours"));
    return unit(hours, QT_TRANSLATE_NOOP("CamAlerts", "hour"), QT_TRANSLATE_NOOP("CamAlerts", "hours")) +
        QLatin1Char(' ') +
        unit(minutes % 60, QT_TRANSLATE_NOOP("CamAlerts", "minute"), QT_TRANSLATE_NOOP("CamAlerts", "minutes"));
}

namespace {
QString CamsText(qsizetype count)
{
    return count == 1 ? TranslatedText("CamAlerts", "1 cam") : TranslatedText("CamAlerts", "%1 cams").arg(count);
}

QString DownLine(const CamAlertEvent& event)
{
    QString line = StateText(event.state);
    if (!event.shownReason.isEmpty())
        line += QStringLiteral(": ") + event.shownReason;
    return line;
}
}  // namespace

CamAlerts::CamAlerts(std::function<qint64()> monotonicMs, QObject* parent)
    : QObject(parent), ms_(monotonicMs ? std::move(monotonicMs) : StartMonotonicClock()), timer_(new QTimer(this))
{
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &CamAlerts::check);
}

CamAlerts::~CamAlerts() = default;

void CamAlerts::setAlertAfterSeconds(int seconds)
{
    alertAfterMs_ = qint64{std::max(1, seconds)} * 1000;
    check();
}

void CamAlerts::watch(WatchedCams& cams)
{
    for (int i = 0; i < WatchedCams::kCount; ++i) {
        WatchedCam* cam = &cams.cam(i);
        connect(cam, &WatchedCam::healthChanged, this, [this, i, cam](CamState state) {
            QString reason;
            {
                const EnglishTexts english;  // for the log and the alert command
                reason = HealthReason(cam->health(), state);
            }
            update(i, cam->name(), state, reason, cam->isOpen(), HealthReason(cam->health(), state));
        });
    }
}

void CamAlerts::update(int index, const QString& name, CamState state, const QString& reason, bool open,
                       const QString& shownReason)
{
    if (!open || state == CamState::Starting) {
        Forget(index);
        return;
    }
    const qint64 now = ms_();
    Cam& cam = cams_[index];
    cam.name = name;
    cam.reason = reason;
    cam.shownReason = shownReason.isEmpty() ? reason : shownReason;
    if (state != cam.state || !cam.stateSince.isValid()) {
        cam.state = state;
        cam.stateSince = CurrentDateTime();
    }
    const bool down = StateAlerts(state);
    const bool wasDown = cam.downSinceMs >= 0;
    if (down && !wasDown) {
        // Steadily ok for a whole window: earlier down times no longer count.
        if (cam.okSinceMs >= 0 && now - cam.okSinceMs >= alertAfterMs_)
            cam.downBeforeMs = 0;
        if (cam.downBeforeMs == 0) {
            cam.runStartMs = now;
            cam.runStart = cam.stateSince;
        }
        cam.downSinceMs = now;
        cam.okSinceMs = -1;
    } else if (!down && wasDown) {
        cam.downBeforeMs += now - cam.downSinceMs;
        cam.downSinceMs = -1;
        cam.okSinceMs = now;
        if (cam.alerted) {
            cam.alerted = false;
            cam.downBeforeMs = 0;  // the back notice closes the story; a new one starts from zero
            CamAlertEvent event;
            event.index = index;
            event.cam = name;
            event.state = state;
            event.since = cam.stateSince;
            event.back = true;
            event.downMs = now - cam.alertedStartMs;
            event.downReason = cam.alertedReason;
            event.shownDownReason = cam.alertedShownReason;
            Announce(event);
        }
    } else if (!down && cam.okSinceMs < 0) {
        cam.okSinceMs = now;
    }
    check();
}

void CamAlerts::Forget(int index)
{
    const auto found = cams_.find(index);
    if (found == cams_.end())
        return;
    if (found->second.notice != 0)
        Q_EMIT withdraw(found->second.notice);
    cams_.erase(found);
    batch_.erase(std::remove_if(batch_.begin(), batch_.end(),
                                [index](const CamAlertEvent& event) { return event.index == index; }),
                 batch_.end());
    if (groupNotice_ != 0 && (groupDown_.contains(index) || groupBack_.contains(index))) {
        groupDown_.removeAll(index);
        groupBack_.removeAll(index);
        lastEvent_.erase(index);
        if (groupDown_.isEmpty() && groupBack_.isEmpty())
            Q_EMIT withdraw(groupNotice_);
        else
            Q_EMIT notify(GroupNotice());
        if (groupDown_.isEmpty()) {
            groupNotice_ = 0;
            groupBack_.clear();
            lastEvent_.clear();
        }
    }
    Schedule();
}

qint64 CamAlerts::DueMs(const Cam& cam) const
{
    if (cam.alerted || cam.downSinceMs < 0)
        return -1;
    qint64 due = cam.downSinceMs + (alertAfterMs_ - cam.downBeforeMs);
    if (cam.everAlerted)
        due = std::max(due, cam.lastAlertMs + alertAfterMs_);
    return due;
}

void CamAlerts::check()
{
    const qint64 now = ms_();
    for (auto& [index, cam] : cams_) {
        const qint64 due = DueMs(cam);
        if (due < 0 || now < due)
            continue;
        cam.alerted = true;
        cam.everAlerted = true;
        cam.lastAlertMs = now;
        cam.alertedStartMs = cam.runStartMs;
        {
            const EnglishTexts english;
            cam.alertedReason = StateText(cam.state) + QStringLiteral(": ") + cam.reason;
        }
        cam.alertedShownReason = StateText(cam.state) + QStringLiteral(": ") + cam.shownReason;
        CamAlertEvent event;
        event.index = index;
        event.cam = cam.name;
        event.state = cam.state;
        event.reason = cam.reason;
        event.shownReason = cam.shownReason;
        event.since = cam.stateSince;
        event.downSince = cam.runStart;
        // From here the cam's down time counts from zero: it alerts at most once a window.
        cam.downBeforeMs = 0;
        cam.downSinceMs = now;
        cam.runStartMs = now;
        cam.runStart = CurrentDateTime();
        Announce(event);
    }
    if (batchDueMs_ >= 0 && now >= batchDueMs_)
        Flush();
    Schedule();
}

qint64 CamAlerts::msUntilDue() const
{
    const qint64 now = ms_();
    qint64 next = batchDueMs_;
    for (const auto& [index, cam] : cams_) {
        const qint64 due = DueMs(cam);
        if (due >= 0 && (next < 0 || due < next))
            next = due;
    }
    return next < 0 ? -1 : std::max<qint64>(0, next - now);
}

void CamAlerts::Schedule()
{
    const qint64 wait = msUntilDue();
    if (wait < 0)
        timer_->stop();
    else
        timer_->start(static_cast<int>(std::min<qint64>(wait, 24LL * 3600 * 1000)));
}

QList<int> CamAlerts::downCams() const
{
    QList<int> down;
    for (const auto& [index, cam] : cams_)
        if (cam.alerted)
            down << index;
    return down;
}

void CamAlerts::Announce(CamAlertEvent event)
{
    Q_EMIT alerted(event);
    if (batch_.isEmpty())
        batchDueMs_ = ms_() + kGroupMs;
    batch_ << event;
}

void CamAlerts::Flush()
{
    batchDueMs_ = -1;
    // One announcement per cam: its latest. A cam that went down and came back within the batch
    // was never shown down, so its return is not shown either.
    QList<CamAlertEvent> events;
    for (const CamAlertEvent& event : std::as_const(batch_)) {
        const auto same = std::find_if(events.begin(), events.end(),
                                       [&event](const CamAlertEvent& other) { return other.index == event.index; });
        if (same != events.end())
            *same = event;
        else
            events << event;
    }
    batch_.clear();
    events.erase(std::remove_if(events.begin(), events.end(),
                                [this](const CamAlertEvent& event) {
                                    const auto cam = cams_.find(event.index);
                                    const bool shown = (cam != cams_.end() && cam->second.notice != 0) ||
                                        groupDown_.contains(event.index);
                                    return event.back && !shown;
                                }),
                 events.end());
    if (events.isEmpty())
        return;

    if (groupNotice_ != 0 || events.size() >= 2) {
        if (groupNotice_ == 0) {
            groupNotice_ = nextNotice_++;
            groupDown_.clear();
            groupBack_.clear();
            lastEvent_.clear();
        }
        for (const CamAlertEvent& event : std::as_const(events)) {
            lastEvent_[event.index] = event;
            if (event.back) {
                groupDown_.removeAll(event.index);
                if (!groupBack_.contains(event.index))
                    groupBack_ << event.index;
            } else {
                groupBack_.removeAll(event.index);
                if (!groupDown_.contains(event.index))
                    groupDown_ << event.index;
            }
            // The group notice speaks for the cam from now on.
            const auto cam = cams_.find(event.index);
            if (cam != cams_.end() && cam->second.notice != 0) {
                Q_EMIT withdraw(cam->second.notice);
                cam->second.notice = 0;
            }
        }
        Q_EMIT notify(GroupNotice());
        if (groupDown_.isEmpty()) {
            groupNotice_ = 0;
            groupBack_.clear();
            lastEvent_.clear();
        }
        return;
    }

    const CamAlertEvent& event = events.constFirst();
    Cam& cam = cams_[event.index];
    AlertNotice notice;
    notice.notice = cam.notice != 0 ? cam.notice : nextNotice_++;
    notice.showIndex = event.index;
    notice.cams = {event.index};
    notice.down = !event.back;
    if (event.back) {
        notice.summary = TranslatedText("CamAlerts", "%1 is back").arg(event.cam);
        notice.body = TranslatedText("CamAlerts", "ok again after %1 down (%2)")
                          .arg(DurationText(event.downMs), event.shownDownReason);
        cam.notice = 0;
    } else {
        notice.summary = TranslatedText("CamAlerts", "%1 is %2").arg(event.cam, StateText(event.state));
        QStringList lines;
        if (!event.shownReason.isEmpty())
            lines << event.shownReason;
        lines << TranslatedText("CamAlerts", "since %1").arg(DateTimeText(event.since));
        if (event.downSince.isValid() && event.downSince < event.since)
            lines << TranslatedText("CamAlerts", "down on and off since %1").arg(DateTimeText(event.downSince));
        notice.body = lines.join(QLatin1Char('\n'));
        cam.notice = notice.notice;
    }
    Q_EMIT notify(notice);
}

AlertNotice CamAlerts::GroupNotice() const
{
    AlertNotice notice;
    notice.notice = groupNotice_;
    notice.cams = groupDown_ + groupBack_;
    notice.down = !groupDown_.isEmpty();
    notice.showIndex = notice.cams.isEmpty() ? -1 : notice.cams.constFirst();
    QStringList lines;
    if (groupDown_.isEmpty()) {
        notice.summary = groupBack_.size() == 1
            ? TranslatedText("CamAlerts", "%1 is back").arg(lastEvent_.at(groupBack_[0]).cam)
            : TranslatedText("CamAlerts", "%1 are back").arg(CamsText(groupBack_.size()));
    } else {
        // By state, in the order of the states; a reason they all share goes into the summary.
        std::map<int, int> byState;
        QStringList reasons;
        for (const int index : groupDown_) {
            const CamAlertEvent& event = lastEvent_.at(index);
            ++byState[static_cast<int>(event.state)];
            if (!reasons.contains(event.shownReason))
                reasons << event.shownReason;
            lines << TranslatedText("CamAlerts", "%1: %2 (since %3)")
                         .arg(event.cam, DownLine(event), TimeText(event.since.time()));
        }
        if (byState.size() == 1) {
            notice.summary = CamsText(groupDown_.size()) + QLatin1Char(' ') +
                StateText(static_cast<CamState>(byState.begin()->first));
            if (reasons.size() == 1 && !reasons.constFirst().isEmpty())
                notice.summary += QStringLiteral(": ") + reasons.constFirst();
        } else {
            QStringList counts;
            for (const auto& [state, count] : byState)
                counts << QStringLiteral("%1 %2").arg(count).arg(StateText(static_cast<CamState>(state)));
            notice.summary = TranslatedText("CamAlerts", "%1 down: %2")
                                 .arg(CamsText(groupDown_.size()), counts.join(QStringLiteral(", ")));
        }
    }
    if (!groupBack_.isEmpty()) {
        QStringList back;
        for (const int index : groupBack_)
            back << lastEvent_.at(index).cam;
        lines << TranslatedText("CamAlerts", "Back: %1").arg(back.join(QStringLiteral(", ")));
    }
    notice.body = lines.join(QLatin1Char('\n'));
    return notice;
}
