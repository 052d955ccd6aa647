#include "RecorderLock.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
QString LockPath(const QString& programFolder)
{
    return QDir(programFolder).filePath(QString::fromLatin1(kRecorderLockName));
}

struct flock WholeFile(short type)
{
    struct flock range = {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = 0;
    range.l_len = 0;  // to the end, however long the file grows
    return range;
}

// The id the holder wrote; -1 when the file says none yet.
qint64 WrittenId(int fd)
{
    char text[32] = {};
    const ssize_t got = ::pread(fd, text, sizeof text - 1, 0);
    bool ok = false;
    const qint64 id = got > 0 ? QByteArray(text, static_cast<qsizetype>(got)).trimmed().toLongLong(&ok) : 0;
    return ok && id > 0 ? id : -1;
}
}  // namespace

qint64 RecorderHolding(const QString& programFolder)
{
    const int fd = ::open(QFile::encodeName(LockPath(programFolder)).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    // Would a read lock be refused? Only a recorder's write lock refuses one.
    struct flock range = WholeFile(F_RDLCK);
    qint64 holder = 0;
    if (::fcntl(fd, F_OFD_GETLK, &range) == 0 && range.l_type != F_UNLCK)
        holder = WrittenId(fd);
    ::close(fd);
    return holder;
}

RecorderLock::~RecorderLock()
{
    release();
}

bool RecorderLock::take(const QString& programFolder)
{
    release();
    holder_ = 0;
    problem_.clear();
    const QString path = LockPath(programFolder);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        problem_ = QStringLiteral("%1 cannot be opened: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    struct flock range = WholeFile(F_WRLCK);
    if (::fcntl(fd, F_OFD_SETLK, &range) != 0) {
        const int error = errno;
        if (error == EAGAIN || error == EACCES)
            holder_ = WrittenId(fd);
        else
            problem_ =
                QStringLiteral("%1 cannot be locked: %2").arg(path, QString::fromLocal8Bit(std::strerror(error)));
        ::close(fd);
        return false;
    }
    const QByteArray id = QByteArray::number(static_cast<qint64>(::getpid())) + '\n';
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, id.constData(), static_cast<size_t>(id.size()), 0) != id.size()) {
        problem_ = QStringLiteral("%1 cannot be written: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

void RecorderLock::release()
{
    if (fd_ < 0)
        return;
    // Emptied first: a look that comes after the unlock finds no id of a process long gone.
    [[maybe_unused]] const int emptied = ::ftruncate(fd_, 0);
    ::close(fd_);
    fd_ = -1;
}
