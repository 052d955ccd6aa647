// Replacing a file through a temporary file beside it: the temporary names and their removal
// at start-up (every name made is recognised, no other name is, and removal touches nothing
// else in the folder), and what a replace keeps of the file it replaces.
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include "ReplaceFile.h"

namespace {

bool Touch(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write("x") == 1;
}

struct NameCase {
    const char* label;
    QByteArray name;
};

void PrintTo(const NameCase& c, std::ostream* out)
{
    *out << c.label;
}

class TempNameTest : public testing::TestWithParam<NameCase> { };

TEST_P(TempNameTest, IsHiddenRecognisedAndFitsTheFileSystem)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    for (quint32 number : {0u, 0x1Fu, 0xFFFFFFFFu}) {
        const QByteArray temp = TempNameBeside(GetParam().name, number);
        EXPECT_TRUE(temp.startsWith('.'));
        EXPECT_LE(temp.size(), 255) << "longer than a file name may be";
        const QString name = QFile::decodeName(temp);
        EXPECT_EQ(QFile::encodeName(name), temp) << "a character was cut in two";
        EXPECT_TRUE(IsTempNameBeside(name)) << temp.toStdString();
        // The file system takes the name, and removal finds it again.
        ASSERT_TRUE(Touch(folder.filePath(name))) << temp.toStdString();
        EXPECT_EQ(RemoveStaleTempFiles(folder.path()), QStringList{name});
    }
}

INSTANTIATE_TEST_SUITE_P(Names, TempNameTest,
                         testing::Values(NameCase{"plain", "Harbour 5-7-2007 3-59-45 PM.jpg"},
                                         NameCase{"one letter", "a"}, NameCase{"dots and blanks", ". . .jpg"},
                                         NameCase{"umlauts", "Zürich Hauptbahnhof 07.05.2007 15.59.45.jpg"},
                                         // 3-byte characters across the 200-byte cut.
                                         NameCase{"long, cut inside a character",
                                                  QString(120, QChar(0x6771)).toUtf8() + ".jpg"},
                                         NameCase{"long ASCII", QByteArray(250, 'w') + ".jpg"}));

TEST(TempName, NothingElseIsRecognised)
{
    for (const char* name : {"Harbour.jpg", ".Harbour.jpg", "Harbour.jpg.tolvane-0000001f.tmp",
                             ".Harbour.jpg.1f.tmp",                    // another program's pattern
                             ".Harbour.jpg.tolvane-0000001F.tmp",      // capitals
                             ".Harbour.jpg.tolvane-000001f.tmp",       // seven digits
                             ".Harbour.jpg.tolvane-0000001f.tmp.jpg",  // something after the suffix
                             ".Harbour.jpg.tolvane-0000001g.tmp", "notes.tmp", ".tmp"}) {
        EXPECT_FALSE(IsTempNameBeside(QString::fromUtf8(name))) << name;
    }
}

// With a minimum age, a temporary file another program may be writing now (changed within it)
// stays; an older one goes.
TEST(RemoveStaleTempFiles, WithAMinimumAgeLeavesTheFilesBeingWritten)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QDir dir(folder.path());
    const QString fresh = QFile::decodeName(TempNameBeside("Harbour 1.jpg", 1));
    const QString old = QFile::decodeName(TempNameBeside("Harbour 2.jpg", 2));
    ASSERT_TRUE(Touch(dir.filePath(fresh)));
    ASSERT_TRUE(Touch(dir.filePath(old)));
    QFile oldFile(dir.filePath(old));
    ASSERT_TRUE(oldFile.open(QIODevice::ReadWrite));
    ASSERT_TRUE(oldFile.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-61), QFileDevice::FileModificationTime));
    oldFile.close();
    EXPECT_EQ(RemoveStaleTempFiles(folder.path(), 60), QStringList{old});
    EXPECT_TRUE(QFile::exists(dir.filePath(fresh)));
    EXPECT_EQ(RemoveStaleTempFiles(folder.path()), QStringList{fresh}) << "without an age: every one";
}

