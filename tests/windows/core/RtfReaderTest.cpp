// The RTF reader: WordPad-style formatting, code pages and Unicode escapes, and damaged input.
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

#include "QtPrinters.h"

#include "RtfDocument.h"
#include "RtfReader.h"

namespace {

// What WordPad writes for a short formatted text, plus the parts a reader must pass over.
const QByteArray kWordPadSample =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1033"
    "{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}{\\f1\\fswiss\\fprq2\\fcharset0 Arial{\\*\\falt Helvetica};}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green77\\blue187;}\r\n"
    "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
    "{\\stylesheet{\\s0 Normal;}}{\\info{\\title Hidden title}}{\\header Header text\\par}\r\n"
    "\\pard\\sa200\\sl276\\slmult1\\qc\\b\\f1\\fs32 Caf\\'e9 Guide\\b0\\f0\\fs22\\par\r\n"
    "\\pard\\sa200\\sl276\\slmult1 Price: 5 \\'80 or 5 \\u8364?, \\i italic\\i0 , \\cf1 red\\cf0 , "
    "\\ul under\\ulnone , \\strike gone\\strike0 .\\par\r\n"
    "{\\pict\\wmetafile8\\picw100\\pich100 0102030405ff}"
    "Tab\\tab here\\line next line\\par\r\n"
    "}\r\n";

const RtfRun* FindRun(const RtfReadResult& result, const QString& text)
{
    for (const RtfParagraph& paragraph : result.paragraphs)
        for (const RtfRun& run : paragraph.runs)
            if (run.text == text)
                return &run;
    return nullptr;
}

QString Escaped(const QString& text)
{
    QString out;
    for (const QChar c : text)
        out += c.unicode() < 0x80 && c.unicode() >= 0x20
            ? QString(c)
            : QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    return out;
}

}  // namespace

TEST(RtfReader, WordPadSampleGivesItsTextOnly)
{
    const RtfReadResult result = ReadRtf(kWordPadSample);
    EXPECT_EQ(result.status, RtfStatus::Complete);
    EXPECT_EQ(
        Escaped(result.plainText()),
        Escaped(QString::fromUtf8("Café Guide\nPrice: 5 € or 5 €, italic, red, under, gone.\nTab\there\nnext line")));
    ASSERT_EQ(result.paragraphs.size(), 3);
    EXPECT_EQ(result.paragraphs[0].format.alignment, RtfAlignment::Center);
    EXPECT_EQ(result.paragraphs[1].format.alignment, RtfAlignment::Left);  // \pard resets it
    EXPECT_EQ(result.paragraphs[1].format.spaceAfter, 200);
    EXPECT_TRUE(result.paragraphs[2].text().contains(QChar(0x2028)));  // \line stays inside the paragraph
}

TEST(RtfReader, WordPadSampleKeepsFormatting)
{
    const RtfReadResult result = ReadRtf(kWordPadSample);
    ASSERT_EQ(result.fonts.value(1).name, QStringLiteral("Arial"));
    EXPECT_EQ(result.fonts.value(0).name, QStringLiteral("Calibri"));
    ASSERT_EQ(result.colors.size(), 3);
    EXPECT_FALSE(result.colors[0].has_value());
    EXPECT_EQ(result.colorAt(2), std::optional<QRgb>(qRgb(0, 77, 187)));

    const RtfRun* title = FindRun(result, QString::fromUtf8("Café Guide"));
    ASSERT_NE(title, nullptr);
    EXPECT_TRUE(title->format.bold);
    EXPECT_EQ(title->format.font, 1);
    EXPECT_EQ(title->format.fontSize, 32);

    const RtfRun* italic = FindRun(result, QStringLiteral("italic"));
    ASSERT_NE(italic, nullptr);
    EXPECT_TRUE(italic->format.italic);
    EXPECT_FALSE(italic->format.bold);
    EXPECT_EQ(italic->format.fontSize, 22);

    const RtfRun* red = FindRun(result, QStringLiteral("red"));
    ASSERT_NE(red, nullptr);
    EXPECT_EQ(result.colorAt(red->format.color), std::optional<QRgb>(qRgb(255, 0, 0)));

    const RtfRun* under = FindRun(result, QStringLiteral("under"));
    ASSERT_NE(under, nullptr);
    EXPECT_TRUE(under->format.underline);
    const RtfRun* gone = FindRun(result, QStringLiteral("gone"));
    ASSERT_NE(gone, nullptr);
    EXPECT_TRUE(gone->format.strike);
    EXPECT_FALSE(gone->format.underline);  // \ulnone ended it
}

