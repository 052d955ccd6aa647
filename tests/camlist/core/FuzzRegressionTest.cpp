// Cam list files that fuzzing found mishandled, kept as tests so the faults stay fixed.
#include <QStringDecoder>
#include <gtest/gtest.h>
#include <ostream>

#include "CamList.h"
#include "CamListTestSupport.h"

namespace {
struct OldFile {
    const char* label;
    QByteArray bytes;  // a file as an older program wrote it, in Windows-1252
    friend void PrintTo(const OldFile& file, std::ostream* out) { *out << file.label; }
};

class AppendToWindows1252File : public ProgramFolderTest, public testing::WithParamInterface<OldFile> { };
}  // namespace

// Appending a name with letters outside ASCII to a Windows-1252 file used to write UTF-8 bytes
// into it: the file then read as Windows-1252 as a whole, the new cam was listed as "ZÃ¼rich"
// and could not be found by its name.
TEST_P(AppendToWindows1252File, KeepsOldAndNewNamesReadable)
{
    WriteBytes(CamListPath(), GetParam().bytes);
    const QString oldName = QString::fromUtf8("Café €“");
    const QString newName = QString::fromUtf8("Zürich");

    AppendCamRecord(newName, QString::fromUtf8("http://cam.example/bild-ä.jpg"), "60");

    QStringList listed;
    LoadCamList(listed);
    EXPECT_EQ(listed, QStringList({oldName, newName}));
    const auto added = FindCamRecord(newName);
    ASSERT_TRUE(added);
    EXPECT_EQ(added->url, QString::fromUtf8("http://cam.example/bild-ä.jpg"));
    EXPECT_EQ(added->refresh, "60");
    const auto kept = FindCamRecord(oldName);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->url, QString::fromUtf8("http://h/ü.jpg"));
    // The whole file is one encoding again.
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8.decode(FileBytes(CamListPath()));
    EXPECT_FALSE(utf8.hasError());
}

INSTANTIATE_TEST_SUITE_P(
    Files, AppendToWindows1252File,
    testing::Values(OldFile{"Terminated", QByteArray("[name]Caf\xE9 \x80\x93\r\nhttp://h/\xFC.jpg\r\n60\r\n")},
                    OldFile{"LastLineUnterminated", QByteArray("[name]Caf\xE9 \x80\x93\r\nhttp://h/\xFC.jpg\r\n60")}),
    [](const testing::TestParamInfo<OldFile>& info) { return std::string(info.param.label); });
