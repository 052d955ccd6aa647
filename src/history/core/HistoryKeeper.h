#pragma once
// The upkeep of the picture history while the program runs: at start the index is checked
// (and rebuilt when missing or damaged), then, and every hour after, pictures older than the
// "keepDays" choice are deleted, and the oldest while they take more than "keepGigabytes". The work runs on a thread of
// its own, so that a rebuild of years of pictures never holds up the window; what goes wrong is said through `problem`.
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <atomic>
#include <functional>
#include <thread>

class HistoryKeeper : public QObject {
    Q_OBJECT
public:
    explicit HistoryKeeper(QObject* parent = nullptr);
    // Waits for a run under way (a file may be being deleted).
    ~HistoryKeeper() override;

    // Checks the save folder's index against the cams listed now, applies the retention, and
    // starts the hourly timer. Called again when the user chooses another save folder (after the
    // run under way, if there is one).
    void start(const QStringList& camNames);
    // Applies the retention now, unless a run is under way.
    void applyRetention();
    bool isRunning() const { return running_; }
    // Asked at each run: true when another program (a recorder on the same folder) keeps the
    // retention, so this one only checks the index. Unset: this one keeps it.
    void setRetentionLeftElsewhere(std::function<bool()> elsewhere) { retentionLeftElsewhere_ = std::move(elsewhere); }
    QTimer& timer() { return timer_; }  // hourly; tests shorten it

Q_SIGNALS:
    // Something the user should know, in words for the status bar.
    void problem(const QString& text);
    // A run (start-up check or retention) has ended; deleted is the number of pictures deleted.
    void finished(int deleted);

private:
    void run(const QStringList& camNames, bool checkIndex);

    QTimer timer_;
    std::thread job_;
    std::atomic<bool> running_ = false;
    bool pendingCheck_ = false;  // a check asked for while a run was under way
    QStringList pendingNames_;
    std::function<bool()> retentionLeftElsewhere_;
};
