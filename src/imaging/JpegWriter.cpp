#include "JpegWriter.h"

#include "DIBSection.h"
#include "ProductInfo.h"
#include "TolvaneError.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <turbojpeg.h>
#include <unistd.h>

namespace {
QString ErrorSource() { return ExecutableName() + QStringLiteral(".JpegWriter"); }

[[noreturn]] void RaiseInitError(int status)
{
    throw TolvaneError(kJpegWriterError, ErrorSource(),
                       QStringLiteral("Failed to initialise the IJL library: ") + QString::number(status));
}

[[noreturn]] void RaiseWriteError(int status)
{
    throw TolvaneError(kJpegWriterError, ErrorSource(), QStringLiteral("Failed to save to JPG ") + QString::number(status));
}

struct CompressorDeleter {
    void operator()(void* handle) const { tjDestroy(handle); }
};
struct JpegBytesDeleter {
    void operator()(unsigned char* bytes) const { tjFree(bytes); }
};

// An open file that is closed, and removed, unless it is kept.
class TemporaryFile {
public:
    ~TemporaryFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!path_.isEmpty())
            ::unlink(path_.constData());
    }
    // Creates a new, empty file beside `target`, hidden (a leftover after a power cut must not look
    // like a saved picture) and with the permissions any new file gets (0666 less the umask).
    bool CreateBeside(const QByteArray& target)
    {
        const qsizetype slash = target.lastIndexOf('/');
        const QByteArray folder = target.left(slash + 1);
        // Shortened so that a name near the folder's length limit still leaves room for the suffix.
        const QByteArray name = target.mid(slash + 1).left(200);
        for (int attempt = 0; attempt < 16; ++attempt) {
            const QByteArray candidate = folder + '.' + name + '.' +
                QByteArray::number(QRandomGenerator::global()->generate(), 16) + ".tmp";
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
    bool WriteAll(const unsigned char* bytes, std::size_t size)
    {
        while (size > 0) {
            const ssize_t written = ::write(fd_, bytes, size);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return false;
            bytes += written;
            size -= static_cast<std::size_t>(written);
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

// The file a save really replaces: a link is followed, so that the link stays and its target
// gets the new picture.
QByteArray TargetPath(const QString& fileName)
{
    const QFileInfo info(fileName);
    if (info.isSymLink() && info.exists())
        return QFile::encodeName(info.canonicalFilePath());
    return QFile::encodeName(info.absoluteFilePath());
}

// Writes `bytes` under `target` through a temporary file; 0 or a JpegWriterStatus.
int ReplaceFile(const QByteArray& target, const unsigned char* bytes, std::size_t size)
{
    struct stat old {};
    const bool replacing = ::stat(target.constData(), &old) == 0 && S_ISREG(old.st_mode);
    TemporaryFile file;
    if (!file.CreateBeside(target))
        return kJpegCannotCreate;
    if (!file.WriteAll(bytes, size))
        return kJpegCannotWrite;
    if (replacing) {
        // Carrying the old file's permissions and times over is best effort, as it always was:
        // a file that refuses them keeps those of its writing.
        (void)::fchmod(file.fd(), old.st_mode & 07777);
        const struct timespec times[2] = {old.st_atim, old.st_mtim};   // after the last write
        (void)::futimens(file.fd(), times);
    }
    // On disk before it takes the name, so a crash leaves the old picture or the new one, whole.
    if (::fsync(file.fd()) != 0 || !file.Close())
        return kJpegCannotWrite;
    if (::rename(file.path().constData(), target.constData()) != 0)
        return kJpegCannotReplace;
    file.Keep();
    return 0;
}
}

bool SaveDibAsJpeg(const cDIBSection& dib, const QString& fileName, int quality)
{
    const std::unique_ptr<void, CompressorDeleter> compressor(tjInitCompress());
    if (!compressor)
        RaiseInitError(kJpegEncoderRefused);
    if (!dib.DIBSectionBitsPtr() || dib.Width() <= 0 || dib.Height() <= 0)
        RaiseWriteError(kJpegNoPixels);
    if (fileName.isEmpty())
        RaiseWriteError(kJpegCannotCreate);

    // The rows are read where they lie: bottom-up, BytesPerScanLine apart, pad bytes skipped.
    // 4:2:0 chroma is what cameras send and what every viewer expects; the cams' own pictures
    // rarely hold finer colour detail, and it keeps the files small and the encoding quick.
    unsigned char* encoded = nullptr;
    unsigned long encodedSize = 0;
    const int status = tjCompress2(compressor.get(), dib.DIBSectionBitsPtr(), dib.Width(), dib.BytesPerScanLine(),
                                   dib.Height(), TJPF_BGR, &encoded, &encodedSize, TJSAMP_420, quality,
                                   TJFLAG_BOTTOMUP);
    const std::unique_ptr<unsigned char, JpegBytesDeleter> jpeg(encoded);
    if (status != 0)
        RaiseWriteError(kJpegEncoderRefused);

    if (const int written = ReplaceFile(TargetPath(fileName), jpeg.get(), encodedSize); written != 0)
        RaiseWriteError(written);
    return true;
}
