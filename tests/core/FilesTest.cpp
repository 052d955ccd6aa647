// The file tests and path routines.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>
#include <sys/stat.h>

#include "Files.h"

namespace {
void Touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

class FileTests : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(QDir(dir_.path()).mkdir("cam"));
        ASSERT_TRUE(QDir(dir_.path()).mkdir("empty"));
        Touch(dir_.filePath("Help.rtf"));
        Touch(dir_.filePath("a.txt"));
        Touch(dir_.filePath(".hidden"));
    }
    QString at(const QString& name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};
}  // namespace

TEST_F(FileTests, FolderExistsWithOrWithoutTrailingSlashAndForTheRoot)
{
    for (const QString& folder : {at("cam"), at("cam") + "/", at("empty"), dir_.path()}) {
        EXPECT_TRUE(FolderExists(folder)) << folder.toStdString();
    }
    EXPECT_TRUE(FolderExists(""));
    EXPECT_TRUE(FolderExists("/"));
    for (const QString& notFolder : {at("missing"), at("missing") + "/", at("a.txt"), at("a.txt") + "/"}) {
        EXPECT_FALSE(FolderExists(notFolder)) << notFolder.toStdString();
    }
}

TEST_F(FileTests, FileExistsOnlyForNormalFilesNamedExactly)
{
    EXPECT_TRUE(FileExists(at("Help.rtf")));
    EXPECT_TRUE(FileExists(at("a.txt")));
    EXPECT_FALSE(FileExists(at("cam")));      // a folder
    EXPECT_FALSE(FileExists(at(".hidden")));  // hidden
    EXPECT_FALSE(FileExists(at("*.txt")));    // wild cards name no file
    EXPECT_FALSE(FileExists(at("?.txt")));
    EXPECT_FALSE(FileExists(at("a.txt") + "/"));  // no file name
    EXPECT_FALSE(FileExists(at("missing.rtf")));
    EXPECT_FALSE(FileExists(""));
    // Names are case-sensitive on this platform: a path that would not open is not a file.
    EXPECT_FALSE(FileExists(at("HELP.RTF")));
}

struct FileNameCase {
    const char* path;
    const char* name;
};

// Names the case in the test's name and its failure output.
void PrintTo(const FileNameCase& c, std::ostream* out)
{
    *out << '"' << c.path << '"';
}

class FileNameOfPaths : public testing::TestWithParam<FileNameCase> { };

TEST_P(FileNameOfPaths, IsTheTextAfterTheLastSlash)
{
    EXPECT_EQ(FileNameOf(QString::fromUtf8(GetParam().path)).toStdString(), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Utilities, FileNameOfPaths,
                         testing::Values(FileNameCase{"/a/b.txt", "b.txt"}, FileNameCase{"b.txt", "b.txt"},
                                         FileNameCase{"/a/", ""}, FileNameCase{"", ""}, FileNameCase{"/", ""},
                                         FileNameCase{"a//b", "b"}, FileNameCase{"C:\\a\\b.txt", "C:\\a\\b.txt"},
                                         FileNameCase{"/x/C:\\a\\b.txt", "C:\\a\\b.txt"}));

TEST_F(FileTests, ReadNormalFileReadsPlainFilesOnlyAndNoMoreThanAllowed)
{
    {
        QFile file(at("a.jpg"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write("0123456789"), 10);
    }
    ASSERT_TRUE(QFile::link(at("a.jpg"), at("link.jpg")));
    EXPECT_EQ(ReadNormalFile(at("a.jpg"), 10), QByteArray("0123456789"));
    EXPECT_EQ(ReadNormalFile(at("link.jpg"), 10), QByteArray("0123456789"));
    EXPECT_EQ(ReadNormalFile(at("Help.rtf"), 10), QByteArray());
    EXPECT_FALSE(ReadNormalFile(at("a.jpg"), 9).has_value());

    // What anyone could leave under a picture's name: a device that never ends, a pipe with no
    // writer (an open that waited for one would never return), a folder, nothing at all.
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), at("zero.jpg")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(at("pipe.jpg")).constData(), 0600), 0);
    for (const char* name : {"zero.jpg", "pipe.jpg", "cam", "missing.jpg"})
        EXPECT_FALSE(ReadNormalFile(at(name), qint64(1) << 40).has_value()) << name;
}
