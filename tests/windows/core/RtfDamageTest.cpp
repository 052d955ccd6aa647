// The RTF reader on input that is cut off, damaged or not RTF at all: it keeps what it could
// read, says what went wrong, and never crashes or loops.
#include <QFile>
#include <gtest/gtest.h>

#include "QtPrinters.h"

#include "RtfReader.h"

namespace {

struct DamageCase {
    const char* name;
    QByteArray rtf;
    const char* expectedUtf8;
    RtfStatus status;
};

class RtfDamage : public testing::TestWithParam<DamageCase> { };

}  // namespace

TEST_P(RtfDamage, KeepsWhatCouldBeRead)
{
    const RtfReadResult result = ReadRtf(GetParam().rtf);
    EXPECT_EQ(result.plainText(), QString::fromUtf8(GetParam().expectedUtf8));
    EXPECT_EQ(result.status, GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(
    Rtf, RtfDamage,
    testing::Values(DamageCase{"EndsInsideText", "{\\rtf1 Hello \\b world", "Hello world", RtfStatus::Truncated},
                    DamageCase{"EndsAfterParagraph", "{\\rtf1 one\\par two\\par", "one\ntwo", RtfStatus::Truncated},
                    DamageCase{"EndsInsideFontTable", "{\\rtf1{\\fonttbl{\\f0 Ari", "", RtfStatus::Truncated},
                    DamageCase{"EndsInsideSkippedGroup", "{\\rtf1 seen{\\pict 0102", "seen", RtfStatus::Truncated},
                    DamageCase{"EndsOnBackslash", "{\\rtf1 abc\\", "abc", RtfStatus::Truncated},
                    DamageCase{"EndsInsideHexEscape", "{\\rtf1 abc\\'e", "abc", RtfStatus::Truncated},
                    DamageCase{"EndsInsideWord", "{\\rtf1 abc\\pa", "abc", RtfStatus::Truncated},
                    DamageCase{"BinLongerThanFile", "{\\rtf1 abc\\bin999999 def}", "abc", RtfStatus::Truncated},
                    DamageCase{"BinSkipsBraces", "{\\rtf1 a{\\pict\\bin3 }}{}b}", "ab", RtfStatus::Complete},
                    DamageCase{"BadHexDigits", "{\\rtf1 a\\'zzb}", "azzb", RtfStatus::Damaged},
                    DamageCase{"HugeNumbers",
                               "{\\rtf1 \\fs99999999999999999999 a\\li-99999999999999 b\\u99999999999999?c}",
                               "ab\xef\xbf\xbd"
                               "c",
                               RtfStatus::Damaged},
                    DamageCase{"OverlongWord", "{\\rtf1 a\\abcdefghijklmnopqrstuvwxyzabcdefghijklmnop b}", "ab",
                               RtfStatus::Damaged},
                    DamageCase{"ExtraClosingBraces", "{\\rtf1 a}}}} trailing", "a", RtfStatus::Complete},
                    DamageCase{"ControlBytesDropped",
                               QByteArray("{\\rtf1 a\x01\x00"
                                          "b\x1f"
                                          "c}",
                                          14),
                               "abc", RtfStatus::Complete},
                    DamageCase{"EmptyDocument", "{\\rtf1}", "", RtfStatus::Complete},
                    DamageCase{"HeaderOnly", "{\\rtf", "", RtfStatus::Truncated},
                    DamageCase{"LeadingBlanks", "\r\n  {\\rtf1 a}", "a", RtfStatus::Complete},
                    DamageCase{"PlainText", "Hello\r\nWorld\r\n", "Hello\nWorld\n", RtfStatus::NotRtf},
                    DamageCase{"PlainTextLatin1", "Caf\xe9\n", "Café\n", RtfStatus::NotRtf},
                    DamageCase{"PlainTextUtf8", "Caf\xc3\xa9", "Café", RtfStatus::NotRtf},
                    DamageCase{"Garbage", QByteArray("\xff\xfe\x00{\\rt", 7), "ÿþ{\\rt", RtfStatus::NotRtf},
                    DamageCase{"EmptyInput", "", "", RtfStatus::NotRtf}),
    [](const testing::TestParamInfo<DamageCase>& info) { return std::string(info.param.name); });

TEST(RtfReader, EveryCutOfADocumentIsReportedAsTruncated)
{
    const QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}{\\colortbl ;\\red255\\green0\\blue0;}"
                           "\\pard\\qc\\b Title\\b0\\par\\pard Caf\\'e9 \\u8364? {\\cf1 red}\\tab end\\par}";
    for (qsizetype cut = 5; cut < rtf.size(); ++cut) {
        const RtfReadResult result = ReadRtf(rtf.left(cut));
        EXPECT_EQ(result.status, RtfStatus::Truncated) << "cut at " << cut;
    }
    EXPECT_EQ(ReadRtf(rtf).status, RtfStatus::Complete);
}

TEST(RtfReader, DeepNestingIsCappedAndTheTextAfterItKept)
{
    const int depth = 100000;
    const QByteArray rtf = "{\\rtf1 " + QByteArray(depth, '{') + "deep" + QByteArray(depth, '}') + "after}";
    const RtfReadResult result = ReadRtf(rtf);
    EXPECT_EQ(result.plainText(), QStringLiteral("deepafter"));
    EXPECT_EQ(result.status, RtfStatus::Damaged);

    const RtfReadResult open = ReadRtf("{\\rtf1 x" + QByteArray(depth, '{') + "y");
    EXPECT_EQ(open.plainText(), QStringLiteral("xy"));
    EXPECT_EQ(open.status, RtfStatus::Truncated);
}

TEST(RtfReader, NestingUpToTheCapKeepsGroupFormatting)
{
    const int inner = kRtfMaxDepth - 2;  // the outer group and the bold one take two levels
    const QByteArray rtf = "{\\rtf1 {\\b " + QByteArray(inner, '{') + "x" + QByteArray(inner, '}') + "}y}";
    const RtfReadResult result = ReadRtf(rtf);
    EXPECT_EQ(result.status, RtfStatus::Complete);
    ASSERT_EQ(result.paragraphs.size(), 1);
    ASSERT_EQ(result.paragraphs[0].runs.size(), 2);
    EXPECT_TRUE(result.paragraphs[0].runs[0].format.bold);
    EXPECT_FALSE(result.paragraphs[0].runs[1].format.bold);
}

TEST(RtfReader, ShippedHelpFileReadsCompletelyWithItsHeadings)
{
    // The shipped help file, from the source tree (the build names its folder: a compiler cache may
    // give this file a relative name, so its own path cannot be trusted).
    const QString path = QStringLiteral(TOLVANE_SOURCE_DIR "/resources/Help.rtf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray rtf = file.readAll();
    const RtfReadResult result = ReadRtf(rtf);
    EXPECT_EQ(result.status, RtfStatus::Complete);
    const QString text = result.plainText();
    EXPECT_GT(text.size(), 2000);
    for (const char* heading : {"Adding a cam", "Editing a cam", "Deleting a cam", "Starting and stopping cams",
                                "The Viewer", "Zoom", "Full-window view", "Saving pictures", "The demo",
                                "Command-line options", "The clock", "Where your files are", "Settings files",
                                "The wall", "The history bar", "Time-lapse videos", "How a cam is doing", "Options"})
        EXPECT_TRUE(text.contains(QLatin1String(heading))) << heading;
    // The settings part shows key paths with backslashes, written \\ in the file; any other
    // backslash in the text would be a control word that leaked.
    EXPECT_EQ(text.count(QLatin1Char('\\')), rtf.count("\\\\")) << "a control word leaked into the text";
    EXPECT_FALSE(text.contains(QLatin1Char('{')));
}