TEST(RtfReader, GroupsRestoreFormattingAndPlainResetsIt)
{
    const RtfReadResult result = ReadRtf("{\\rtf1 a{\\b b{\\i c}d}e\\b\\i f\\plain g}");
    EXPECT_EQ(result.plainText(), QStringLiteral("abcdefg"));
    ASSERT_NE(FindRun(result, QStringLiteral("c")), nullptr);
    EXPECT_TRUE(FindRun(result, QStringLiteral("c"))->format.bold);
    EXPECT_TRUE(FindRun(result, QStringLiteral("c"))->format.italic);
    EXPECT_FALSE(FindRun(result, QStringLiteral("d"))->format.italic);
    EXPECT_FALSE(FindRun(result, QStringLiteral("e"))->format.bold);
    EXPECT_TRUE(FindRun(result, QStringLiteral("f"))->format.italic);
    EXPECT_EQ(FindRun(result, QStringLiteral("g"))->format, RtfCharFormat{});
}

TEST(RtfReader, DocumentCarriesFormatsIntoTheTextView)
{
    QTextDocument document;
    BuildRtfDocument(ReadRtf(kWordPadSample), document);
    EXPECT_EQ(document.blockCount(), 3);
    const QTextBlock title = document.firstBlock();
    EXPECT_EQ(title.blockFormat().alignment(), Qt::AlignHCenter);
    QTextCursor cursor(title);
    cursor.movePosition(QTextCursor::Right);  // the format of the first character
    EXPECT_EQ(cursor.charFormat().fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(cursor.charFormat().fontPointSize(), 16.0);
    EXPECT_EQ(cursor.charFormat().fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")});

    const int redAt = document.toPlainText().indexOf(QStringLiteral("red"));
    ASSERT_GE(redAt, 0);
    cursor.setPosition(redAt + 1);
    EXPECT_EQ(cursor.charFormat().foreground().color(), QColor(255, 0, 0));
    // 200 twips after the paragraph are 200 / 15 pixels.
    EXPECT_NEAR(document.findBlockByNumber(1).blockFormat().bottomMargin(), 200 / 15.0, 1e-9);
}

// One rule, many inputs: the text a piece of RTF stands for.
struct TextCase {
    const char* name;
    QByteArray rtf;
    const char* expectedUtf8;
};

class RtfText : public testing::TestWithParam<TextCase> { };

TEST_P(RtfText, ReadsAs)
{
    const RtfReadResult result = ReadRtf(GetParam().rtf);
    EXPECT_EQ(Escaped(result.plainText()), Escaped(QString::fromUtf8(GetParam().expectedUtf8)));
}

std::string CaseName(const testing::TestParamInfo<TextCase>& info)
{
    return info.param.name;
}

// \'hh is a byte of the document's (or the font's) code page.
INSTANTIATE_TEST_SUITE_P(
    CodePages, RtfText,
    testing::Values(TextCase{"Default1252", "{\\rtf1\\ansi \\'e9\\'80\\'93\\'9f\\'ff}", "é€“Ÿÿ"},
                    TextCase{"NoCharsetKeyword", "{\\rtf1 \\'e9\\'80}", "é€"},
                    TextCase{"UndefinedBytesKept", "{\\rtf1 \\'81\\'8d}", "\xc2\x81\xc2\x8d"},
                    TextCase{"RawBytesToo", "{\\rtf1\\ansi Caf\xe9 \x80}", "Café €"},
                    TextCase{"Pc437", "{\\rtf1\\pc \\'82\\'e9\\'9c}", "éΘ£"},
                    TextCase{"Pca850", "{\\rtf1\\pca \\'82\\'e9\\'9c}", "éÚ£"},
                    TextCase{"AnsiCpg1251", "{\\rtf1\\ansi\\ansicpg1251 \\'e9\\'c0}", "йА"},
                    TextCase{"UnknownFallsBackTo1252", "{\\rtf1\\ansi\\ansicpg4242 \\'e9\\'80}", "é€"},
                    TextCase{"FontCharsetWins",
                             "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Arial Cyr;}}"
                             "\\'e9{\\f1 \\'e9}\\'e9}",
                             "éйé"},
                    TextCase{"HexCaseAndNeighbours", "{\\rtf1 x\\'E9y\\'e9z}", "xéyéz"}),
    CaseName);

// \uN escapes and the fallback characters \ucN says follow them.
INSTANTIATE_TEST_SUITE_P(
    UnicodeEscapes, RtfText,
    testing::Values(TextCase{"Uc1SkipsOne", "{\\rtf1\\uc1 a\\u8364?b}", "a€b"},
                    TextCase{"DefaultIsOne", "{\\rtf1 a\\u8364?b}", "a€b"},
                    TextCase{"Uc2SkipsTwoBytes", "{\\rtf1\\uc2 a\\u8364\\'80\\'80b}", "a€b"},
                    TextCase{"Uc0SkipsNothing", "{\\rtf1\\uc0 a\\u8364 ?b}", "a€?b"},
                    TextCase{"FallbackIsAControlWord", "{\\rtf1 a\\u8364\\bullet b}", "a€b"},
                    TextCase{"NegativeWraps", "{\\rtf1 \\u-3913?\\u-200?}", "\xef\x82\xb7\xef\xbc\xb8"},
                    // No document may hold a noncharacter; the text view reads U+FDD0 as a frame mark.
                    TextCase{"NonCharactersReplaced", "{\\rtf1 a\\u-560?\\u-1?\\u-10177?\\u-8194?b}",
                             "a\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"
                             "b"},
                    TextCase{"SurrogatePair", "{\\rtf1 \\u-10179?\\u-8704?}", "\xf0\x9f\x98\x80"},
                    TextCase{"LoneSurrogateReplaced", "{\\rtf1 a\\u-10179?b}",
                             "a\xef\xbf\xbd"
                             "b"},
                    TextCase{"OutOfRangeReplaced", "{\\rtf1 \\u70000?x}", "\xef\xbf\xbdx"},
                    TextCase{"GroupEndStopsSkipping", "{\\rtf1\\uc3 {\\u8364}ab}", "€ab"},
                    TextCase{"UcIsGroupLocal", "{\\rtf1 {\\uc2 \\u8364??}\\u8364?x}", "€€x"},
                    TextCase{"SpecialCharacters",
                             "{\\rtf1 \\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\~\\{\\}\\\\}",
                             "—–‘’“”\xc2\xa0{}\\"}),
    CaseName);

TEST(RtfReader, HangingBulletAndTabStopsLineUpWithTheIndent)
{
    // WordPad's bullet: the first line hangs 360 twips left of the 720-twip indent.
    const RtfReadResult bullet = ReadRtf("{\\rtf1 {\\pntext\\bullet\\tab}\\pard\\fi-360\\li720 Item\\par}");
    EXPECT_EQ(bullet.plainText(), QString::fromUtf8("•\tItem"));
    QTextDocument document;
    BuildRtfDocument(bullet, document);
    const QList<QTextOption::Tab> hanging = document.firstBlock().blockFormat().tabPositions();
    ASSERT_EQ(hanging.size(), 1);
    // Qt counts from where the first line starts (360 twips in), so the stop is 360 twips on.
    EXPECT_NEAR(hanging[0].position, 360 / 15.0, 1e-9);

    // Stops set with \tx count from the margin; \pard forgets them.
    const RtfReadResult stops = ReadRtf("{\\rtf1\\pard\\li1440\\tx2880\\tx720 a\\tab b\\par\\pard c\\par}");
    ASSERT_EQ(stops.paragraphs.size(), 2);
    EXPECT_EQ(stops.paragraphs[0].format.tabStops, (QList<int>{2880, 720}));
    EXPECT_TRUE(stops.paragraphs[1].format.tabStops.isEmpty());
    BuildRtfDocument(stops, document);
    const QList<QTextOption::Tab> fromIndent = document.firstBlock().blockFormat().tabPositions();
    ASSERT_EQ(fromIndent.size(), 1);  // the stop left of the indent cannot be reached
    EXPECT_NEAR(fromIndent[0].position, (2880 - 1440) / 15.0, 1e-9);
}
