#include "RtfReader.h"

#include <algorithm>
#include <limits>

#include "RtfCodePage.h"
#include "RtfControlWords.h"

namespace {

enum class Destination { Text, Skip, FontTable, ColorTable };

// What a group carries and restores when it closes.
struct GroupState {
    Destination destination = Destination::Text;
    RtfCharFormat chars;
    RtfParagraphFormat paragraph;
    int unicodeSkip = 1;  // \uc: fallback characters that follow each \u
};

constexpr int kMaxWordLetters = 32;  // RTF control words are never longer
constexpr int kMaxParamDigits = 10;  // enough for any 32-bit value; more digits are read and dropped

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexValue(char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Replaces UTF-16 halves that lost their partner (a damaged \u pair) so the text stays valid,
// and noncharacters (U+FDD0-U+FDEF, U+xFFFE, U+xFFFF), which no document may hold: the text
// view keeps two of them as its own frame marks and would show them as line breaks.
void RepairText(QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            if (QChar::isNonCharacter(QChar::surrogateToUcs4(c, text.at(i + 1)))) {
                text[i] = QChar::ReplacementCharacter;
                text.remove(i + 1, 1);
            } else {
                ++i;
            }
        } else if (c.isSurrogate() || c.isNonCharacter()) {
            text[i] = QChar::ReplacementCharacter;
        }
    }
}

// One pass over the bytes, keeping a stack of group states like every RTF reader does.
class RtfParser {
public:
    RtfParser(const QByteArray& input, qsizetype start) : input_(input), pos_(start) { }
    RtfReadResult read();

private:
    void openGroup();
    void closeGroup();
    void readControl();
    void readHexByte();
    void controlWord(const QByteArray& word, bool hasParam, int param);
    void controlSymbol(char c);
    void textByte(char c);
    void unicodeChar(char16_t c);
    void emitText(const QString& text);
    void endParagraph();
    void flushBytes();
    void finishFontEntry();
    void finishColorEntry();
    int codePageOfCurrentFont() const;
    void finish();

    const QByteArray& input_;
    qsizetype pos_ = 0;
    qsizetype size_ = 0;
    QList<GroupState> stack_;
    GroupState state_;
    int overflow_ = 0;     // groups opened past kRtfMaxDepth, still to be closed
    bool closed_ = false;  // the outer group has closed
    bool truncated_ = false;
    bool damaged_ = false;
    int fallbackToSkip_ = 0;  // fallback characters of the last \u still to drop
    RtfReadResult result_;
    CodePageDecoder decoder_;
    QByteArray pendingBytes_;  // text bytes not yet decoded, all in pendingCodePage_
    int pendingCodePage_ = kDefaultCodePage;
    // Font table entry being read.
    int entryFont_ = -1;
    RtfFont entry_;
    QByteArray entryNameBytes_;
    // Colour table entry being read.
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorGiven_ = false;
};

RtfReadResult RtfParser::read()
{
    size_ = std::min(input_.size(), kRtfMaxInputBytes);
    truncated_ = input_.size() > kRtfMaxInputBytes;
    result_.paragraphs.append(RtfParagraph{});
    const char* data = input_.constData();
    while (pos_ < size_ && !closed_) {
        const char c = data[pos_++];
        switch (c) {
        case '{':
            flushBytes();
            fallbackToSkip_ = 0;
            openGroup();
            break;
        case '}':
            flushBytes();
            fallbackToSkip_ = 0;
            closeGroup();
            break;
        case '\\':
            readControl();
            break;
        case '\r':
        case '\n':
        case '\0':
            break;  // line ends only wrap the file; NUL is never text
        default:
            if (fallbackToSkip_ > 0)
                --fallbackToSkip_;
            else
                textByte(c);
            break;
        }
    }
    if (!closed_)
        truncated_ = true;
    finish();
    return std::move(result_);
}

