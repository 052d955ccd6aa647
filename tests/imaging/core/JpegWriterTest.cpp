#include "JpegWriter.h"
#include "DIBSection.h"
#include "PhotoLikePicture.h"
#include "ProductInfo.h"
#include "TolvaneError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cmath>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
double Psnr(const QImage& decoded, const QImage& original)
{
    double squares = 0;
    for (int y = 0; y < original.height(); ++y) {
        for (int x = 0; x < original.width(); ++x) {
            const QRgb a = decoded.pixel(x, y);
            const QRgb b = original.pixel(x, y);
            for (const int d : {qRed(a) - qRed(b), qGreen(a) - qGreen(b), qBlue(a) - qBlue(b)})
                squares += double(d) * d;
        }
    }
    const double meanSquare = squares / (3.0 * original.width() * original.height());
    return meanSquare == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / meanSquare);
}

// Four far-apart colours, one per quadrant: a picture turned upside down or mirrored shows at once.
QImage Quadrants(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool left = x < (width + 1) / 2;
            const bool top = y < (height + 1) / 2;
            picture.setPixel(x, y,
                             top ? (left ? qRgb(220, 30, 30) : qRgb(30, 200, 30))
                                 : (left ? qRgb(30, 30, 220) : qRgb(230, 220, 40)));
        }
    return picture;
}

void SaveAsJpeg(const QImage& picture, const QString& fileName, int quality = 90)
{
    cDIBSection dib;
    dib.CreateFromPicture(picture);
    EXPECT_TRUE(SaveDibAsJpeg(dib, fileName, quality));
}

QByteArray ReadAll(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

struct stat StatOf(const QString& fileName)
{
    struct stat info { };
    EXPECT_EQ(::stat(QFile::encodeName(fileName).constData(), &info), 0) << fileName.toStdString();
    return info;
}
}  // namespace

// ---- Round trip ----

TEST(JpegWriter, APhotoComesBackCloseToTheOriginal)
{
    QTemporaryDir folder;
    const QImage photo = MakePhotoLikePicture(640, 480, 7);
    const QString fileName = folder.filePath("photo.jpg");
    SaveAsJpeg(photo, fileName);
    const QImage decoded(fileName);
    ASSERT_EQ(decoded.size(), photo.size());
    EXPECT_GE(Psnr(decoded, photo), 35.0);
}

TEST(JpegWriter, EncodingInMemoryGivesTheBytesASaveWrites)
{
    QTemporaryDir folder;
    cDIBSection dib;
    dib.CreateFromPicture(MakePhotoLikePicture(320, 240, 3));
    const QByteArray encoded = EncodeDibAsJpeg(dib, 90);
    ASSERT_TRUE(SaveDibAsJpeg(dib, folder.filePath("saved.jpg"), 90));
    QFile saved(folder.filePath("saved.jpg"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(encoded, saved.readAll());
    // An empty DIB is refused as a save of it is.
    cDIBSection empty;
    try {
        EncodeDibAsJpeg(empty, 90);
        ADD_FAILURE() << "an empty DIB was encoded";
    } catch (const TolvaneError& error) {
        EXPECT_EQ(error.description(), QStringLiteral("Failed to save to JPG -2"));
    }
}

struct SizeCase {
    int width;
    int height;
};

class JpegWriterRoundTrip : public testing::TestWithParam<SizeCase> {
protected:
    QTemporaryDir folder;
};

TEST_P(JpegWriterRoundTrip, RowsComeBackWithoutShear)
{
    // Smooth gradients survive JPEG almost untouched at any width; a row read at the wrong pitch
    // shifts every later row by its pad bytes, which swaps colour channels and ruins this.
    const int width = GetParam().width;
    const int height = GetParam().height;
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(40 + 160 * y / height, 200 - 120 * y / height, 60 + 40 * x / width));
    const QString fileName = folder.filePath("smooth.jpg");
    SaveAsJpeg(picture, fileName);
    const QImage decoded(fileName);
    ASSERT_EQ(decoded.size(), picture.size());
    EXPECT_GE(Psnr(decoded, picture), 35.0);
}

TEST_P(JpegWriterRoundTrip, ThePictureStaysUprightAndUnmirrored)
{
    const int width = GetParam().width;
    const int height = GetParam().height;
    const QImage picture = Quadrants(width, height);
    const QString fileName = folder.filePath("quadrants.jpg");
    SaveAsJpeg(picture, fileName);
    const QImage decoded(fileName);
    ASSERT_EQ(decoded.size(), picture.size());
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(width - 1, 0), QPoint(0, height - 1), QPoint(width - 1, height - 1)}) {
        const QRgb want = picture.pixel(corner);
        const QRgb got = decoded.pixel(corner);
        EXPECT_NEAR(qRed(got), qRed(want), 60) << corner.x() << "," << corner.y();
        EXPECT_NEAR(qGreen(got), qGreen(want), 60) << corner.x() << "," << corner.y();
        EXPECT_NEAR(qBlue(got), qBlue(want), 60) << corner.x() << "," << corner.y();
    }
}

