// Start-up removes what a crash left of a file replace: the hidden temporary files beside the
// cam list and in the cam folder, and nothing else.
#include <QFile>

#include "MainWindowFixture.h"
#include "RecorderLock.h"
#include "ReplaceFile.h"

namespace {

bool Touch(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write("left") == 4;
}

TEST_F(MainWindowTest, StartUpRemovesTheTemporaryFilesOfReplacesCutShort)
{
    ListCams({QStringLiteral("Harbour")});
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("cam"))));
    const QString camListLeftover = path(QFile::decodeName(TempNameBeside("00camlist.txt", 0x1234abcd)));
    const QString pictureLeftover = path(QStringLiteral("cam/") + QFile::decodeName(TempNameBeside("Harbour.jpg", 7)));
    const QStringList kept = {path(QStringLiteral("00camlist.txt.backup")), path(QStringLiteral("cam/Harbour.jpg")),
                              path(QStringLiteral("cam/.Harbour.jpg.1f.tmp"))};
    for (const QString& file : kept + QStringList{camListLeftover, pictureLeftover})
        ASSERT_TRUE(Touch(file)) << file.toStdString();

    loadedForm();
    EXPECT_FALSE(QFile::exists(camListLeftover));
    EXPECT_FALSE(QFile::exists(pictureLeftover));
    for (const QString& file : kept)
        EXPECT_TRUE(QFile::exists(file)) << file.toStdString();
    EXPECT_TRUE(prompt.texts.isEmpty());
}

// A recorder on the folder may be writing one of them right now (a picture, its status): the
// window leaves them to it.
TEST_F(MainWindowTest, StartUpLeavesTheTemporaryFilesToARunningRecorder)
{
    ListCams({QStringLiteral("Harbour")});
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("cam"))));
    RecorderLock recorder;
    ASSERT_TRUE(recorder.take(path(QStringLiteral("."))));
    const QString picture = path(QStringLiteral("cam/") + QFile::decodeName(TempNameBeside("Harbour.jpg", 7)));
    const QString status = path(QFile::decodeName(TempNameBeside("tolvane-record.status", 9)));
    ASSERT_TRUE(Touch(picture));
    ASSERT_TRUE(Touch(status));

    loadedForm();
    EXPECT_TRUE(QFile::exists(picture));
    EXPECT_TRUE(QFile::exists(status));
}

}  // namespace
