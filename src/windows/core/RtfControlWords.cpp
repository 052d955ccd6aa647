#include "RtfControlWords.h"

#include <QMap>
#include <QSet>
#include <algorithm>

namespace {

const QSet<QByteArray>& UnderlineWords()
{
    static const QSet<QByteArray> names = {
        "ul",    "uld",      "uldash",    "uldashd",    "uldashdd",  "uldb",       "ulhwave", "ulldash", "ulth",
        "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw",     "ulwave",
    };
    return names;
}

bool ApplyCharacterWord(const QByteArray& word, bool on, int param, RtfCharFormat& chars)
{
    if (word == "plain")
        chars = RtfCharFormat{};
    else if (word == "b")
        chars.bold = on;
    else if (word == "i")
        chars.italic = on;
    else if (word == "strike" || word == "striked")
        chars.strike = on;
    else if (word == "ulnone")
        chars.underline = false;
    else if (UnderlineWords().contains(word))
        chars.underline = on;
    else if (word == "fs")
        chars.fontSize = param > 0 ? std::clamp(param, 2, 3276) : 24;  // half-points, up to 1638 pt
    else if (word == "f")
        chars.font = std::max(param, 0);
    else if (word == "cf")
        chars.color = std::max(param, 0);
    else if (word == "highlight" || word == "cb")
        chars.background = std::max(param, 0);
    else if (word == "super")
        chars.vertical = RtfVerticalAlignment::Superscript;
    else if (word == "sub")
        chars.vertical = RtfVerticalAlignment::Subscript;
    else if (word == "nosupersub")
        chars.vertical = RtfVerticalAlignment::Normal;
    else
        return false;
    return true;
}

bool ApplyParagraphWord(const QByteArray& word, int param, RtfParagraphFormat& paragraph)
{
    if (word == "pard")
        paragraph = RtfParagraphFormat{};
    else if (word == "ql")
        paragraph.alignment = RtfAlignment::Left;
    else if (word == "qc")
        paragraph.alignment = RtfAlignment::Center;
    else if (word == "qr")
        paragraph.alignment = RtfAlignment::Right;
    else if (word == "qj")
        paragraph.alignment = RtfAlignment::Justify;
    else if (word == "li")
        paragraph.leftIndent = ClampTwips(param);
    else if (word == "ri")
        paragraph.rightIndent = ClampTwips(param);
    else if (word == "fi")
        paragraph.firstLineIndent = ClampTwips(param);
    else if (word == "sb")
        paragraph.spaceBefore = ClampTwips(std::max(param, 0));
    else if (word == "sa")
        paragraph.spaceAfter = ClampTwips(std::max(param, 0));
    else if (word == "tx") {
        // A paragraph that lists more stops than any page holds keeps the first ones.
        if (paragraph.tabStops.size() < kRtfMaxTabStops)
            paragraph.tabStops.append(ClampTwips(std::max(param, 0)));
    } else
        return false;
    return true;
}

}  // namespace

int ClampTwips(int value)
{
    return std::clamp(value, -kRtfMaxTwips, kRtfMaxTwips);
}

// Tables we do not use, pictures, headers and footers, metadata.
bool IsSkippedDestination(const QByteArray& word)
{
    static const QSet<QByteArray> names = {
        "stylesheet",
        "info",
        "pict",
        "header",
        "headerl",
        "headerr",
        "headerf",
        "footer",
        "footerl",
        "footerr",
        "footerf",
        "footnote",
        "object",
        "objdata",
        "fldinst",
        "themedata",
        "colorschememapping",
        "latentstyles",
        "datastore",
        "xmlnstbl",
        "listtable",
        "listoverridetable",
        "rsidtbl",
        "generator",
        "filetbl",
        "revtbl",
        "pgdsctbl",
        "template",
        "userprops",
        "nonshppict",
        "shpinst",
        "bkmkstart",
        "bkmkend",
        "annotation",
        "atnid",
        "atnauthor",
        "xe",
        "tc",
        "pn",
        "pnseclvl",
        "private",
        "mmathPr",
        "docvar",
        "fchars",
        "lchars",
        "blipuid",
    };
    return names.contains(word);
}

std::optional<char16_t> SpecialCharacter(const QByteArray& word)
{
    // \line stays inside its paragraph as Unicode's line separator; table cells become tabs.
    static const QMap<QByteArray, char16_t> characters = {
        {"line", 0x2028},    {"tab", u'\t'},        {"cell", u'\t'},       {"emdash", 0x2014}, {"endash", 0x2013},
        {"emspace", 0x2003}, {"enspace", 0x2002},   {"qmspace", 0x2005},   {"bullet", 0x2022}, {"lquote", 0x2018},
        {"rquote", 0x2019},  {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"zwj", 0x200D},    {"zwnj", 0x200C},
        {"ltrmark", 0x200E}, {"rtlmark", 0x200F},
    };
    if (const auto found = characters.constFind(word); found != characters.constEnd())
        return *found;
    return std::nullopt;
}

bool EndsParagraph(const QByteArray& word)
{
    return word == "par" || word == "page" || word == "sect" || word == "row";
}

bool ApplyFormattingWord(const QByteArray& word, bool hasParam, int param, RtfCharFormat& chars,
                         RtfParagraphFormat& paragraph)
{
    const bool on = !hasParam || param != 0;  // "\b" and "\b1" switch on, "\b0" off
    return ApplyCharacterWord(word, on, param, chars) || ApplyParagraphWord(word, param, paragraph);
}