INSTANTIATE_TEST_SUITE_P(Widths, JpegWriterRoundTrip,
                         testing::Values(SizeCase{1, 33}, SizeCase{5, 21}, SizeCase{641, 480}),
                         [](const auto& info) { return "Width" + std::to_string(info.param.width); });

// ---- Replacing and creating files ----

TEST(JpegWriter, ReplacingAFileKeepsItsTimesAndPermissionsAndHoldsTheNewPicture)
{
    QTemporaryDir folder;
    const QString fileName = folder.filePath("HarbourCam.jpg");
    const QImage first = MakePhotoLikePicture(160, 120, 1);
    const QImage second = MakePhotoLikePicture(160, 120, 2);
    SaveAsJpeg(first, fileName);
    const QByteArray path = QFile::encodeName(fileName);
    ASSERT_EQ(::chmod(path.constData(), 0640), 0);
    const struct timespec times[2] = {{1178553585, 123456789}, {1178553000, 987654321}};  // access, modification
    ASSERT_EQ(::utimensat(AT_FDCWD, path.constData(), times, 0), 0);

    SaveAsJpeg(second, fileName);

    const struct stat after = StatOf(fileName);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(after.st_atim.tv_sec, times[0].tv_sec);
    EXPECT_EQ(after.st_atim.tv_nsec, times[0].tv_nsec);
    EXPECT_EQ(after.st_mtim.tv_sec, times[1].tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, times[1].tv_nsec);
    const QImage decoded(fileName);
    EXPECT_GE(Psnr(decoded, second), 35.0);
    EXPECT_LT(Psnr(decoded, first), 25.0);
    EXPECT_EQ(Entries(folder.path()), QStringList{"HarbourCam.jpg"});
}

TEST(JpegWriter, ANewFileGetsThePermissionsOfAnyNewFileAndTheTimeOfItsWriting)
{
    QTemporaryDir folder;
    const QString fileName = folder.filePath("new.jpg");
    const QString plainName = folder.filePath("plain.txt");
    WriteAll(plainName, "x");
    const std::time_t before = std::time(nullptr);
    SaveAsJpeg(MakePhotoLikePicture(32, 24, 3), fileName);
    const struct stat saved = StatOf(fileName);
    EXPECT_EQ(saved.st_mode & 07777, StatOf(plainName).st_mode & 07777);
    EXPECT_GE(saved.st_mtim.tv_sec, before - 1);
    EXPECT_EQ(Entries(folder.path()), (QStringList{"new.jpg", "plain.txt"}));
}

TEST(JpegWriter, ALinkKeepsPointingAtTheReplacedPicture)
{
    QTemporaryDir folder;
    const QString real = folder.filePath("real.jpg");
    const QString link = folder.filePath("link.jpg");
    const QImage first = MakePhotoLikePicture(40, 30, 4);
    SaveAsJpeg(first, real);
    ASSERT_TRUE(QFile::link(real, link));
    const QImage second = MakePhotoLikePicture(40, 30, 5);
    SaveAsJpeg(second, link);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    const QImage decoded(real);
    EXPECT_GT(Psnr(decoded, second), Psnr(decoded, first) + 10.0);
}

TEST(JpegWriter, ALinkLeadingOutOfTheFolderIsReplacedAndWhatItPointsAtIsLeftAlone)
{
    // The cam's name and the time make a picture's name foreseeable: a link laid there must not
    // get a file elsewhere overwritten.
    QTemporaryDir outside;
    QTemporaryDir folder;
    const QString precious = outside.filePath("precious.txt");
    WriteAll(precious, "keep me");
    const QString link = folder.filePath("Harbour57200735945PM.jpg");
    ASSERT_TRUE(QFile::link(precious, link));
    const QImage picture = MakePhotoLikePicture(160, 120, 6);
    SaveAsJpeg(picture, link);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_GE(Psnr(QImage(link), picture), 35.0);
    QFile kept(precious);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("keep me"));
    EXPECT_EQ(Entries(outside.path()), QStringList{"precious.txt"});
    EXPECT_EQ(Entries(folder.path()), QStringList{"Harbour57200735945PM.jpg"});
}

