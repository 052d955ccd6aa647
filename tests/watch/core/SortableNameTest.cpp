// The sortable names of saved pictures: a folder per cam and day, read back by the index rebuild;
// cam names that would lead out of the save folder or that a file system refuses; and pictures
// of one second kept apart, never replacing a file.
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

#include "FolderTestSupport.h"
#include "PictureName.h"
#include "PictureSave.h"

namespace {
const QDateTime kAt(QDate(2026, 12, 9), QTime(15, 59, 45));

TEST(SortableNames, AFolderPerCamAndDayAndTimesThatReadBack)
{
    const QString path = BuildSortablePicturePath(QStringLiteral("Harbour Cam"), kAt);
    EXPECT_EQ(path, QStringLiteral("Harbour Cam/2026-12-09/Harbour Cam 2026-12-09 15.59.45.jpg"));
    EXPECT_EQ(KeptApartName(path, 2), QStringLiteral("Harbour Cam/2026-12-09/Harbour Cam 2026-12-09 15.59.45 (2).jpg"));
    EXPECT_EQ(KeptApartName(QStringLiteral("a.b/c"), 3), QStringLiteral("a.b/c (3)"));

    for (const QString& name : {path, KeptApartName(path, 2), KeptApartName(path, 12)}) {
        const std::optional<SortablePicture> read = ReadSortablePicturePath(name);
        ASSERT_TRUE(read.has_value()) << name.toStdString();
        EXPECT_EQ(read->camFolder, QStringLiteral("Harbour Cam"));
        EXPECT_EQ(read->taken, kAt);
    }
    // Not what the saver writes: another cam's or day's folder, " (1)", " (02)", no day folder.
    for (const char* other : {"Harbour/2026-12-09/Harbour Cam 2026-12-09 15.59.45.jpg",
                              "Harbour Cam/2026-12-10/Harbour Cam 2026-12-09 15.59.45.jpg",
                              "Harbour Cam/2026-12-09/Harbour Cam 2026-12-09 15.59.45 (1).jpg",
                              "Harbour Cam/2026-12-09/Harbour Cam 2026-12-09 15.59.45 (02).jpg",
                              "Harbour Cam 2026-12-09 15.59.45.jpg", "HarbourCam129202635945PM.jpg"})
        EXPECT_FALSE(ReadSortablePicturePath(QString::fromUtf8(other)).has_value()) << other;
}

TEST(SortableNames, HostileCamNamesStayOneFolderInsideTheSaveFolder)
{
    const QString nul = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
    const std::vector<std::pair<QString, QString>> cases = {
        {QStringLiteral("../x"), QStringLiteral("_._x")},
        {QStringLiteral("a/b"), QStringLiteral("a_b")},
        {QStringLiteral("..\\..\\win"), QStringLiteral("_._.._win")},
        {nul, QStringLiteral("a_b")},
        {QStringLiteral(".."), QStringLiteral("_")},
        {QStringLiteral(""), QStringLiteral("_")},
        {QStringLiteral(".hidden"), QStringLiteral("_hidden")},
        {QStringLiteral("  Pier 7. "), QStringLiteral("Pier 7")},
        {QStringLiteral("Cam: *Pier*? \"<>|"), QStringLiteral("Cam_ _Pier__ ____")},
        {QStringLiteral("tab\there\nnew"), QStringLiteral("tab_here_new")},
        {QStringLiteral("CON"), QStringLiteral("_CON")},
        {QStringLiteral("nul.cam"), QStringLiteral("_nul.cam")},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString saveFolder = QDir(dir.path()).canonicalPath();
    for (const auto& [cam, folder] : cases) {
        EXPECT_EQ(CamFolderName(cam), folder) << cam.toStdString();
        // The whole path stays three names deep below the save folder, and reads back.
        const QString path = BuildSortablePicturePath(cam, kAt);
        const QString full = QDir::cleanPath(saveFolder + QLatin1Char('/') + path);
        EXPECT_TRUE(full.startsWith(saveFolder + QLatin1Char('/'))) << full.toStdString();
        EXPECT_EQ(path.count(QLatin1Char('/')), 2) << path.toStdString();
        EXPECT_FALSE(path.contains(QChar(0)));
        const std::optional<SortablePicture> read = ReadSortablePicturePath(path);
        ASSERT_TRUE(read.has_value()) << path.toStdString();
        EXPECT_EQ(read->camFolder, folder);
    }

    // A long name is cut to 150 bytes at a whole character, so the file's name stays under 255.
    const QString longName = QString(200, QChar(0x00e9)) + QString::fromUtf8("\xF0\x9F\x8C\x8A");
    const QString cut = CamFolderName(longName);
    EXPECT_LE(cut.toUtf8().size(), 150);
    EXPECT_EQ(cut, QString(75, QChar(0x00e9)));
    const QString emoji = CamFolderName(QString(147, QLatin1Char('x')) + QString::fromUtf8("\xF0\x9F\x8C\x8A"));
    EXPECT_EQ(emoji, QString(147, QLatin1Char('x'))) << "a surrogate pair is never split";
    EXPECT_LT(QFileInfo(BuildSortablePicturePath(longName, kAt)).fileName().toUtf8().size(), 255 - 8);
}

QImage MakeTestImage(QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    return picture;
}

class KeptApart : public ProgramFolderTest {
protected:
    QString pictures() const { return path(QStringLiteral("pictures")); }
};

TEST_F(KeptApart, PicturesOfOneSecondNeverReplaceOneAnother)
{
    // The setting's text: empty is the program folder's cam, a relative path is from the program folder.
    EXPECT_EQ(SaveFolderFromText(QStringLiteral(" ")), path(QStringLiteral("cam")));
    EXPECT_EQ(SaveFolderFromText(QStringLiteral("shots/../pictures")), pictures());
    const SavePlace sortable{SaveFolderFromText(QStringLiteral("pictures")), PictureNamingFromText("sortable")};
    const QString name = PictureFilePath(sortable, QStringLiteral("Harbour Cam"), kAt);
    EXPECT_EQ(name, pictures() + QStringLiteral("/Harbour Cam/2026-12-09/Harbour Cam 2026-12-09 15.59.45.jpg"));
    // The save folder, the cam's and the day's folders are made as needed.
    EXPECT_EQ(SavePicture(MakeTestImage({20, 10}), name, PictureNaming::Sortable), name);
    EXPECT_EQ(SavePicture(MakeTestImage({21, 10}), name, PictureNaming::Sortable), KeptApartName(name, 2));
    // A file someone else put under the third name is left as it is.
    WriteBytes(KeptApartName(name, 3), "not ours");
    EXPECT_EQ(SavePicture(MakeTestImage({22, 10}), name, PictureNaming::Sortable), KeptApartName(name, 4));
    EXPECT_EQ(FileBytes(KeptApartName(name, 3)), QByteArray("not ours"));
    EXPECT_EQ(QImage(name).width(), 20);
    EXPECT_EQ(QImage(KeptApartName(name, 2)).width(), 21);

    // Savers on several threads at once (two codec threads and Save Image): each its own file.
    const QString busy = PictureFilePath(sortable, QStringLiteral("Busy"), kAt);
    std::vector<QString> written(6);
    std::vector<std::thread> savers;
    for (size_t k = 0; k < written.size(); ++k)
        savers.emplace_back([&, k] { written[k] = SavePicture(MakeTestImage({8, 8}), busy, PictureNaming::Sortable); });
    for (std::thread& saver : savers)
        saver.join();
    EXPECT_EQ(QDir(QFileInfo(busy).path()).entryList(QDir::Files).size(), 6);
    EXPECT_EQ(QSet<QString>(written.begin(), written.end()).size(), 6);
}

}  // namespace
