#include "RtfDocument.h"

#include <QFile>
#include <QFont>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "Twips.h"

namespace {

Qt::Alignment AlignmentOf(RtfAlignment alignment)
{
    switch (alignment) {
    case RtfAlignment::Center:
        return Qt::AlignHCenter;
    case RtfAlignment::Right:
        return Qt::AlignRight;
    case RtfAlignment::Justify:
        return Qt::AlignJustify;
    case RtfAlignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

// Block margins are in device-independent pixels; RTF gives twips.
QTextBlockFormat BlockFormatOf(const RtfParagraphFormat& format)
{
    QTextBlockFormat block;
    block.setAlignment(AlignmentOf(format.alignment));
    block.setLeftMargin(format.leftIndent / kTwipsPerPixel);
    block.setRightMargin(format.rightIndent / kTwipsPerPixel);
    block.setTextIndent(format.firstLineIndent / kTwipsPerPixel);
    block.setTopMargin(format.spaceBefore / kTwipsPerPixel);
    block.setBottomMargin(format.spaceAfter / kTwipsPerPixel);
    // RTF measures tab stops from the page margin, Qt from where the line starts; the first
    // line (where nearly every tab stands) starts at the left indent plus the first-line indent.
    const int firstLineStart = format.leftIndent + format.firstLineIndent;
    QList<int> stops = format.tabStops;
    // A hanging first line (a bullet or a number, then a tab) reaches the text at the left
    // indent, as in WordPad, though no tab stop was set there.
    if (format.firstLineIndent < 0)
        stops.append(format.leftIndent);
    std::sort(stops.begin(), stops.end());
    QList<QTextOption::Tab> tabs;
    for (const int stop : stops)
        if (stop > firstLineStart)
            tabs.append(QTextOption::Tab((stop - firstLineStart) / kTwipsPerPixel, QTextOption::LeftTab));
    block.setTabPositions(tabs);
    return block;
}

QTextCharFormat CharFormatOf(const RtfCharFormat& format, const RtfReadResult& rtf)
{
    QTextCharFormat chars;
    const int font = format.font >= 0 ? format.font : rtf.defaultFont;
    if (const auto found = rtf.fonts.constFind(font); found != rtf.fonts.constEnd() && !found->name.isEmpty())
        chars.setFontFamilies(QStringList{found->name});
    chars.setFontPointSize(format.fontSize / 2.0);  // \fs counts half-points
    chars.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    chars.setFontItalic(format.italic);
    chars.setFontUnderline(format.underline);
    chars.setFontStrikeOut(format.strike);
    if (format.vertical == RtfVerticalAlignment::Superscript)
        chars.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (format.vertical == RtfVerticalAlignment::Subscript)
        chars.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    // Index 0 is "automatic" in RTF: the viewer's own text colour stays.
    if (const auto color = rtf.colorAt(format.color); format.color > 0 && color)
        chars.setForeground(QColor::fromRgb(*color));
    if (const auto color = rtf.colorAt(format.background); format.background > 0 && color)
        chars.setBackground(QColor::fromRgb(*color));
    return chars;
}

}  // namespace

void BuildRtfDocument(const RtfReadResult& rtf, QTextDocument& document)
{
    document.clear();
    QTextOption option = document.defaultTextOption();
    option.setTabStopDistance(rtf.defaultTab / kTwipsPerPixel);
    document.setDefaultTextOption(option);
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    bool first = true;
    for (const RtfParagraph& paragraph : rtf.paragraphs) {
        if (first)
            cursor.setBlockFormat(BlockFormatOf(paragraph.format));
        else
            cursor.insertBlock(BlockFormatOf(paragraph.format));
        first = false;
        for (const RtfRun& run : paragraph.runs)
            cursor.insertText(run.text, CharFormatOf(run.format, rtf));
    }
    cursor.endEditBlock();
}

bool LoadRtfFile(const QString& path, QTextDocument& document, RtfStatus* status)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        document.clear();
        return false;
    }
    // A help file never comes near the reader's cap; reading one byte past it lets the reader
    // tell a file that was cut off.
    const QByteArray bytes = file.read(kRtfMaxInputBytes + 1);
    const RtfReadResult rtf = ReadRtf(bytes);
    BuildRtfDocument(rtf, document);
    if (status)
        *status = rtf.status;
    return true;
}