// ---- Failures ----

struct FailureCase {
    const char* name;
    int status;
    bool oldFile;                                           // a picture is already there and must survive
    std::function<QString(const QString& folder)> prepare;  // returns the file name to save to
    int quality = 90;
    bool emptyDib = false;
    bool needsNonRoot = false;
    // Runs right before the save and returns what undoes it afterwards.
    std::function<std::function<void()>(const QString& fileName)> arm = [](const QString&) {
        return std::function<void()>([] {});
    };
};

class JpegWriterFailure : public testing::TestWithParam<FailureCase> { };

TEST_P(JpegWriterFailure, RaisesTheWriteErrorAndLeavesTheFolderAsItWas)
{
    const FailureCase& c = GetParam();
    if (c.needsNonRoot && ::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders; the folder-is-a-file case covers refused creation";
    QTemporaryDir folder;
    const QString fileName = c.prepare(folder.path());
    const QByteArray old = "an earlier picture";
    if (c.oldFile)
        WriteAll(fileName, old);
    const QString targetFolder = QFileInfo(fileName).path();
    const QStringList entriesBefore = Entries(targetFolder);

    cDIBSection dib;
    if (!c.emptyDib)
        dib.CreateFromPicture(MakePhotoLikePicture(64, 64, 6));
    const std::function<void()> disarm = c.arm(fileName);
    try {
        SaveDibAsJpeg(dib, fileName, c.quality);
        disarm();
        FAIL() << "no error raised";
    } catch (const TolvaneError& error) {
        disarm();
        EXPECT_EQ(error.number(), 26001u);
        EXPECT_EQ(error.source(), ExecutableName() + ".JpegWriter");
        EXPECT_EQ(error.description(), "Failed to save to JPG " + QString::number(c.status));
    }
    EXPECT_EQ(Entries(targetFolder), entriesBefore);
    if (c.oldFile) {
        EXPECT_EQ(ReadAll(fileName), old);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JpegWriterFailure,
    testing::Values(FailureCase{"FolderMissing", kJpegCannotCreate, false,
                                [](const QString& folder) { return folder + "/missing/cam.jpg"; }},
                    FailureCase{"FolderIsAFile", kJpegCannotCreate, false,
                                [](const QString& folder) {
                                    WriteAll(folder + "/plain", "not a folder");
                                    return folder + "/plain/cam.jpg";
                                }},
                    FailureCase{"ReadOnlyFolder", kJpegCannotCreate, true,
                                [](const QString& folder) {
                                    QDir(folder).mkdir("locked");
                                    return folder + "/locked/cam.jpg";
                                },
                                90, false, true,
                                [](const QString& fileName) {
                                    // The old file is in place by now; the folder is locked for the save only.
                                    const QByteArray locked = QFile::encodeName(QFileInfo(fileName).path());
                                    ::chmod(locked.constData(), 0555);
                                    return std::function<void()>([locked] { ::chmod(locked.constData(), 0700); });
                                }},
                    FailureCase{"DiskRefusesTheBytes", kJpegCannotWrite, true,
                                [](const QString& folder) { return folder + "/cam.jpg"; }, 90, false, false,
                                [](const QString&) {
                                    // A file-size limit makes the write fail part-way, as a full disk would.
                                    struct rlimit previous { };
                                    ::getrlimit(RLIMIT_FSIZE, &previous);
                                    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
                                    struct rlimit limited = previous;
                                    limited.rlim_cur = 1000;
                                    ::setrlimit(RLIMIT_FSIZE, &limited);
                                    return std::function<void()>([previous, handler] {
                                        ::setrlimit(RLIMIT_FSIZE, &previous);
                                        std::signal(SIGXFSZ, handler);
                                    });
                                }},
                    FailureCase{"NameTakenByAFolder", kJpegCannotReplace, false,
                                [](const QString& folder) {
                                    QDir(folder).mkpath("cam.jpg/inside");
                                    return folder + "/cam.jpg";
                                }},
                    FailureCase{"NoName", kJpegCannotCreate, false, [](const QString&) { return QString(); }},
                    FailureCase{"NoPixels", kJpegNoPixels, true,
                                [](const QString& folder) { return folder + "/cam.jpg"; }, 90, true},
                    FailureCase{"QualityOutOfRange", kJpegEncoderRefused, true,
                                [](const QString& folder) { return folder + "/cam.jpg"; }, 101}),
    [](const auto& info) { return std::string(info.param.name); });
