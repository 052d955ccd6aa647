#include "TempFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// Points the system's temporary folder at a folder of the test's own for its lifetime.
class TempFolderTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        previous = qgetenv("TMPDIR");
        hadPrevious = qEnvironmentVariableIsSet("TMPDIR");
        useFolder(folder.path());
    }
    void TearDown() override
    {
        if (hadPrevious)
            qputenv("TMPDIR", previous);
        else
            qunsetenv("TMPDIR");
    }
    static void useFolder(const QString& path) { qputenv("TMPDIR", QFile::encodeName(path)); }

    QTemporaryDir folder;
    QByteArray previous;
    bool hadPrevious = false;
};
}  // namespace

TEST_F(TempFolderTest, MakesNewEmptyFilesWithUniqueNamesInTheTemporaryFolder)
{
    static const QRegularExpression name(QStringLiteral("^vbt[0-9A-F]{4}\\.tmp$"));
    QSet<QString> made;
    for (int i = 0; i < 200; ++i) {
        const QString path = MakeTempFile(QStringLiteral("vbt"));
        ASSERT_FALSE(path.isEmpty());
        const QFileInfo info(path);
        EXPECT_TRUE(info.isFile());
        EXPECT_EQ(info.size(), 0);
        EXPECT_EQ(info.canonicalPath(), QDir(folder.path()).canonicalPath());
        EXPECT_TRUE(name.match(info.fileName()).hasMatch()) << info.fileName().toStdString();
        made.insert(path);
    }
    EXPECT_EQ(made.size(), 200);
}

TEST_F(TempFolderTest, NeverReusesAFileThatIsThere)
{
    // Take a good share of the 65536 names with files that must survive untouched.
    QDir dir(folder.path());
    for (int n = 0; n < 0x10000; n += 64) {
        const QString digits = QStringLiteral("%1").arg(n, 4, 16, QLatin1Char('0')).toUpper();
        QFile file(dir.filePath(QStringLiteral("vbt") + digits + QStringLiteral(".tmp")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("keep");
    }
    const qsizetype before = dir.entryList(QDir::Files).size();
    for (int i = 0; i < 300; ++i) {
        const QString path = MakeTempFile(QStringLiteral("vbt"));
        ASSERT_FALSE(path.isEmpty());
        EXPECT_EQ(QFileInfo(path).size(), 0) << path.toStdString();
    }
    EXPECT_EQ(dir.entryList(QDir::Files).size(), before + 300);
    for (const QString& entry : dir.entryList(QDir::Files)) {
        const qint64 size = QFileInfo(dir.filePath(entry)).size();
        EXPECT_TRUE(size == 0 || size == 4) << entry.toStdString();
    }
}

TEST_F(TempFolderTest, GivesAnEmptyTextWhenNoFileCanBeMade)
{
    useFolder(folder.filePath(QStringLiteral("missing")));
    EXPECT_EQ(MakeTempFile(QStringLiteral("vbt")), QString());

    const QString plainFile = folder.filePath(QStringLiteral("plain"));
    QFile file(plainFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    useFolder(plainFile);
    EXPECT_EQ(MakeTempFile(QStringLiteral("vbt")), QString());

    useFolder(folder.path());
    EXPECT_EQ(MakeTempFile(QStringLiteral("../vbt")), QString());
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).contains(QStringLiteral("plain")));
}
