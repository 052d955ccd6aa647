// Kills a child process with SIGKILL at random moments while it rewrites the cam list or
// replaces a saved picture, the way a power cut or a killed program would stop it, and checks
// what it leaves: the old file or the new one, whole, never a mixture, and no temporary file
// that the next start does not remove.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

#include "CamList.h"
#include "CrashScenario.h"
#include "DIBSection.h"
#include "JpegWriter.h"
#include "ProgramFolder.h"
#include "ReplaceFile.h"

namespace {

constexpr int kKills = 200;
// How long the child may run before it is killed, in microseconds: a few rewrites' worth, so
// that the kills fall at every point of a rewrite, the first one included.
constexpr quint32 kLongestRunUs = 25'000;

QByteArray ReadAll(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// A folder emptied and made again for the next run.
bool FreshFolder(const QString& folder)
{
    return QDir(folder).removeRecursively() && QDir().mkpath(folder);
}

// Whatever the killed child left in folder beside the file it was writing must be a temporary
// file that the next start removes; the count of those it left.
int ExpectOnlyLeftoversTheNextStartRemoves(const QString& folder, const QString& fileName)
{
    QStringList others = Entries(folder);
    others.removeOne(fileName);
    for (const QString& other : others)
        EXPECT_TRUE(IsTempNameBeside(other)) << other.toStdString() << " would stay for good";
    QStringList removed = RemoveStaleTempFiles(folder);  // the next start
    removed.sort();
    others.sort();
    EXPECT_EQ(removed, others);
    EXPECT_EQ(Entries(folder), QStringList{fileName});
    return static_cast<int>(others.size());
}

class ProgramFolderScope {
public:
    explicit ProgramFolderScope(const QString& folder) : previous_(ProgramFolder()) { SetProgramFolder(folder); }
    ~ProgramFolderScope() { SetProgramFolder(previous_); }
    ProgramFolderScope(const ProgramFolderScope&) = delete;
    ProgramFolderScope& operator=(const ProgramFolderScope&) = delete;

private:
    QString previous_;
};

class CrashConsistencyTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        seed = QRandomGenerator::global()->generate();
        random.seed(seed);
        RecordProperty("seed", std::to_string(seed));
    }

