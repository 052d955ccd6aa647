#pragma once
// When to tell someone that a cam is down, and what to tell: the debounce, the flapping limit and
// the grouping of cams that change together. It knows no window, no bus and no process: it is
// told each cam's health state as it changes, and says what to announce through its signals,
// which the desktop notifications, the tray and the command hook turn into their own forms.
//
// The rules, with W = alertAfterSeconds:
// - A cam alerts once it has been down (failing, frozen or stale) for W seconds in all since it was last
//   steadily ok for W seconds. A cam that fails for a moment never alerts; one that fails again
//   and again between short recoveries does, since its down times add up.
// - An alerted cam that is ok again is announced back at once.
// - A cam alerts at most once per W seconds: after an alert (or its return) its down time counts
//   from zero again.
// - Announcements that fall within kGroupMs of one another go out together: a lone one as a
//   notice of its cam, several as one group notice, which later changes replace until every cam
//   of it is back.
// - A cam that is stopped (or closed) is forgotten without an announcement: someone stopped it.
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <map>

#include "CamHealth.h"

class QTimer;
class WatchedCams;

// The states that count as down. Another state that should alert is one more case here.
bool StateAlerts(CamState state);

// One cam going down or coming back.
struct CamAlertEvent {
    int index = -1;  // the cam's place among the watched cams
    QString cam;     // its name
    CamState state = CamState::Ok;
    QString reason;       // the state's reason in words (English, for the log and the alert command); empty when back
    QString shownReason;  // the same in the user's language, for the notices
    QDateTime since;      // local time the cam entered the state (back: when it came back)
    // Down only: when its down time began to add up; earlier than `since` for a cam that was
    // down on and off before.
    QDateTime downSince;
    bool back = false;
    qint64 downMs = 0;        // back only: how long it had been down since the alert's stretch began
    QString downReason;       // back only: what it was down for ("failing: connection refused")
    QString shownDownReason;  // the same in the user's language
};

// What one notification says. The same `notice` number again replaces it.
struct AlertNotice {
    int notice = 0;
    QString summary;
    QString body;
    int showIndex = -1;  // the cam "Show" selects; the cam whose picture is the notice's image
    bool down = true;    // some cam of it is still down
    QList<int> cams;     // every cam the notice speaks of
};

class CamAlerts : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kGroupMs = 5000;  // announcements this close together form a group

    // `monotonicMs`: a clock that never goes back (tests inject one); unset: the real one.
    explicit CamAlerts(std::function<qint64()> monotonicMs = {}, QObject* parent = nullptr);
    ~CamAlerts() override;

    void setAlertAfterSeconds(int seconds);
    int alertAfterSeconds() const { return static_cast<int>(alertAfterMs_ / 1000); }

    // A cam's state now: `open` false (or Starting) forgets it. Calls with an unchanged state and
    // reason only let the time run on.
    // shownReason: the reason in the user's language, for the notices; empty when it is reason.
    void update(int index, const QString& name, CamState state, const QString& reason, bool open = true,
                const QString& shownReason = QString());
    // Follows every cam of `cams` from now on (their healthChanged signals).
    void watch(WatchedCams& cams);

    // Does what is due at the clock's time now; the timer calls it, tests call it after moving
    // their clock. Milliseconds until the next thing is due, or -1 for nothing.
    void check();
    qint64 msUntilDue() const;

    // Cams announced down and not back yet, by index.
    QList<int> downCams() const;

Q_SIGNALS:
    // A cam went down (after the debounce) or came back: at the moment it happens, per cam.
    void alerted(const CamAlertEvent& event);
    // A notification to show, or to replace when its number was shown before.
    void notify(const AlertNotice& notice);
    // A notification no longer speaks for its cam (a group notice took over, or the cam stopped).
    void withdraw(int notice);

private:
    struct Cam {
        QString name;
        CamState state = CamState::Starting;
        QString reason;
        QString shownReason;
        QDateTime stateSince;     // local time it entered `state`
        qint64 downSinceMs = -1;  // start of the running down stretch; -1 when not down
        qint64 downBeforeMs = 0;  // down time before that stretch, since it was last steadily ok
        qint64 okSinceMs = -1;    // start of the running ok stretch; -1 when not ok
        qint64 runStartMs = -1;   // when the down time being counted began
        QDateTime runStart;       // the same in local time
        qint64 lastAlertMs = 0;
        bool alerted = false;
        bool everAlerted = false;
        QString alertedReason;  // "failing: connection refused", for the back notice
        QString alertedShownReason;
        qint64 alertedStartMs = 0;
        int notice = 0;  // the cam's own notice while it shows
    };
    void Forget(int index);
    void Announce(CamAlertEvent event);
    void Flush();
    void Schedule();
    AlertNotice GroupNotice() const;
    qint64 DueMs(const Cam& cam) const;

    std::function<qint64()> ms_;
    qint64 alertAfterMs_ = 60000;
    std::map<int, Cam> cams_;
    QList<CamAlertEvent> batch_;
    qint64 batchDueMs_ = -1;
    int nextNotice_ = 1;
    // The group notice while it speaks for cams: those down, and those back since it began.
    int groupNotice_ = 0;
    QList<int> groupDown_;
    QList<int> groupBack_;
    std::map<int, CamAlertEvent> lastEvent_;  // per cam, what the group notice says of it
    QTimer* timer_;
};

// "5 seconds", "3 minutes", "2 hours 5 minutes".
QString DurationText(qint64 ms);
