#include "RtfCodePage.h"

#include <array>

namespace {
// 0x80..0x9F of Windows-1252; the rest of the code page equals ISO 8859-1.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString DecodeWindows1252(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes)
        text.append(QChar(Windows1252ToUnicode(static_cast<unsigned char>(c))));
    return text;
}

// The converter name QStringDecoder (ICU behind it) knows for a Windows code page.
QByteArray ConverterName(int codePage)
{
    switch (codePage) {
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 10000:
        return "macintosh";
    case 20127:
        return "US-ASCII";
    case 28591:
        return "ISO-8859-1";
    case 65001:
        return "UTF-8";
    default:
        break;
    }
    if (codePage == 874 || (codePage >= 1250 && codePage <= 1258))
        return "windows-" + QByteArray::number(codePage);
    if (codePage >= 437 && codePage <= 869)  // the DOS (OEM) code pages: 437, 850, 852, ...
        return "IBM" + QByteArray::number(codePage);
    return {};
}
}  // namespace

char16_t Windows1252ToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kWindows1252High[byte - 0x80];
    return byte;
}

int CodePageForCharset(int charset, int documentCodePage)
{
    switch (charset) {
    case 77:
        return 10000;  // Mac Roman
    case 128:
        return 932;  // Shift JIS
    case 129:
        return 949;  // Hangul
    case 134:
        return 936;  // GB2312
    case 136:
        return 950;  // Big5
    case 161:
        return 1253;  // Greek
    case 162:
        return 1254;  // Turkish
    case 163:
        return 1258;  // Vietnamese
    case 177:
        return 1255;  // Hebrew
    case 178:
        return 1256;  // Arabic
    case 186:
        return 1257;  // Baltic
    case 204:
        return 1251;  // Cyrillic
    case 222:
        return 874;  // Thai
    case 238:
        return 1250;  // Eastern European
    case 254:
        return 437;  // PC 437
    case 255:
        return 850;  // OEM
    default:
        return documentCodePage;
    }
}

QStringDecoder* CodePageDecoder::decoderFor(int codePage)
{
    if (codePage == kDefaultCodePage)
        return nullptr;
    auto found = decoders_.find(codePage);
    if (found == decoders_.end()) {
        const QByteArray name = ConverterName(codePage);
        std::shared_ptr<QStringDecoder> decoder;
        if (!name.isEmpty()) {
            decoder = std::make_shared<QStringDecoder>(name.constData());
            if (!decoder->isValid())
                decoder.reset();
        }
        found = decoders_.insert(codePage, decoder);
    }
    return found->get();
}

bool CodePageDecoder::knows(int codePage)
{
    return codePage == kDefaultCodePage || decoderFor(codePage) != nullptr;
}

QString CodePageDecoder::decode(int codePage, const QByteArray& bytes)
{
    QStringDecoder* decoder = decoderFor(codePage);
    if (!decoder)
        return DecodeWindows1252(bytes);
    // Each run stands alone: a lead byte left over from the last run must not swallow this one.
    decoder->resetState();
    return decoder->decode(bytes);
}
