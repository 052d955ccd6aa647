#pragma once
// Our own reader for the rich text WordPad writes: it turns RTF bytes into paragraphs of
// formatted runs without any widget, so the Help window, the tests and the fuzz target share it.
// Bad or truncated input gives whatever could be read before the damage; it never throws.
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QRgb>
#include <QString>
#include <optional>

enum class RtfAlignment { Left, Center, Right, Justify };
enum class RtfVerticalAlignment { Normal, Superscript, Subscript };

// Character formatting of one run; colour and font are indexes into the document's tables.
struct RtfCharFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    RtfVerticalAlignment vertical = RtfVerticalAlignment::Normal;
    int fontSize = 24;   // half-points, as \fs gives it (24 = 12 pt)
    int font = -1;       // \f number; -1 = the document's default font (\deff)
    int color = 0;       // \cf index into the colour table; 0 = automatic
    int background = 0;  // \highlight / \cb index; 0 = none
    bool operator==(const RtfCharFormat&) const = default;
};

// Paragraph formatting; distances are in twips (1/1440 inch), as RTF writes them.
struct RtfParagraphFormat {
    RtfAlignment alignment = RtfAlignment::Left;
    int leftIndent = 0;       // \li, twips
    int rightIndent = 0;      // \ri, twips
    int firstLineIndent = 0;  // \fi, twips (negative for hanging bullets)
    int spaceBefore = 0;      // \sb, twips
    int spaceAfter = 0;       // \sa, twips
    QList<int> tabStops;      // \tx, twips from the left margin, in the order given
    bool operator==(const RtfParagraphFormat&) const = default;
};

struct RtfRun {
    QString text;  // tabs as '\t', \line as U+2028
    RtfCharFormat format;
};

struct RtfParagraph {
    RtfParagraphFormat format;
    QList<RtfRun> runs;
    QString text() const;
};

struct RtfFont {
    QString name;
    int charset = 0;  // \fcharset
};

enum class RtfStatus {
    Complete,   // the document's outer group closed
    Truncated,  // the input ended inside the document (or passed the size cap)
    Damaged,    // read to its end, but with defects (nesting past the cap, stray bytes after a backslash)
    NotRtf,     // no "{\rtf" at the start: the bytes were shown as plain text
};

struct RtfReadResult {
    RtfStatus status = RtfStatus::Complete;
    QList<RtfParagraph> paragraphs;
    QMap<int, RtfFont> fonts;           // \fonttbl by font number
    QList<std::optional<QRgb>> colors;  // \colortbl; an empty entry means automatic
    int defaultFont = 0;                // \deff
    int codePage = 1252;                // \ansicpg (or \mac, \pc, \pca)
    int defaultTab = 720;               // \deftab, twips between default tab stops
    // The paragraphs' text joined with '\n'; \line shows as '\n' too.
    QString plainText() const;
    // The colour for a \cf index, when the table holds one.
    std::optional<QRgb> colorAt(int index) const;
};

// Limits that keep a hostile file from costing more than a help file should.
constexpr int kRtfMaxDepth = 200;                  // groups nested deeper share the outer state
constexpr int kRtfMaxTabStops = 64;                // tab stops kept per paragraph
constexpr qsizetype kRtfMaxInputBytes = 16 << 20;  // bytes past this are not read

RtfReadResult ReadRtf(const QByteArray& rtf);
