#include "HttpResponse.h"

#include <QList>
#include <gtest/gtest.h>
#include <ostream>

namespace {
QByteArray Body(qsizetype size)
{
    QByteArray body(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        body[i] = static_cast<char>((i * 31) ^ (i >> 8));
    return body;
}

QByteArray Response(const QByteArray& headerLines, const QByteArray& body)
{
    return "HTTP/1.1 200 OK\r\n" + headerLines + "\r\n" + body;
}

const QByteArray kPictureHeader = "Content-Type: image/jpeg\r\nLast-Modified: Mon, 07 May 2007 15:59:45 GMT\r\n"
                                  "Content-Length: 300\r\n";

// Feeds the bytes as arrivals cut at the given positions (ascending, inside the bytes).
HttpResponseAssembler FeedCut(const QByteArray& bytes, const QList<qsizetype>& cuts, QList<float>* progress = nullptr)
{
    HttpResponseAssembler assembler;
    qsizetype from = 0;
    QList<qsizetype> ends = cuts;
    ends.append(bytes.size());
    for (const qsizetype to : ends) {
        const QByteArray piece = bytes.mid(from, to - from);
        const auto arrival = assembler.append(piece, piece.size());
        EXPECT_FALSE(arrival.tooLarge);
        if (progress && arrival.progress)
            progress->append(*arrival.progress);
        from = to;
    }
    return assembler;
}

void ExpectSameResult(const HttpResponseAssembler::Finished& a, const HttpResponseAssembler::Finished& b)
{
    EXPECT_EQ(a.header, b.header);
    EXPECT_EQ(a.body, b.body);
    EXPECT_EQ(a.isImage, b.isImage);
    EXPECT_EQ(a.bodyValid, b.bodyValid);
}
}  // namespace

TEST(HttpResponseAssembler, GivesTheSameResultWhereverTheResponseIsCut)
{
    const QByteArray body = Body(300);
    const QByteArray response = Response(kPictureHeader, body);
    const HttpResponseAssembler whole = FeedCut(response, {});
    const auto expected = whole.finish();
    ASSERT_EQ(expected.header, "HTTP/1.1 200 OK\r\n" + kPictureHeader.chopped(2));
    ASSERT_EQ(expected.body, body);
    EXPECT_TRUE(expected.isImage);
    EXPECT_EQ(whole.contentLength(), 300);

    for (qsizetype cut = 1; cut < response.size(); ++cut) {
        SCOPED_TRACE(cut);
        const HttpResponseAssembler two = FeedCut(response, {cut});
        ExpectSameResult(two.finish(), expected);
        EXPECT_EQ(two.bytesReceived(), 300);
        EXPECT_EQ(two.contentLength(), 300);
    }
    QList<qsizetype> everyByte;
    for (qsizetype at = 1; at < response.size(); ++at)
        everyByte.append(at);
    QList<float> progress;
    const HttpResponseAssembler bytewise = FeedCut(response, everyByte, &progress);
    ExpectSameResult(bytewise.finish(), expected);
    // The arrival that completes the header carries no body byte here; every later byte reports.
    ASSERT_EQ(progress.size(), 300);
    EXPECT_FLOAT_EQ(progress.first(), 1 / 3.0f);
    EXPECT_FLOAT_EQ(progress.last(), 100.0f);
}

TEST(HttpResponseAssembler, ProgressComesOnlyAfterTheHeaderArrivalAndOnlyForTheExactFieldName)
{
    const QByteArray body = Body(5000);
    for (const bool exactName : {true, false}) {
        SCOPED_TRACE(exactName);
        const QByteArray header = exactName ? "Content-Type: image/jpeg\r\nContent-Length: 5000\r\n"
                                            : "Content-Type: image/jpeg\r\ncontent-length: 5000\r\n";
        const QByteArray response = Response(header, body);
        const qsizetype bodyStart = response.size() - body.size();
        HttpResponseAssembler assembler;
        // The header with 200 body bytes: no progress from this arrival, even with body bytes.
        const auto first = assembler.append(response.first(bodyStart + 200), bodyStart + 200);
        EXPECT_FALSE(first.progress);
        EXPECT_EQ(assembler.bytesReceived(), 200);
        const auto second = assembler.append(response.sliced(bodyStart + 200, 300), 300);
        if (exactName) {
            ASSERT_TRUE(second.progress);
            EXPECT_EQ(*second.progress, 10.0f);
        } else {
            EXPECT_FALSE(second.progress);
            EXPECT_EQ(assembler.contentLength(), 0);
        }
    }
}

TEST(HttpResponseAssembler, CountsTheEventsByteCountAndReportsProgressAboveAHundred)
{
    HttpResponseAssembler assembler;
    assembler.append(Response("Content-Length: 200\r\n", "0123456789"), 10);
    const qsizetype headerSize = Response("Content-Length: 200\r\n", {}).size();
    EXPECT_EQ(assembler.bytesReceived(), 10 - headerSize);  // the event's count, not the bytes
    assembler.append(Body(400), 400);
    const auto arrival = assembler.append("x", 1);
    ASSERT_TRUE(arrival.progress);
    EXPECT_FLOAT_EQ(*arrival.progress, static_cast<float>((10 - headerSize + 401) / 2.0));
}

namespace {
struct LengthCase {
    const char* headerLines;
    qint32 contentLength;
};
void PrintTo(const LengthCase& c, std::ostream* out)
{
    *out << '"' << QByteArray(c.headerLines).replace("\r\n", "|").constData() << '"';
}
class ContentLengthTable : public testing::TestWithParam<LengthCase> { };
}  // namespace

TEST_P(ContentLengthTable, ReadsTheFirstLineThatNamesIt)
{
    HttpResponseAssembler assembler;
    assembler.append(Response(GetParam().headerLines, "body"), 0);
    ASSERT_TRUE(assembler.headerDone());
    EXPECT_EQ(assembler.contentLength(), GetParam().contentLength);
}

INSTANTIATE_TEST_SUITE_P(
    HeaderLines, ContentLengthTable,
    testing::Values(LengthCase{"Content-Length: 5000\r\n", 5000}, LengthCase{"Content-Length:  5000 \r\n", 5000},
                    LengthCase{"Content-Length:5000\r\n", 0}, LengthCase{"Content-Length: abc\r\n", 0},
                    LengthCase{"Content-Length: 5000 bytes\r\n", 0}, LengthCase{"Content-Length: 99999999999\r\n", 0},
                    LengthCase{"Content-Length: -5\r\n", -5}, LengthCase{"content-length: 5000\r\n", 0},
                    LengthCase{"X-Content-Length-Note: 7\r\nContent-Length: 5000\r\n", 7},
                    LengthCase{"Content-Length: x\r\nContent-Length: 5000\r\n", 0},
                    LengthCase{"Content-Type: image/gif\r\n", 0}));

TEST(HttpResponseAssembler, EmptyAndEndlessHeadersGiveNoHeader)
{
    HttpResponseAssembler empty;
    const auto nothing = empty.finish();
    EXPECT_TRUE(nothing.header.isEmpty());
    EXPECT_FALSE(nothing.isImage);

    HttpResponseAssembler cut;
    cut.append("HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\n\r", 42);
    EXPECT_FALSE(cut.headerDone());
    const auto noEnd = cut.finish();
    EXPECT_TRUE(noEnd.header.isEmpty());
    EXPECT_FALSE(noEnd.isImage);
}

TEST(HttpResponseAssembler, TheImageTypeIsFoundInAnyLetterCaseAnywhereInTheHeader)
{
    const QList<std::pair<QByteArray, bool>> cases{{"content-type: IMAGE/JPEG\r\n", true},
                                                   {"Content-Type: text/html\r\nX-Note: Image/ later\r\n", true},
                                                   {"Content-Type: text/html\r\n", false},
                                                   {"Content-Type: imagejpeg\r\n", false}};
    for (const auto& [lines, isImage] : cases) {
        HttpResponseAssembler assembler;
        assembler.append(Response(lines, "x"), 1);
        EXPECT_EQ(assembler.finish().isImage, isImage) << lines.constData();
    }
}

TEST(HttpResponseAssembler, AHeaderEndFarIntoTheResponseIsStillFoundWhileDataArrive)
{
    const QByteArray padding = "X-Padding: " + QByteArray(40000, 'p') + "\r\n";
    const QByteArray response = Response(padding + "Content-Length: 1000\r\n", Body(1000));
    QList<qsizetype> cuts;
    for (qsizetype at = 4096; at < response.size(); at += 4096)
        cuts.append(at);
    QList<float> progress;
    const HttpResponseAssembler assembler = FeedCut(response, cuts, &progress);
    EXPECT_TRUE(assembler.headerDone());
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_FLOAT_EQ(progress.last(), 100.0f);
}

TEST(HttpResponseAssembler, AHeaderLongerThan64KiBIsAbandonedAtOnce)
{
    const QByteArray statusLine = "HTTP/1.1 200 OK\r\nX-Long: ";
    const QByteArray atLimit = statusLine + QByteArray(HttpResponseAssembler::kMaxHeaderBytes - statusLine.size(), 'a');
    HttpResponseAssembler fits;
    EXPECT_FALSE(fits.append(atLimit + "\r\n\r", atLimit.size() + 3).tooLarge);
    EXPECT_FALSE(fits.append("\nbody", 5).tooLarge);
    EXPECT_EQ(fits.finish().header.size(), HttpResponseAssembler::kMaxHeaderBytes);

    HttpResponseAssembler endless;
    bool abandoned = false;
    qsizetype fed = 0;
    while (!abandoned && fed < 1024 * 1024) {
        const QByteArray piece(1000, 'h');
        abandoned = endless.append(piece, piece.size()).tooLarge;
        fed += piece.size();
    }
    EXPECT_TRUE(abandoned);
    EXPECT_EQ(fed, 66000);  // the first arrival that leaves no room for the header end
    EXPECT_TRUE(endless.buffer().isEmpty());
    EXPECT_TRUE(endless.append("\r\n\r\n", 4).tooLarge);
    EXPECT_TRUE(endless.finish().header.isEmpty());

    HttpResponseAssembler oneLongArrival;
    EXPECT_TRUE(oneLongArrival.append(atLimit + "b\r\n\r\nbody", atLimit.size() + 9).tooLarge);
}

TEST(HttpResponseAssembler, AResponseLongerThan64MiBIsAbandonedAndFreed)
{
    const QByteArray header = "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\n\r\n";
    const QByteArray piece(1024 * 1024, 'b');
    HttpResponseAssembler assembler;
    ASSERT_FALSE(assembler.append(header, header.size()).tooLarge);
    qsizetype total = header.size();
    while (total + piece.size() <= HttpResponseAssembler::kMaxResponseBytes) {
        ASSERT_FALSE(assembler.append(piece, piece.size()).tooLarge);
        total += piece.size();
    }
    const qsizetype room = HttpResponseAssembler::kMaxResponseBytes - total;
    ASSERT_FALSE(assembler.append(piece.first(room), room).tooLarge);  // exactly 64 MiB is kept
    EXPECT_EQ(assembler.buffer().size(), HttpResponseAssembler::kMaxResponseBytes);
    EXPECT_TRUE(assembler.append("x", 1).tooLarge);
    EXPECT_EQ(assembler.buffer().capacity(), 0);
    EXPECT_TRUE(assembler.finish().header.isEmpty());

    assembler.reset();
    assembler.append(header + "abc", header.size() + 3);
    EXPECT_EQ(assembler.finish().body, "abc");
}

namespace {
const QByteArray kChunkedHeader = "Content-Type: image/jpeg\r\nTransfer-Encoding: chunked\r\n";
}

TEST(ChunkedBody, IsDecodedWhereverTheResponseIsCut)
{
    const QByteArray picture = Body(100);
    const QByteArray chunks = "1a\r\n" + picture.first(26) + "\r\n" + "4A;name=value\r\n" + picture.sliced(26) +
        "\r\n" + "0\r\nExpires: never\r\n\r\n";
    const QByteArray response = Response(kChunkedHeader, chunks);
    const auto expected = FeedCut(response, {}).finish();
    EXPECT_TRUE(expected.bodyValid);
    EXPECT_EQ(expected.body, picture);
    for (qsizetype cut = 1; cut < response.size(); ++cut) {
        SCOPED_TRACE(cut);
        ExpectSameResult(FeedCut(response, {cut}).finish(), expected);
    }
}

TEST(ChunkedBody, TheFieldNameIsMatchedInAnyLetterCase)
{
    HttpResponseAssembler assembler;
    const QByteArray response = Response("TRANSFER-encoding:  gzip, Chunked\r\n", "3\r\nabc\r\n0\r\n\r\n");
    assembler.append(response, response.size());
    EXPECT_EQ(assembler.finish().body, "abc");

    HttpResponseAssembler notChunked;
    const QByteArray plain = Response("X-Transfer-Encoding: chunked\r\n", "3\r\nabc\r\n0\r\n\r\n");
    notChunked.append(plain, plain.size());
    EXPECT_EQ(notChunked.finish().body, "3\r\nabc\r\n0\r\n\r\n");
}

namespace {
struct ChunkCase {
    const char* name;
    QByteArray body;
    std::optional<QByteArray> decoded;
};
void PrintTo(const ChunkCase& c, std::ostream* out)
{
    *out << c.name;
}
class ChunkTable : public testing::TestWithParam<ChunkCase> { };
}  // namespace

TEST_P(ChunkTable, DecodesOrRefuses)
{
    const ChunkCase& c = GetParam();
    const auto decoded = DecodeChunkedBody(c.body);
    ASSERT_EQ(decoded.has_value(), c.decoded.has_value());
    if (decoded) {
        EXPECT_EQ(*decoded, *c.decoded);
    }

    // As a stream's body arrives a byte at a time: the whole chunks so far, never more.
    if (c.decoded) {
        QByteArray out;
        qsizetype at = 0;
        ChunkProgress progress = ChunkProgress::NeedMore;
        // The prefixes share the body's bytes and only what each step added is compared: copies
        // and whole comparisons would make the one-byte-chunk case quadratic (minutes under the
        // sanitizers), while the decoder itself is linear.
        qsizetype checked = 0;
        for (qsizetype size = 0; size <= c.body.size() && progress == ChunkProgress::NeedMore; ++size) {
            progress = DecodeWholeChunks(QByteArray::fromRawData(c.body.constData(), size), at, out);
            ASSERT_LE(out.size(), c.decoded->size()) << size << " bytes";
            EXPECT_EQ(QByteArrayView(out).sliced(checked),
                      QByteArrayView(*c.decoded).sliced(checked, out.size() - checked))
                << size << " bytes";
            checked = out.size();
        }
        EXPECT_EQ(progress, ChunkProgress::LastChunk);
        EXPECT_EQ(out, *c.decoded);
    }

    HttpResponseAssembler assembler;
    const QByteArray response = Response(kChunkedHeader, c.body);
    assembler.append(response, response.size());
    const auto finished = assembler.finish();
    EXPECT_EQ(finished.bodyValid, c.decoded.has_value());
    EXPECT_TRUE(finished.isImage);
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, ChunkTable,
    testing::Values(
        ChunkCase{"Plain", "5\r\nhello\r\n6\r\n world\r\n0\r\n\r\n", QByteArray("hello world")},
        ChunkCase{"UpperHexAndLeadingZeros", "00000000000000000000A\r\n0123456789\r\n0000\r\n\r\n",
                  QByteArray("0123456789")},
        ChunkCase{"ExtensionsAndBlanks", "3 ;a=b;c\r\nabc\r\n0;end\r\n\r\n", QByteArray("abc")},
        ChunkCase{"Trailers", "2\r\nok\r\n0\r\nA: b\r\nC: d\r\n\r\n", QByteArray("ok")},
        ChunkCase{"EndsAfterTheLastChunkLine", "2\r\nok\r\n0\r\n", QByteArray("ok")},
        ChunkCase{"OnlyTheLastChunk", "0\r\n\r\n", QByteArray("")},
        ChunkCase{"DataWithLineBreaksInside", "4\r\n\r\n\r\n\r\n0\r\n\r\n", QByteArray("\r\n\r\n")},
        ChunkCase{"BytesAfterTheEndAreIgnored", "2\r\nok\r\n0\r\n\r\nextra", QByteArray("ok")},
        ChunkCase{"Empty", "", std::nullopt}, ChunkCase{"NotHex", "zz\r\nabc\r\n0\r\n\r\n", std::nullopt},
        ChunkCase{"JunkAfterTheSize", "3x\r\nabc\r\n0\r\n\r\n", std::nullopt},
        ChunkCase{"NoLineEndAfterTheSize", "3", std::nullopt}, ChunkCase{"DataCutShort", "a\r\nabc", std::nullopt},
        ChunkCase{"NoLineEndAfterTheData", "3\r\nabcd\r\n0\r\n\r\n", std::nullopt},
        ChunkCase{"NoLastChunk", "3\r\nabc\r\n", std::nullopt},
        ChunkCase{"SizeBeyondAnyCounter", "FFFFFFFFFFFFFFFFFFFFFFFF\r\nabc\r\n0\r\n\r\n", std::nullopt},
        ChunkCase{"SizeBeyondTheBody", "7FFFFFFF\r\nabc\r\n0\r\n\r\n", std::nullopt},
        ChunkCase{"TrailerWithoutLineEnd", "1\r\na\r\n0\r\nA: b", std::nullopt},
        ChunkCase{"LowerHexAndBlanksBeforeTheLineEnd", "a \t\r\n0123456789\r\n0\r\n\r\n", QByteArray("0123456789")},
        ChunkCase{"BlanksThenJunk", "3 \tx\r\nabc\r\n0\r\n\r\n", std::nullopt},
        // A server may send every byte as a chunk of its own.
        ChunkCase{"OneByteChunks", QByteArray("1\r\nx\r\n").repeated(100'000) + "0\r\n\r\n", QByteArray(100'000, 'x')}),
    [](const testing::TestParamInfo<ChunkCase>& info) { return std::string(info.param.name); });
