// Reads any bytes as a help file and puts them into a text document, as the Help window does:
// the reader must end, keep its caps and give valid text, and the document must show that text.
#include <QTextDocument>

#include "FuzzSupport.h"
#include "RtfDocument.h"
#include "RtfReader.h"

namespace {
// The characters a text document stores differently from how they were inserted: paragraph and
// line breaks (in any spelling) become '\n', the no-break space a plain one.
QString Shown(QString text)
{
    for (QChar& c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == QLatin1Char('\r'))
            c = QLatin1Char('\n');
        else if (c == QChar::Nbsp)
            c = QLatin1Char(' ');
    }
    return text;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    StartFuzzApplication(FuzzApp::Gui);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const RtfReadResult result = ReadRtf(FuzzBytes(data, size));
    FUZZ_CHECK(!result.paragraphs.isEmpty(), QString());
    const QString text = result.plainText();
    // Lone UTF-16 halves would reach the text view as broken characters.
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else
            FUZZ_CHECK(!text.at(i).isSurrogate(), QStringLiteral("lone surrogate at %1").arg(i));
    }
    for (const RtfParagraph& paragraph : result.paragraphs)
        FUZZ_CHECK(paragraph.format.tabStops.size() <= kRtfMaxTabStops,
                   QString::number(paragraph.format.tabStops.size()));

    static QTextDocument document;
    BuildRtfDocument(result, document);
    FUZZ_CHECK(document.blockCount() >= result.paragraphs.size(),
               QStringLiteral("%1 paragraphs, %2 blocks").arg(result.paragraphs.size()).arg(document.blockCount()));
    const QString shown = Shown(document.toPlainText());
    const QString expected = Shown(text);
    qsizetype differ = 0;
    while (differ < shown.size() && differ < expected.size() && shown.at(differ) == expected.at(differ))
        ++differ;
    const auto codeAt = [](const QString& s, qsizetype i) {
        return i < s.size() ? QStringLiteral("U+%1").arg(s.at(i).unicode(), 4, 16, QLatin1Char('0'))
                            : QStringLiteral("end");
    };
    FUZZ_CHECK(shown == expected,
               QStringLiteral("document shows %1 characters, the reader read %2; first difference at "
                              "%3: shown %4, read %5")
                   .arg(shown.size())
                   .arg(expected.size())
                   .arg(differ)
                   .arg(codeAt(shown, differ), codeAt(expected, differ)));
    return 0;
}
