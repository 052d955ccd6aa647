#pragma once
// What a running recorder publishes in its program folder ("tolvane-record.status", JSON,
// rewritten whole and renamed into place, so a reader never sees half of it): its process, when
// it started and last wrote, whether it still runs, and for each cam it records the health, the
// last new picture, the last picture saved and the pictures the index keeps. `tolvane --status`
// prints it, also after the recorder stopped; the window reads which cams the recorder records,
// to leave their saving to it.
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

inline constexpr char kRecorderStatusName[] = "tolvane-record.status";
// The state of a cam the recorder does not fetch now, outside its schedule.
inline constexpr char kWaitingState[] = "waiting";

struct RecordedCamStatus {
    QString name;
    QString state;             // "starting", "ok", "stale", "frozen", "failing"
    QString summary;           // "<state>: <reason>", as the watch log says it
    QDateTime lastNewPicture;  // invalid: none yet
    QString lastSaved;         // the last file saved, below the save folder; empty: none yet
    int picturesKept = 0;      // rows of the cam in the index
    QString schedule;          // when it records, in words; empty: always
    bool operator==(const RecordedCamStatus&) const = default;
};

struct RecorderStatus {
    qint64 pid = 0;
    bool running = false;
    QDateTime started;
    QDateTime updated;  // the last write (the stop, once it stopped)
    QString saveFolder;
    QList<RecordedCamStatus> cams;
    bool operator==(const RecorderStatus&) const = default;
};

QString RecorderStatusPath(const QString& programFolder);
QByteArray RecorderStatusJson(const RecorderStatus& status);
// Nothing, with the problem in words, when the file is missing or is not a status.
std::optional<RecorderStatus> RecorderStatusFromJson(const QByteArray& json, QString* problem = nullptr);
std::optional<RecorderStatus> ReadRecorderStatus(const QString& programFolder, QString* problem = nullptr);
// Replaces the file at once (written beside, renamed). False with the reason on failure.
bool WriteRecorderStatus(const QString& programFolder, const RecorderStatus& status, QString* problem = nullptr);

// The cams a recorder running on the folder records now (not those waiting for their
// schedule); empty when none runs (or it has not said yet). Cheap enough to ask at every answer: the file is read again
// only when it changed. Safe from any thread.
QStringList CamsRecordedNow(const QString& programFolder);
// What that recorder said of the cam it records now; nothing when it does not record it.
std::optional<RecordedCamStatus> RecordedCamNow(const QString& programFolder, const QString& cam);
bool RecordedByRecorder(const QString& programFolder, const QString& cam);