    // Starts the child, lets it work for a random time once it is ready, and kills it; it must
    // still be at work then (not stopped on its own by a failure).
    void RunAndKill(const QStringList& arguments)
    {
        QProcess child;
        child.setProgram(QStringLiteral(TOLVANE_CRASH_CHILD));
        child.setArguments(arguments);
        child.start();
        ASSERT_TRUE(child.waitForStarted(10'000)) << child.errorString().toStdString();
        while (!child.canReadLine())
            ASSERT_TRUE(child.waitForReadyRead(10'000)) << child.readAllStandardError().toStdString();
        ASSERT_EQ(child.readLine().trimmed(), "ready");
        std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(kLongestRunUs)));
        child.kill();
        ASSERT_TRUE(child.waitForFinished(10'000));
        EXPECT_EQ(child.exitStatus(), QProcess::CrashExit)
            << "the child stopped by itself: " << child.readAllStandardError().toStdString();
    }

    QTemporaryDir root;
    quint32 seed = 0;
    QRandomGenerator random;
};

// Every whole state of the cam list the child can leave, made here by the same edits.
class CamListStates {
public:
    explicit CamListStates(const QString& folder) : folder_(folder)
    {
        const ProgramFolderScope scope(folder_);
        QStringList names;
        LoadCamList(names);
        AppendCamRecord(CrashScenario::kCamName, CrashScenario::CamUrl(0), CrashScenario::kRefresh);
        states_.push_back(ReadAll(CamListPath()));
    }

    // The file after `edits` edits.
    const QByteArray& after(int edits)
    {
        const ProgramFolderScope scope(folder_);
        while (static_cast<int>(states_.size()) <= edits) {
            const int edit = static_cast<int>(states_.size());
            ReplaceCamRecord({CrashScenario::kCamName, CrashScenario::CamUrl(edit - 1), CrashScenario::kRefresh},
                             {CrashScenario::kCamName, CrashScenario::CamUrl(edit), CrashScenario::kRefresh});
            states_.push_back(ReadAll(CamListPath()));
        }
        return states_[static_cast<size_t>(edits)];
    }

private:
    QString folder_;
    std::vector<QByteArray> states_;
};

TEST_F(CrashConsistencyTest, AKilledCamListRewriteLeavesTheOldOrTheNewFileWhole)
{
    CamListStates states(root.filePath(QStringLiteral("reference")));
    const QString work = root.filePath(QStringLiteral("work"));
    const QString camList = work + QStringLiteral("/00camlist.txt");
    static const QRegularExpression editOf(QStringLiteral("[?&]edit=(\\d+)$"));
    int runsThatEdited = 0;
    int tempFilesLeft = 0;

    for (int kill = 0; kill < kKills; ++kill) {
        SCOPED_TRACE(testing::Message() << "kill " << kill << ", seed " << seed);
        ASSERT_TRUE(FreshFolder(work));
        ASSERT_TRUE(WriteAll(camList, states.after(0)));
        ASSERT_NO_FATAL_FAILURE(RunAndKill({QStringLiteral("camlist"), work}));

        tempFilesLeft += ExpectOnlyLeftoversTheNextStartRemoves(work, QStringLiteral("00camlist.txt"));
        std::optional<CamRecord> cam;
        {
            const ProgramFolderScope scope(work);
            cam = FindCamRecord(CrashScenario::kCamName);
        }
        ASSERT_TRUE(cam.has_value()) << ReadAll(camList).toStdString();
        const QRegularExpressionMatch match = editOf.match(cam->url);
        ASSERT_TRUE(match.hasMatch()) << cam->url.toStdString();
        const int edits = match.captured(1).toInt();
        ASSERT_EQ(ReadAll(camList), states.after(edits)) << "after " << edits << " edits";
        runsThatEdited += edits > 0 ? 1 : 0;
    }
    RecordProperty("runs_that_edited", runsThatEdited);
    RecordProperty("temp_files_left", tempFilesLeft);
    EXPECT_GT(runsThatEdited, 0) << "every kill came before the first edit ended";
}

TEST_F(CrashConsistencyTest, AKilledPictureReplaceLeavesTheOldOrTheNewPictureAndOnlyFilesTheNextStartRemoves)
{
    // The two pictures' files, as a whole save writes them.
    const QString reference = root.filePath(QStringLiteral("reference"));
    ASSERT_TRUE(FreshFolder(reference));
    QByteArray whole[2];
    for (int which = 0; which < 2; ++which) {
        cDIBSection dib;
        dib.CreateFromPicture(CrashScenario::Picture(which));
        const QString fileName = reference + QStringLiteral("/%1.jpg").arg(which);
        SaveDibAsJpeg(dib, fileName, CrashScenario::kQuality);
        whole[which] = ReadAll(fileName);
        ASSERT_FALSE(whole[which].isEmpty());
    }
    ASSERT_NE(whole[0], whole[1]);

    const QString cam = root.filePath(QStringLiteral("cam"));
    const QString pictureName = QStringLiteral("Harbour 5-7-2007 3-59-45 PM.jpg");
    const QString picture = cam + QLatin1Char('/') + pictureName;
    int tempFilesLeft = 0;
    int newPictures = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        SCOPED_TRACE(testing::Message() << "kill " << kill << ", seed " << seed);
        ASSERT_TRUE(FreshFolder(cam));
        ASSERT_TRUE(WriteAll(picture, whole[0]));
        ASSERT_NO_FATAL_FAILURE(RunAndKill({QStringLiteral("jpeg"), picture}));

        const QByteArray left = ReadAll(picture);
        ASSERT_TRUE(left == whole[0] || left == whole[1]) << "a picture of " << left.size() << " bytes is neither";
        newPictures += left == whole[1] ? 1 : 0;
        tempFilesLeft += ExpectOnlyLeftoversTheNextStartRemoves(cam, pictureName);
    }
    RecordProperty("temp_files_left", tempFilesLeft);
    RecordProperty("new_pictures_left", newPictures);
    EXPECT_GT(newPictures + tempFilesLeft, 0) << "every kill came before the first save got anywhere";
}

}  // namespace