void RtfParser::openGroup()
{
    if (stack_.size() >= kRtfMaxDepth) {
        // Deeper groups share the state of the deepest kept one; their braces are still counted.
        ++overflow_;
        damaged_ = true;
        return;
    }
    stack_.append(state_);
}

void RtfParser::closeGroup()
{
    if (overflow_ > 0) {
        --overflow_;
        return;
    }
    if (state_.destination == Destination::FontTable)
        finishFontEntry();
    if (stack_.isEmpty())
        return;
    state_ = stack_.takeLast();
    if (stack_.isEmpty())
        closed_ = true;
}

void RtfParser::readControl()
{
    const char* data = input_.constData();
    if (pos_ >= size_) {
        truncated_ = true;
        return;
    }
    if (!IsLetter(data[pos_])) {
        controlSymbol(data[pos_++]);
        return;
    }
    const qsizetype start = pos_;
    while (pos_ < size_ && IsLetter(data[pos_]))
        ++pos_;
    const QByteArray word(data + start, pos_ - start);
    bool hasParam = false;
    bool negative = false;
    qint64 value = 0;
    if (pos_ + 1 < size_ && data[pos_] == '-' && IsDigit(data[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    int digits = 0;
    while (pos_ < size_ && IsDigit(data[pos_])) {
        if (++digits <= kMaxParamDigits)
            value = value * 10 + (data[pos_] - '0');
        ++pos_;
        hasParam = true;
    }
    if (pos_ < size_ && data[pos_] == ' ')
        ++pos_;  // the blank only ends the word
    value = std::min<qint64>(value, std::numeric_limits<int>::max());
    const int param = static_cast<int>(negative ? -value : value);
    if (word.size() > kMaxWordLetters || digits > kMaxParamDigits)
        damaged_ = true;
    if (word == "bin") {
        // Binary data follows; it must be passed over whatever the destination.
        const qsizetype count = hasParam ? std::max(param, 0) : 0;
        if (count > size_ - pos_)
            truncated_ = true;
        pos_ += std::min(count, size_ - pos_);
        return;
    }
    if (fallbackToSkip_ > 0) {
        --fallbackToSkip_;
        return;
    }
    controlWord(word, hasParam, param);
}

void RtfParser::readHexByte()
{
    const char* data = input_.constData();
    int value = 0;
    int digits = 0;
    while (digits < 2 && pos_ < size_ && HexValue(data[pos_]) >= 0) {
        value = value * 16 + HexValue(data[pos_++]);
        ++digits;
    }
    if (digits < 2) {
        if (pos_ >= size_)
            truncated_ = true;
        else
            damaged_ = true;
        return;  // half a byte is no character
    }
    if (fallbackToSkip_ > 0)
        --fallbackToSkip_;
    else
        textByte(static_cast<char>(value));
}

void RtfParser::controlSymbol(char c)
{
    if (c == '\'') {
        readHexByte();
        return;
    }
    if (fallbackToSkip_ > 0) {
        --fallbackToSkip_;
        return;
    }
    switch (c) {
    case '\\':
    case '{':
    case '}':
        textByte(c);
        break;
    case '~':
        unicodeChar(0x00A0);  // non-breaking space
        break;
    case '_':
        unicodeChar(0x2011);  // non-breaking hyphen
        break;
    case '*':
        // Nothing we show lives in an ignorable destination, so the whole group is passed over.
        flushBytes();
        state_.destination = Destination::Skip;
        break;
    case '\r':
    case '\n':
        flushBytes();
        if (state_.destination == Destination::Text)
            endParagraph();
        break;
    case '\t':
        unicodeChar(u'\t');
        break;
    default:
        break;  // optional hyphen, index marks and the like show nothing
    }
}

void RtfParser::controlWord(const QByteArray& word, bool hasParam, int param)
{
    flushBytes();
    if (state_.destination == Destination::Skip)
        return;
    if (word == "u") {
        // Negative values stand for the upper half of the 16-bit range.
        const int code = param < 0 ? param + 65536 : param;
        unicodeChar(code >= 0 && code <= 0xFFFF ? static_cast<char16_t>(code) : char16_t(0xFFFD));
        fallbackToSkip_ = state_.unicodeSkip;
        return;
    }
    if (word == "uc") {
        state_.unicodeSkip = std::clamp(param, 0, 255);
        return;
    }
    if (IsSkippedDestination(word)) {
        state_.destination = Destination::Skip;
        return;
    }
    if (word == "fonttbl") {
        state_.destination = Destination::FontTable;
        entryFont_ = -1;
        return;
    }
    if (word == "colortbl") {
        state_.destination = Destination::ColorTable;
        red_ = green_ = blue_ = 0;
        colorGiven_ = false;
        return;
    }
    if (word == "ansi") {
        result_.codePage = 1252;
    } else if (word == "mac") {
        result_.codePage = 10000;
    } else if (word == "pc") {
        result_.codePage = 437;
    } else if (word == "pca") {
        result_.codePage = 850;
    } else if (word == "ansicpg") {
        if (param > 0)
            result_.codePage = param;
    } else if (word == "deff") {
        result_.defaultFont = std::max(param, 0);
    } else if (word == "deftab") {
        if (param > 0)
            result_.defaultTab = ClampTwips(param);
    } else if (state_.destination == Destination::FontTable) {
        if (word == "f") {
            finishFontEntry();
            entryFont_ = std::max(param, 0);
        } else if (word == "fcharset") {
            entry_.charset = param;
        }
    } else if (state_.destination == Destination::ColorTable) {
        const int component = std::clamp(param, 0, 255);
        if (word == "red")
            red_ = component;
        else if (word == "green")
            green_ = component;
        else if (word == "blue")
            blue_ = component;
        else
            return;
        colorGiven_ = true;
    } else if (const auto character = SpecialCharacter(word)) {
        unicodeChar(*character);
    } else if (EndsParagraph(word)) {
        endParagraph();
    } else {
        // Formatting words change the group's state; every other word (page setup, list
        // levels, revision marks...) changes nothing shown here.
        ApplyFormattingWord(word, hasParam, param, state_.chars, state_.paragraph);
    }
}

int RtfParser::codePageOfCurrentFont() const
{
    const int font = state_.chars.font >= 0 ? state_.chars.font : result_.defaultFont;
    const auto found = result_.fonts.constFind(font);
    if (found == result_.fonts.constEnd())
        return result_.codePage;
    return CodePageForCharset(found->charset, result_.codePage);
}

void RtfParser::textByte(char c)
{
    switch (state_.destination) {
    case Destination::Text: {
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
            break;  // control bytes are not text in any code page we show
        const int codePage = codePageOfCurrentFont();
        if (codePage != pendingCodePage_)
            flushBytes();
        pendingCodePage_ = codePage;
        pendingBytes_.append(c);
        break;
    }
    case Destination::FontTable:
        if (c == ';')
            finishFontEntry();
        else
            entryNameBytes_.append(c);
        break;
    case Destination::ColorTable:
        if (c == ';')
            finishColorEntry();
        break;
    case Destination::Skip:
        break;
    }
}

void RtfParser::unicodeChar(char16_t c)
{
    flushBytes();
    if (state_.destination == Destination::Text) {
        emitText(QString(QChar(c)));
    } else if (state_.destination == Destination::FontTable) {
        entry_.name += decoder_.decode(CodePageForCharset(entry_.charset, result_.codePage), entryNameBytes_);
        entryNameBytes_.clear();
        entry_.name += QChar(c);
    }
}

void RtfParser::flushBytes()
{
    if (pendingBytes_.isEmpty())
        return;
    const QString text = decoder_.decode(pendingCodePage_, pendingBytes_);
    pendingBytes_.clear();
    emitText(text);
}

void RtfParser::emitText(const QString& text)
{
    if (text.isEmpty())
        return;
    RtfParagraph& paragraph = result_.paragraphs.last();
    paragraph.format = state_.paragraph;
    if (!paragraph.runs.isEmpty() && paragraph.runs.last().format == state_.chars)
        paragraph.runs.last().text += text;
    else
        paragraph.runs.append(RtfRun{text, state_.chars});
}

void RtfParser::endParagraph()
{
    result_.paragraphs.last().format = state_.paragraph;
    result_.paragraphs.append(RtfParagraph{});
}

void RtfParser::finishFontEntry()
{
    if (entryFont_ >= 0) {
        entry_.name += decoder_.decode(CodePageForCharset(entry_.charset, result_.codePage), entryNameBytes_);
        entry_.name = entry_.name.trimmed();
        result_.fonts.insert(entryFont_, entry_);
    }
    entryFont_ = -1;
    entry_ = RtfFont{};
    entryNameBytes_.clear();
}

void RtfParser::finishColorEntry()
{
    result_.colors.append(colorGiven_ ? std::optional<QRgb>(qRgb(red_, green_, blue_)) : std::nullopt);
    red_ = green_ = blue_ = 0;
    colorGiven_ = false;
}

void RtfParser::finish()
{
    flushBytes();
    // WordPad ends the last paragraph with \par too; that leaves no extra empty line.
    if (result_.paragraphs.size() > 1 && result_.paragraphs.last().runs.isEmpty())
        result_.paragraphs.removeLast();
    for (RtfParagraph& paragraph : result_.paragraphs)
        for (RtfRun& run : paragraph.runs)
            RepairText(run.text);
    if (truncated_)
        result_.status = RtfStatus::Truncated;
    else if (damaged_)
        result_.status = RtfStatus::Damaged;
}

// Bytes without the RTF header are shown as they are: UTF-8 when they are valid UTF-8,
// otherwise Windows-1252, one paragraph per line.
RtfReadResult ReadPlainText(const QByteArray& bytes)
{
    RtfReadResult result;
    result.status = RtfStatus::NotRtf;
    const QByteArray kept = bytes.left(kRtfMaxInputBytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(kept);
    if (utf8.hasError())
        text = CodePageDecoder().decode(kDefaultCodePage, kept);
    text.remove(QChar(0));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        RtfParagraph paragraph;
        if (!line.isEmpty())
            paragraph.runs.append(RtfRun{line, RtfCharFormat{}});
        result.paragraphs.append(paragraph);
    }
    return result;
}

bool StartsWithRtfHeader(const QByteArray& bytes)
{
    qsizetype at = 0;
    while (at < bytes.size() &&
           (bytes.at(at) == ' ' || bytes.at(at) == '\t' || bytes.at(at) == '\r' || bytes.at(at) == '\n'))
        ++at;
    return bytes.mid(at, 5) == "{\\rtf";
}

}  // namespace

QString RtfParagraph::text() const
{
    QString text;
    for (const RtfRun& run : runs)
        text += run.text;
    return text;
}

QString RtfReadResult::plainText() const
{
    QStringList lines;
    lines.reserve(paragraphs.size());
    for (const RtfParagraph& paragraph : paragraphs)
        lines.append(paragraph.text().replace(QChar(0x2028), QLatin1Char('\n')));
    return lines.join(QLatin1Char('\n'));
}

std::optional<QRgb> RtfReadResult::colorAt(int index) const
{
    if (index < 0 || index >= colors.size())
        return std::nullopt;
    return colors.at(index);
}

RtfReadResult ReadRtf(const QByteArray& rtf)
{
    if (!StartsWithRtfHeader(rtf))
        return ReadPlainText(rtf);
    // The parser starts on the header's brace; blanks before it are no text.
    return RtfParser(rtf, rtf.indexOf('{')).read();
}