TEST(RemoveStaleTempFiles, RemovesOnlyTheWritersOwnFiles)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QDir dir(folder.path());
    const QString stale1 = QFile::decodeName(TempNameBeside("Harbour 1.jpg", 1));
    const QString stale2 = QFile::decodeName(TempNameBeside("Harbour 2.jpg", 2));
    const QStringList kept = {QStringLiteral("Harbour 1.jpg"), QStringLiteral("notes.tmp"),
                              QStringLiteral(".Harbour.jpg.1f.tmp")};
    for (const QString& name : kept + QStringList{stale1, stale2})
        ASSERT_TRUE(Touch(dir.filePath(name)));
    // A folder and a link that carry such names belong to somebody else.
    const QString folderName = QFile::decodeName(TempNameBeside("Folder.jpg", 3));
    const QString linkName = QFile::decodeName(TempNameBeside("Link.jpg", 4));
    ASSERT_TRUE(dir.mkdir(folderName));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("Harbour 1.jpg")), dir.filePath(linkName)));

    QStringList removed = RemoveStaleTempFiles(folder.path());
    removed.sort();
    QStringList expected{stale1, stale2};
    expected.sort();
    EXPECT_EQ(removed, expected);
    QStringList left = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    QStringList expectedLeft = kept + QStringList{folderName, linkName};
    left.sort();
    expectedLeft.sort();
    EXPECT_EQ(left, expectedLeft);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("Harbour 1.jpg"))));
}

TEST(ReplaceFileContents, KeepsTheLinkThePermissionsAndOnRequestTheTimesAndLeavesNoTemporaryFile)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QDir dir(folder.path());
    const QString target = dir.filePath(QStringLiteral("Harbour.jpg"));
    const QString link = dir.filePath(QStringLiteral("Latest.jpg"));
    ASSERT_TRUE(Touch(target));
    ASSERT_TRUE(QFile::link(target, link));
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
    const struct timespec old[2] = {{1'000'000'000, 0}, {1'100'000'000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(target).constData(), old, 0), 0);

    for (bool keepTimes : {true, false}) {
        SCOPED_TRACE(keepTimes ? "keeping the times" : "new times");
        const QByteArray contents = keepTimes ? "first" : "second";
        ASSERT_TRUE(ReplaceFileContents(link, contents, keepTimes).ok());
        EXPECT_TRUE(QFileInfo(link).isSymLink()) << "the link stays a link";
        QFile written(target);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_EQ(written.readAll(), contents);
        struct stat info { };
        ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0640u);
        EXPECT_EQ(info.st_mtim.tv_sec == old[1].tv_sec, keepTimes);
        EXPECT_EQ(dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).size(), 2);
    }
}

// Whether or not it waits for the disk, a new file has its whole contents under its name at once,
// and one that replaces another its permissions, with no temporary file left beside them.
class DurabilityTest : public testing::TestWithParam<NewFileDurability> { };

TEST_P(DurabilityTest, TheFileIsWholeUnderItsNameAtOnce)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QDir dir(folder.path());
    const QString target = dir.filePath(QStringLiteral("Harbour.jpg"));
    const QByteArray first(300'000, 'a'), second(1000, 'b');
    for (const QByteArray& contents : {first, second}) {
        ASSERT_TRUE(ReplaceFileContents(target, contents, false, GetParam()).ok());
        QFile written(target);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_EQ(written.readAll(), contents);
        EXPECT_EQ(dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                  QStringList{QStringLiteral("Harbour.jpg")});
        ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0604), 0);
    }
    EXPECT_EQ(QFileInfo(target).permissions() & QFileDevice::ReadOther, QFileDevice::ReadOther);
    const auto missing = ReplaceFileContents(dir.filePath(QStringLiteral("gone/x.jpg")), first, false, GetParam());
    EXPECT_EQ(missing.status, ReplaceFileStatus::CannotCreate);
}

INSTANTIATE_TEST_SUITE_P(NewFiles, DurabilityTest,
                         testing::Values(NewFileDurability::Flushed, NewFileDurability::Started),
                         [](const testing::TestParamInfo<NewFileDurability>& info) {
                             return info.param == NewFileDurability::Flushed ? std::string("Flushed")
                                                                             : std::string("Started");
                         });

TEST(ReplaceFileContents, AFolderThatIsNotThereChangesNothingAndSaysWhy)
{
    QTemporaryDir folder;
    const auto result = ReplaceFileContents(folder.filePath(QStringLiteral("missing/file.txt")), QByteArray("x"));
    EXPECT_EQ(result.status, ReplaceFileStatus::CannotCreate);
    EXPECT_EQ(result.reason(), QStringLiteral("No such file or directory"));
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("missing"))));
}

}  // namespace
