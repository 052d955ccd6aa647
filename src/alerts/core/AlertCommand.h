#pragma once
// The command hook: a program the user names (alertCommand) run on each alert of a cam, never
// through a shell, with what happened in its environment:
//   TOLVANE_CAM      the cam's name
//   TOLVANE_STATE    "failing", "frozen", "stale" (down) or "ok" (back)
//   TOLVANE_REASON   the reason in words; empty when back
//   TOLVANE_SINCE    when the cam entered the state, ISO 8601 local time with its offset
//   TOLVANE_PICTURE  a file holding the cam's last picture as the cam sent it, removed when the
//                    program ends; empty when there is none
// It runs beside the window, never holding it up: at most one at a time per cam (the next alert
// of the cam waits for it), each stopped after kTimeLimitMs. Its output goes to the alert log
// line by line, its exit status when it is not 0.
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>

#include "CamAlerts.h"

class QProcess;
class QTemporaryFile;
class QTimer;

class AlertCommand : public QObject {
    Q_OBJECT
public:
    static constexpr int kTimeLimitMs = 10000;
    static constexpr int kWaitingPerCam = 8;  // alerts of a cam kept while its command runs

    explicit AlertCommand(QObject* parent = nullptr);
    ~AlertCommand() override;

    // The program and its arguments, split at blanks, double quotes grouping words; nothing else
    // is special, since no shell ever sees it. Empty: no command.
    void setCommandLine(const QString& commandLine);
    QStringList command() const { return command_; }
    // Tests shorten the time limit.
    void setTimeLimitMs(int milliseconds) { timeLimitMs_ = milliseconds; }

    // Runs the command for the alert (or queues it behind the cam's running one). `picture`: the
    // cam's last picture as the cam sent it; empty: none.
    void run(const CamAlertEvent& event, const QByteArray& picture);
    // Commands running now, and alerts waiting for one.
    int running() const;
    int waiting() const;

Q_SIGNALS:
    // A command ended (or could not start): tests wait for it.
    void finished(int index);

private:
    struct Job {
        CamAlertEvent event;
        QByteArray picture;
    };
    struct Run {
        QProcess* process = nullptr;
        QTimer* limit = nullptr;
        std::unique_ptr<QTemporaryFile> pictureFile;
        QByteArray partialLine;
        QString camName;
        bool stopped = false;
        int loggedLines = 0;
    };
    void Start(int index, const Job& job);
    void Ended(int index);
    void LogOutput(Run& run, bool all);

    QStringList command_;
    int timeLimitMs_ = kTimeLimitMs;
    std::map<int, std::unique_ptr<Run>> runs_;
    std::map<int, QList<Job>> waiting_;
};

// The environment variables of an alert (TOLVANE_PICTURE from `picturePath`).
QStringList AlertEnvironment(const CamAlertEvent& event, const QString& picturePath);
