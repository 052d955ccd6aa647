#pragma once
// The recorder's hold on a program folder: the lock file "tolvane-record.lock" there, locked
// while a recorder runs and naming its process. One recorder per folder (two would save every
// picture twice); the window asks it whether a recorder runs, to leave that recorder's work to it.
//
// The lock is an open-file-description lock (F_OFD_SETLK): the system drops it when the process
// ends however it ends, so a recorder that crashed never blocks the next one, and a look at
// the lock (RecorderHolding) never takes it, so it cannot make a starting recorder fail.
#include <QString>

inline constexpr char kRecorderLockName[] = "tolvane-record.lock";

// The process id of the recorder holding the folder; 0 when none does. When a holder is found
// whose id the file does not say yet (it is just starting), -1.
qint64 RecorderHolding(const QString& programFolder);

class RecorderLock {
public:
    RecorderLock() = default;
    ~RecorderLock();
    RecorderLock(const RecorderLock&) = delete;
    RecorderLock& operator=(const RecorderLock&) = delete;

    // Takes the folder for this process and writes its id into the lock file. False when another
    // process holds it (holder() says which, -1 when it has not written its id yet) or the file
    // cannot be made (problem() says why).
    bool take(const QString& programFolder);
    // Lets the folder go (the destructor does it too); the file stays, empty.
    void release();
    bool held() const { return fd_ >= 0; }
    qint64 holder() const { return holder_; }
    const QString& problem() const { return problem_; }

private:
    int fd_ = -1;
    qint64 holder_ = 0;
    QString problem_;
};
