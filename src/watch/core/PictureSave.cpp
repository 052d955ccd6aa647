#include "PictureSave.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <mutex>

#include "DIBSection.h"
#include "Files.h"
#include "JpegWriter.h"
#include "NewPicture.h"
#include "PictureName.h"
#include "ProgramFolder.h"
#include "TolvaneError.h"
#include "WatchLog.h"

namespace {
constexpr int kJpegQuality = 90;  // percent
constexpr int kMostOfOneSecond = 1000;

// The names the saves of this process are writing now: two codec threads and "Save Image" may
// name a picture of the same cam in the same second, and neither file exists until written.
std::mutex& reservedLock()
{
    static std::mutex lock;
    return lock;
}
QSet<QString>& reservedNames()
{
    static QSet<QString> names;
    return names;
}

bool NameTaken(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink() || reservedNames().contains(path);
}

// Holds a free name of the picture's second from the choice to the end of the write.
class FreeName {
public:
    explicit FreeName(const QString& fileName)
    {
        const std::lock_guard lock(reservedLock());
        for (int n = 1; n <= kMostOfOneSecond; ++n) {
            const QString candidate = n == 1 ? fileName : KeptApartName(fileName, n);
            if (!NameTaken(candidate)) {
                name_ = candidate;
                reservedNames().insert(name_);
                return;
            }
        }
        // A thousand pictures of one cam in one second: something else fills the folder.
        throw TolvaneError(
            kJpegWriterError, QStringLiteral("SavePicture"),
            QStringLiteral("Failed to save to JPG %1").arg(kJpegCannotCreate),
            QStringLiteral("%1 and %2 more of the same second are taken").arg(fileName).arg(kMostOfOneSecond - 1));
    }
    ~FreeName()
    {
        const std::lock_guard lock(reservedLock());
        reservedNames().remove(name_);
    }
    FreeName(const FreeName&) = delete;
    FreeName& operator=(const FreeName&) = delete;
    const QString& name() const { return name_; }

private:
    QString name_;
};
}  // namespace

PictureNaming PictureNamingFromText(const QString& text)
{
    return text == QLatin1String("sortable") ? PictureNaming::Sortable : PictureNaming::Classic;
}

QString DefaultSaveFolder()
{
    return ProgramPath(QStringLiteral("cam"));
}

QString SaveFolderFromText(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return DefaultSaveFolder();
    if (trimmed == QLatin1String("~") || trimmed.startsWith(QLatin1String("~/")))
        return QDir::cleanPath(QDir::homePath() + trimmed.sliced(1));
    return QDir::cleanPath(QDir(ProgramFolder()).absoluteFilePath(trimmed));
}

QString SaveFolderOf(const SavePlace& place)
{
    return place.folder.isEmpty() ? DefaultSaveFolder() : place.folder;
}

QString PictureFilePath(const SavePlace& place, const QString& camName, const QDateTime& now)
{
    const QString name = place.naming == PictureNaming::Sortable ? BuildSortablePicturePath(camName, now)
                                                                 : BuildPictureFileName(camName, now);
    return SaveFolderOf(place) + QLatin1Char('/') + name;
}

QString SaveFailureText(const std::exception& error)
{
    if (const auto* raised = dynamic_cast<const TolvaneError*>(&error))
        return raised->fullText();
    return QString::fromLocal8Bit(error.what());
}

void SavePictureAsJpeg(const QImage& picture, const QString& fileName)
{
    // The folder may have been removed while the program runs (by hand, by a clean-up): it is
    // made again rather than losing every new picture until the next start.
    const QString folder = QFileInfo(fileName).path();
    if (MakeFolderIfMissing(folder) == FolderMade::Made)
        qCWarning(lcWatch).noquote() << QStringLiteral("the folder %1 was missing and has been made again").arg(folder);
    cDIBSection dib;
    dib.CreateFromPicture(picture);
    SaveDibAsJpeg(dib, fileName, kJpegQuality);
}

QString SavePicture(const QImage& picture, const QString& fileName, PictureNaming naming)
{
    if (naming == PictureNaming::Classic) {
        SavePictureAsJpeg(picture, fileName);
        return fileName;
    }
    // save folder / cam / day / file: the save folder missing is news (as above), the cam's and
    // the day's folders are made as they come.
    const QString day = QFileInfo(fileName).path();
    const QString cam = QFileInfo(day).path();
    const QString saveFolder = QFileInfo(cam).path();
    if (MakeFolderIfMissing(saveFolder) == FolderMade::Made)
        qCWarning(lcWatch).noquote() << QStringLiteral("the folder %1 was missing and has been made").arg(saveFolder);
    MakeFolderIfMissing(cam);
    MakeFolderIfMissing(day);
    const FreeName name(fileName);
    SavePictureAsJpeg(picture, name.name());
    return name.name();
}
