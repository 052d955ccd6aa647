// MJPEG streams: the boundary of the answer's header, and the first whole part of a stream
// however its bytes are cut into arrivals; then a slot against a loopback stream that never ends.
#include <QTcpServer>

#include "SlotGridFixture.h"
#include "StreamPart.h"
#include "TestPictures.h"

namespace {

TEST(StreamBoundaryOf, ReadsTheContentType)
{
    EXPECT_EQ(StreamBoundary("HTTP/1.0 200 OK\r\nContent-Type: multipart/x-mixed-replace; boundary=frame"), "frame");
    EXPECT_EQ(StreamBoundary("HTTP/1.0 200 OK\r\ncontent-type: Multipart/X-Mixed-Replace;boundary=\"a b\""), "a b");
    EXPECT_EQ(StreamBoundary("HTTP/1.0 200 OK\r\nContent-Type: image/jpeg"), "");
    EXPECT_EQ(StreamBoundary("HTTP/1.0 200 OK\r\nContent-Type: multipart/x-mixed-replace"), "");
    EXPECT_EQ(StreamBoundary("HTTP/1.0 200 OK\r\nX-Note: multipart/x-mixed-replace; boundary=x"), "");
}

const QByteArray kFirst = "\xff\xd8 first picture \r\n--frame inside \xff\xd9";
const QByteArray kSecond = "\xff\xd8 second \xff\xd9";

struct PartCase {
    const char* what;
    QByteArray body;
    QByteArray boundary;
    QByteArray header;
    QByteArray expected;
};

void PrintTo(const PartCase& c, std::ostream* os)
{
    *os << c.what;
}

class FirstPart : public testing::TestWithParam<PartCase> { };

TEST_P(FirstPart, IsFoundAtEverySplit)
{
    const PartCase& c = GetParam();
    for (qsizetype cut = 0; cut < c.body.size(); ++cut) {
        const StreamPart early = FirstStreamPart(c.body.first(cut), c.boundary);
        if (early.status == StreamPart::Status::Complete) {
            EXPECT_EQ(early.body, c.expected) << "cut at " << cut;  // never a shorter part
        } else {
            EXPECT_EQ(early.status, StreamPart::Status::NeedMore) << "cut at " << cut;
        }
    }
    const StreamPart part = FirstStreamPart(c.body, c.boundary);
    ASSERT_EQ(part.status, StreamPart::Status::Complete);
    EXPECT_EQ(part.header, c.header);
    EXPECT_EQ(part.body, c.expected);
}

TEST_P(FirstPart, ArrivalsThatSkipWhatWasSearchedFindTheSamePartAsEarly)
{
    const PartCase& c = GetParam();
    // Arrivals of every size from one byte, so a delimiter straddles two of them somewhere.
    for (qsizetype step = 1; step <= 9; ++step) {
        qsizetype searched = 0;
        for (qsizetype size = 0;; size = qMin(size + step, c.body.size())) {
            const StreamPart whole = FirstStreamPart(c.body.first(size), c.boundary);
            const StreamPart fed = FirstStreamPart(c.body.first(size), c.boundary, false, searched);
            ASSERT_EQ(fed.status, whole.status) << "arrivals of " << step << ", " << size << " bytes";
            EXPECT_EQ(fed.body, whole.body) << "arrivals of " << step << ", " << size << " bytes";
            if (fed.status != StreamPart::Status::NeedMore || size == c.body.size())
                break;
            searched = size;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Streams, FirstPart,
    testing::Values(
        PartCase{"with Content-Length",
                 "--frame\r\nContent-Type: image/jpeg\r\nContent-Length: " + QByteArray::number(kFirst.size()) +
                     "\r\n\r\n" + kFirst + "\r\n--frame\r\nContent-Type: image/jpeg\r\n\r\n" + kSecond,
                 "frame", "Content-Type: image/jpeg\r\nContent-Length: " + QByteArray::number(kFirst.size()), kFirst},
        PartCase{"ended by the next boundary, preamble first",
                 "preamble\r\n--frame\r\nContent-Type: image/jpeg\r\n\r\n" + kSecond + "\r\n--frame\r\n", "frame",
                 "Content-Type: image/jpeg", kSecond},
        PartCase{"bare line ends, dashes in the header's boundary",
                 "----x\nContent-Type: image/jpeg\n\n" + kSecond + "\n----x\n", "--x", "Content-Type: image/jpeg",
                 kSecond},
        // A stream holding both spellings: the one that comes first decides, however much arrived.
        PartCase{"both spellings of a dashed boundary",
                 "--x\nContent-Type: image/jpeg\n\n" + kFirst + "\n--x\nContent-Type: image/jpeg\n\n" + kSecond +
                     "\n----x\n",
                 "--x", "Content-Type: image/jpeg", kFirst}));

TEST(FirstPartLimits, TooLargeAndTheEndOfTheData)
{
    const QByteArray longHeader = "--f\r\nX-Junk: " + QByteArray(70 * 1024, 'j');
    EXPECT_EQ(FirstStreamPart(longHeader, "f").status, StreamPart::Status::TooLarge);
    EXPECT_EQ(FirstStreamPart("--f\r\nContent-Length: 99999999999\r\n\r\n", "f").status, StreamPart::Status::TooLarge);
    const QByteArray open = "--f\r\nContent-Type: image/jpeg\r\n\r\n" + kSecond;
    EXPECT_EQ(FirstStreamPart(open, "f").status, StreamPart::Status::NeedMore);
    const StreamPart ended = FirstStreamPart(open, "f", true);
    EXPECT_EQ(ended.status, StreamPart::Status::Complete);
    EXPECT_EQ(ended.body, kSecond);
    EXPECT_EQ(FirstStreamPart("no boundary at all", "f", true).status, StreamPart::Status::NeedMore);
    // A header's worth of data without the boundary: no part will come (a wrong boundary, or no
    // stream at all), so the stream is not read on to the answer cap.
    const QByteArray junk(HttpResponseAssembler::kMaxHeaderBytes + 16, 'z');
    EXPECT_EQ(FirstStreamPart(junk.first(HttpResponseAssembler::kMaxHeaderBytes), "f").status,
              StreamPart::Status::NeedMore);
    EXPECT_EQ(FirstStreamPart(junk, "f").status, StreamPart::Status::NoBoundary);
    EXPECT_EQ(FirstStreamPart("preamble\r\n--f\r\n\r\n" + junk, "f").status, StreamPart::Status::NeedMore);
}

// --- a slot against a stream ----------------------------------------------------------------

QByteArray StreamHeader()
{
    return "HTTP/1.0 200 OK\r\nContent-Type: multipart/x-mixed-replace; boundary=frame\r\n\r\n";
}

QByteArray Frame(const QByteArray& jpeg, bool withLength)
{
    QByteArray part = "--frame\r\nContent-Type: image/jpeg\r\n";
    if (withLength)
        part += "Content-Length: " + QByteArray::number(jpeg.size()) + "\r\n";
    return part + "\r\n" + jpeg + "\r\n";
}

class StreamSlotTest : public CamServerFixture {
protected:
    void SetUp() override
    {
        CamServerFixture::SetUp();
        grid->cams().setTickInterval(3600 * 1000);  // the test gives the ticks
    }

    // A stream that sends `frames` and then keeps the connection open, like a live cam.
    static ScriptedReply Stream(const QList<QByteArray>& frames)
    {
        ScriptedReply reply;
        reply.pieces = {StreamHeader()};
        for (const QByteArray& frame : frames)
            reply.pieces << frame;
        reply.delayMs = 20;
        reply.ending = ScriptedReply::Ending::KeepOpen;
        return reply;
    }

    void Tick(int count)
    {
        for (int k = 0; k < count; ++k)
            grid->cam(0).timRefresh_Timer();
    }
};

TEST_F(StreamSlotTest, EachIntervalShowsAFrameAndClosesTheStream)
{
    const QImage red = QImage::fromData(MakeTestJpeg(QSize(40, 30), Qt::red));
    const QImage blue = QImage::fromData(MakeTestJpeg(QSize(40, 30), Qt::blue));
    // Enough frames that the server is still sending when the slot has what it needs.
    QList<QByteArray> redFrames, blueFrames;
    for (int k = 0; k < 20; ++k) {
        redFrames << Frame(MakeTestJpeg(QSize(40, 30), Qt::red), true);
        blueFrames << Frame(MakeTestJpeg(QSize(40, 30), Qt::blue), false);
    }
    ASSERT_TRUE(OpenFirstCam(Stream(redFrames), QStringLiteral("3")));
    EXPECT_EQ(grid->slot(0).imgCam->picture().size(), QSize(40, 30));
    EXPECT_EQ(grid->cam(0).health().last.kind, FetchOutcomeKind::PictureShown);
    EXPECT_TRUE(WaitFor([this] { return server.closedByClient() == 1; }));  // no connection stays open
    EXPECT_EQ(grid->slot(0).imgCam->picture().pixel(20, 15), red.pixel(20, 15));

    // The next interval: another frame (this stream ends its parts by the next boundary).
    server.enqueue(Stream(blueFrames));
    Tick(3);
    // The stream before was closed with its part: the new start cut nothing short.
    EXPECT_EQ(grid->cam(0).health().last.kind, FetchOutcomeKind::PictureShown);
    EXPECT_EQ(grid->cam(0).health().consecutiveFailures, 0);
    ASSERT_TRUE(WaitForHandled(0));
    EXPECT_EQ(grid->slot(0).imgCam->picture().pixel(20, 15), blue.pixel(20, 15));
    EXPECT_TRUE(WaitFor([this] { return server.closedByClient() == 2; }));
    EXPECT_EQ(server.connectionCount(), 2);
}

TEST_F(StreamSlotTest, AStreamSentInChunksShowsItsPictureWhole)
{
    // An HTTP/1.1 server may send a stream in chunks; their size lines are not the picture's.
    const QByteArray jpeg = MakeTestJpeg(QSize(160, 120), Qt::red);
    const QImage red = QImage::fromData(jpeg);
    const QByteArray frames = Frame(jpeg, true) + Frame(jpeg, false) + Frame(jpeg, false);
    QByteArray chunked;
    for (qsizetype at = 0; at < frames.size(); at += 100) {
        const QByteArray piece = frames.mid(at, 100);
        chunked += QByteArray::number(piece.size(), 16) + "\r\n" + piece + "\r\n";
    }
    ScriptedReply reply = ScriptedReply::split(
        "HTTP/1.1 200 OK\r\nContent-Type: multipart/x-mixed-replace; boundary=frame\r\nTransfer-Encoding: "
        "chunked\r\n\r\n" +
            chunked,
        1000, 10);
    ASSERT_TRUE(OpenFirstCam(reply.endingWith(ScriptedReply::Ending::KeepOpen), QStringLiteral("3")));
    EXPECT_EQ(grid->cam(0).health().last.kind, FetchOutcomeKind::PictureShown);
    EXPECT_EQ(grid->cam(0).health().last.bodyBytes, jpeg.size());
    EXPECT_EQ(grid->slot(0).imgCam->picture().size(), QSize(160, 120));
    EXPECT_EQ(grid->slot(0).imgCam->picture().pixel(80, 60), red.pixel(80, 60));
    EXPECT_TRUE(WaitFor([this] { return server.closedByClient() == 1; }));
}

TEST_F(StreamSlotTest, AStreamWhoseBoundaryNeverComesIsClosedAtOnce)
{
    // Parts under another boundary than the header names: nothing here will ever be a part.
    QByteArray stream = StreamHeader();
    const QByteArray frame = Frame(MakeTestJpeg(QSize(40, 30)), true).replace("--frame", "--other");
    while (stream.size() < 2 * HttpResponseAssembler::kMaxHeaderBytes)
        stream += frame;
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::split(stream, 16 * 1024, 10).endingWith(ScriptedReply::Ending::KeepOpen),
                             QStringLiteral("3")));
    EXPECT_TRUE(WaitFor([this] { return server.closedByClient() == 1; })) << "within the interval, no tick given";
    EXPECT_EQ(grid->cam(0).healthSummary(), QStringLiteral("failing: stream without a picture"));
    EXPECT_EQ(grid->slot(0).imgCam->picture(), QImage(QStringLiteral(":/pictures/notfound.png")));
    EXPECT_EQ(HttpOf(grid->cam(0)).slotResponse.buffer().size(), 0);
}

TEST_F(StreamSlotTest, AStreamWithoutAWholePartIsNamedAtTheIntervalsEnd)
{
    ScriptedReply garbage = Stream({"--frame\r\nContent-Type: image/jpeg\r\nContent-Length: 100000\r\n\r\nshort"});
    server.enqueue(garbage);
    WriteCamList(ServerCams(1, QStringLiteral("3")));
    StartCam(QStringLiteral("Cam 1"));
    ASSERT_TRUE(WaitFor([this] { return server.repliesFinished() == 1; }));
    server.enqueue(ScriptedReply::silent());
    Tick(3);
    EXPECT_EQ(grid->cam(0).healthSummary(), QStringLiteral("failing: stream without a picture"));
    EXPECT_FALSE(grid->slot(0).imgCam->hasPicture());
}

}  // namespace
