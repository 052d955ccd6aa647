// The file tests and path routines.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

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
