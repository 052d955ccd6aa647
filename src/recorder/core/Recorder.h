#pragma once
// The recorder: the window's AutoSave without a window. It watches the cams it is given by name,
// or every cam marked for recording, saves each new picture through the same cam models, codec
// threads, names, index rows and retention as the window, and follows the cam list file and the
// marks while it runs (added, removed and edited cams).
#include <QDateTime>
#include <QHash>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

#include "CamList.h"
#include "HistoryKeeper.h"
#include "RecordSchedule.h"
#include "RecorderStatus.h"
#include "WatchedCams.h"
#include "WindowAlerts.h"

class Recorder : public QObject {
    Q_OBJECT
public:
    // openNames: the cams to record; empty: every cam marked for recording. `say` gets the
    // recorder's own lines (which cams it records and why one is not), without a line end.
    // `notificationBus`: the D-Bus connection the alerts' notifications go to (see
    // DesktopNotifications); empty: the session bus.
    explicit Recorder(QStringList openNames, std::function<void(const QString&)> say,
                      const QString& notificationBus = QString(), QObject* parent = nullptr);
    // Lets the saves under way finish before the cams stop.
    ~Recorder() override;

    // Reads the cam list and the choices, opens the cams and starts the history upkeep. Empty
    // when it runs; the problem otherwise (a cam named with --open that the list does not hold).
    QString start();
    // Stops every cam once its saves under way are done (each picture is whole and indexed).
    void stop();
    // Reads the cam list and the marks again now and follows them (every 2 s by itself).
    void followCamList();

    WatchedCams& cams() { return cams_; }
    HistoryKeeper& historyKeeper() { return keeper_; }
    QTimer& listTimer() { return listTimer_; }
    WindowAlerts& alerts() { return alerts_; }
    // The names of the cams being recorded, in their places' order.
    QStringList recordedNames() const;
    // What `tolvane --status` and the window read (RecorderStatus.h), as it stands now.
    RecorderStatus status(bool running);
    // Writes the status file now.
    void publishStatus(bool running = true);

private:
    // The cams that should be recorded now, by name; listed records only (in list order).
    QList<CamRecord> WantedCams(QStringList* missing = nullptr) const;
    void ApplyOptionsWhenChanged();
    // The cam's own schedule, else the one for all.
    RecordSchedule ScheduleOf(const QString& cam, const RecordSchedule& forAll);
    // Writes the status when something changed: at the next look when the cams recorded (the
    // window goes by them) or a cam's health state changed, else at most every kStatusIntervalMs.
    void PublishWhenDue();

    QStringList openNames_;
    std::function<void(const QString&)> say_;
    WatchedCams cams_;
    // The same alerts as the window's, from the same options: the hook, and notifications when
    // they are on and a session bus is there.
    WindowAlerts alerts_;
    HistoryKeeper keeper_;
    QTimer listTimer_;
    QString optionsStamp_;
    QString listProblem_;    // the last cam list failure told, so it is told once
    QStringList notOpened_;  // cams told as not recorded for want of a place
    QDateTime started_;
    QHash<QString, QString> lastSaved_;  // by cam name: the last file saved
    QStringList publishedNames_;         // the cams recorded when the status was last written
    QStringList publishedWaiting_;       // and those waiting for their schedule
    QMap<QString, QString> waiting_;     // cams outside their schedule now: their schedule in words
    QHash<QString, QString> schedules_;  // cams with a schedule of their own or for all: in words
    QSet<QString> unreadableSchedules_;  // told once
    bool statusDirty_ = true;
    bool healthChanged_ = false;  // a cam's health state changed: told at the next look
    qint64 lastPublishedMs_ = 0;
    QString statusProblem_;  // the last failure to write the status, told once
};
