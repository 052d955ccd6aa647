#include "ReplaceFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr qsizetype kMaxNameBytes = 200;  // leaves room for the tag within the 255-byte name limit

// The first `limit` bytes of a UTF-8 name, without a character cut in two.
QByteArray ShortenedName(const QByteArray& name, qsizetype limit)
{
    if (name.size() <= limit)
        return name;
    qsizetype lead = limit;
    // Back over the continuation bytes (10xxxxxx) to the byte that starts the cut character.
    while (lead > 0 && (static_cast<unsigned char>(name.at(lead)) & 0xC0) == 0x80)
        --lead;
    return name.first(lead);
}

// The file a replace really writes: a link is followed, so that the link stays, unless it leads
// where the caller does not allow; then the link itself is the file replaced.
QByteArray TargetPath(const QString& fileName, LinkAtName links)
{
    const QFileInfo info(fileName);
    if (info.isSymLink() && info.exists()) {
        const QString target = info.canonicalFilePath();
        if (links == LinkAtName::Follow ||
            QFileInfo(target).canonicalPath() == QFileInfo(info.absolutePath()).canonicalFilePath())
            return QFile::encodeName(target);
    }
    return QFile::encodeName(info.absoluteFilePath());
}

// An open temporary file that is closed, and removed, unless it is kept.
class TemporaryFile {
public:
    ~TemporaryFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!path_.isEmpty())
            ::unlink(path_.constData());
    }
    // A new, empty file beside target, with the permissions any new file gets (0666 less the umask).
    bool CreateBeside(const QByteArray& target)
    {
        const qsizetype slash = target.lastIndexOf('/');
        const QByteArray folder = target.left(slash + 1);
        const QByteArray name = target.mid(slash + 1);
        for (int attempt = 0; attempt < 16; ++attempt) {
            const QByteArray candidate = folder + TempNameBeside(name, QRandomGenerator::global()->generate());
            const int fd = ::open(candidate.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                fd_ = fd;
                path_ = candidate;
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }
    int fd() const { return fd_; }
    const QByteArray& path() const { return path_; }
    bool WriteAll(const char* bytes, qsizetype size)
    {
        while (size > 0) {
            const ssize_t written = ::write(fd_, bytes, static_cast<size_t>(size));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0) {
                if (written == 0)
                    errno = ENOSPC;
                return false;
            }
            bytes += written;
            size -= written;
        }
        return true;
    }
    bool Close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }
    void Keep() { path_.clear(); }

private:
    int fd_ = -1;
    QByteArray path_;
};

ReplaceFileResult Failed(ReplaceFileStatus status)
{
    return {status, errno};
}
}  // namespace

QString ReplaceFileResult::reason() const
{
    return QString::fromLocal8Bit(std::strerror(error));
}

ReplaceFileResult ReplaceFileContents(const QString& fileName, const char* bytes, qsizetype size, bool keepTimes,
                                      NewFileDurability newFile, LinkAtName links)
{
    const QByteArray target = TargetPath(fileName, links);
    struct stat old { };
    // Not through a link that stayed in the way: the file that goes is the link, not its target.
    const bool replacing = ::lstat(target.constData(), &old) == 0 && S_ISREG(old.st_mode);
    TemporaryFile file;
    if (!file.CreateBeside(target))
        return Failed(ReplaceFileStatus::CannotCreate);
    if (!file.WriteAll(bytes, size))
        return Failed(ReplaceFileStatus::CannotWrite);
    if (replacing) {
        // Carrying the old file's permissions and times over is best effort: a file that refuses
        // them keeps those of its writing.
        (void)::fchmod(file.fd(), old.st_mode & 07777);
        if (keepTimes) {
            const struct timespec times[2] = {old.st_atim, old.st_mtim};  // after the last write
            (void)::futimens(file.fd(), times);
        }
    }
    if (replacing || newFile == NewFileDurability::Flushed) {
        // On disk before it takes the name, so a crash leaves the old file or the new one, whole.
        if (::fsync(file.fd()) != 0)
            return Failed(ReplaceFileStatus::CannotWrite);
    } else {
        // The disk gets it now rather than at the next periodic write-back, half a minute later
        // at worst; nothing waits for it.
        (void)::sync_file_range(file.fd(), 0, 0, SYNC_FILE_RANGE_WRITE);
    }
    if (!file.Close())
        return Failed(ReplaceFileStatus::CannotWrite);
    if (::rename(file.path().constData(), target.constData()) != 0)
        return Failed(ReplaceFileStatus::CannotReplace);
    file.Keep();
    return {};
}

QByteArray TempNameBeside(const QByteArray& fileName, quint32 number)
{
    return '.' + ShortenedName(fileName, kMaxNameBytes) + ".tolvane-" +
        QByteArray::number(number, 16).rightJustified(8, '0') + ".tmp";
}

bool IsTempNameBeside(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^\\..*\\.tolvane-[0-9a-f]{8}\\.tmp$"),
                                            QRegularExpression::DotMatchesEverythingOption);
    return pattern.match(name).hasMatch();
}

QStringList RemoveStaleTempFiles(const QString& folder, int minimumAgeSeconds)
{
    QStringList removed;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    // The file system's own clock, not the program's (tests set that one to other years).
    const QDateTime youngest = QDateTime::currentDateTimeUtc().addSecs(-minimumAgeSeconds);
    for (const QFileInfo& entry : entries) {
        if (minimumAgeSeconds > 0 && entry.lastModified().toUTC() > youngest)
            continue;
        if (IsTempNameBeside(entry.fileName()) && QFile::remove(entry.filePath()))
            removed << entry.fileName();
    }
    return removed;
}
