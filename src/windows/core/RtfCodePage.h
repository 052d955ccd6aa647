#pragma once
// Bytes of an RTF document's 8-bit code page (\ansicpg, a font's \fcharset) turned into Unicode.
// Windows-1252 is decoded from our own table, because it is the default of every WordPad file
// and not every Qt build can name it; other code pages go through QStringDecoder and fall back
// to Windows-1252 when this build does not know them.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringDecoder>
#include <memory>

constexpr int kDefaultCodePage = 1252;

// The Windows code page that goes with an RTF \fcharset value; 0 (ANSI), 1 (default) and
// unknown values give documentCodePage.
int CodePageForCharset(int charset, int documentCodePage);

// One byte of Windows-1252 as a UTF-16 unit (bytes Windows leaves undefined map to themselves).
char16_t Windows1252ToUnicode(unsigned char byte);

// Decodes runs of bytes; keeps one decoder per code page for the life of one document.
class CodePageDecoder {
public:
    QString decode(int codePage, const QByteArray& bytes);
    // False when the code page is not known to this build and Windows-1252 stands in for it.
    bool knows(int codePage);

private:
    QStringDecoder* decoderFor(int codePage);
    QHash<int, std::shared_ptr<QStringDecoder>> decoders_;
};
