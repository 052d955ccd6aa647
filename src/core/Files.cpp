#include "Files.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

bool FolderExists(const QString& path)
{
    QString folder = path;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    // "/" alone for the empty text: the root, which always exists.
    return QFileInfo(folder).isDir();
}

FolderMade MakeFolderIfMissing(const QString& path, QString* reason)
{
    if (FolderExists(path))
        return FolderMade::AlreadyThere;
    std::error_code error;
    std::filesystem::create_directory(std::filesystem::path(path.toStdU16String()), error);
    // Another thread may have made it meanwhile: what counts is that it is there now.
    if (!error && FolderExists(path))
        return FolderMade::Made;
    if (reason)
        *reason = error ? QString::fromLocal8Bit(error.message().c_str()) : QStringLiteral("a file has that name");
    return FolderMade::Failed;
}

bool FileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    // No name check beyond this: the name part of the path is the file's own, and a path ending
    // in "/" is never a file here (the system refuses to read it as one).
    return info.isFile() && !info.isHidden();
}

QString FileNameOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.mid(slash + 1);
}

std::optional<QByteArray> ReadNormalFile(const QString& path, qint64 maxBytes)
{
    // Opened without waiting: a pipe would block the open until someone writes to it.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info { };
    std::optional<QByteArray> bytes;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= maxBytes) {
        QByteArray content(static_cast<qsizetype>(info.st_size), Qt::Uninitialized);
        qsizetype done = 0;
        bool failed = false;
        // A file that shrank meanwhile gives what is there; one that grew, what it held when asked.
        while (done < content.size()) {
            const ssize_t got = ::read(fd, content.data() + done, static_cast<size_t>(content.size() - done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                failed = true;
                break;
            }
            if (got == 0)
                break;
            done += got;
        }
        if (!failed) {
            content.truncate(done);
            bytes = std::move(content);
        }
    }
    ::close(fd);
    return bytes;
}
