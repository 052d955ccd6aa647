// "Ask whether the picture changed": against lighttpd, which answers If-None-Match and
// If-Modified-Since itself, a cam whose file changes once in 30 s at refresh 2 s gets 304s
// between the changes, keeps its picture and saves exactly the change; with the option off every
// fetch is a whole download, as always. Each run prints the bytes received. Loopback servers
// show the exact request lines and what a 304 does when nothing was asked.
#include <QDir>
#include <QFile>
#include <iostream>

#include "CamSocket.h"
#include "CamUrl.h"
#include "LighttpdServer.h"
#include "SlotGridFixture.h"
#include "TestPictures.h"

namespace {

class ConditionalRequestTest : public CamServerFixture, public testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        CamServerFixture::SetUp();
        grid->cams().setTickInterval(3600 * 1000);  // each fetch is started by the test
        FetchOptions options;
        options.conditionalRequests = GetParam();
        grid->cams().setFetchOptions(options);
        ASSERT_TRUE(folder.isValid());
        web = std::make_unique<LighttpdServer>(folder.path());
        ASSERT_TRUE(Put(QColor(200, 40, 40), QTime(6, 0)));
        ASSERT_TRUE(web->start()) << web->problem().toStdString();
    }

    void TearDown() override
    {
        web.reset();
        CamServerFixture::TearDown();
    }

    bool Put(const QColor& color, const QTime& modified)
    {
        // A picture large enough that a whole download and a 304 differ plainly.
        if (!web->putFile(QStringLiteral("cam.jpg"), MakeTestJpeg(QSize(320, 240), color, 95)))
            return false;
        QFile file(web->documentPath(QStringLiteral("cam.jpg")));
        return file.open(QIODevice::ReadWrite) &&
            file.setFileTime(QDateTime(QDate(2024, 5, 7), modified, Qt::UTC), QFileDevice::FileModificationTime);
    }

    QTemporaryDir folder;
    std::unique_ptr<LighttpdServer> web;
};

TEST_P(ConditionalRequestTest, OneChangeIn30SecondsAtRefresh2)
{
    const bool conditional = GetParam();
    chkSave->setChecked(true);
    WriteCamList({CamRecord{QStringLiteral("Harbour"), web->url(QStringLiteral("/cam.jpg")), QStringLiteral("2")}});
    qint64 received = 0;  // every byte the cam's socket brought, header lines included
    QObject::connect(HttpOf(grid->cam(0)).wsCam, &CamSocket::DataArrival,
                     [&received](qint64 count) { received += count; });
    StartCam(QStringLiteral("Harbour"));
    ASSERT_TRUE(WaitForHandled(0));
    qint64 shown = grid->slot(0).imgCam->picture().cacheKey();
    QString refreshed = grid->slot(0).txtRefreshed->text();
    // 15 fetches of one 30-second stretch, 2 s apart; the file changes before the 8th.
    for (int fetch = 2; fetch <= 15; ++fetch) {
        now = now.addSecs(2);
        if (fetch == 8) {
            ASSERT_TRUE(Put(QColor(40, 200, 40), QTime(6, 0, 14)));
        }
        grid->cam(0).cmdRefresh_Click();
        ASSERT_TRUE(WaitForHandled(0)) << "fetch " << fetch;
        const ViewerSlot& s = grid->slot(0);
        WatchedCam& sCam = grid->cam(0);
        if (fetch == 8) {
            EXPECT_NE(s.imgCam->picture().cacheKey(), shown);
            EXPECT_TRUE(sCam.slotIsNew);
            EXPECT_NE(s.txtRefreshed->text(), refreshed);
            shown = s.imgCam->picture().cacheKey();
            refreshed = s.txtRefreshed->text();
            continue;
        }
        // Unchanged: the very picture stays, whether the server said so or sent the same bytes
        // again (which are not decoded a second time); it is not new and txtRefreshed is kept.
        EXPECT_EQ(s.imgCam->picture().cacheKey(), shown) << "fetch " << fetch;
        EXPECT_FALSE(sCam.slotIsNew) << "fetch " << fetch;
        EXPECT_EQ(s.txtRefreshed->text(), refreshed) << "fetch " << fetch;
        EXPECT_TRUE(s.imgRefresh->isHidden());
        EXPECT_TRUE(s.imgCam->hasPicture());
    }
    const QStringList saved =
        QDir(home.filePath(QStringLiteral("cam"))).entryList({QStringLiteral("*.jpg")}, QDir::Files);
    EXPECT_EQ(saved.size(), 1);  // exactly the change
    const QString summary = grid->cam(0).healthSummary();
    EXPECT_TRUE(conditional ? summary == QLatin1String("ok: unchanged (304)")
                            : summary.startsWith(QLatin1String("ok: picture shown")))
        << summary.toStdString();

    web->stop();  // lighttpd writes its access log out as it stops
    const QStringList log = web->accessLog();
    qint64 bodyBytes = 0;
    int notModified = 0;
    for (const QString& line : log) {
        bodyBytes += line.section(QLatin1Char(' '), -1).toLongLong();
        notModified += line.section(QLatin1Char(' '), -2, -2) == QLatin1String("304") ? 1 : 0;
    }
    EXPECT_EQ(log.size(), 15);
    EXPECT_EQ(notModified, conditional ? 13 : 0);
    std::cout << "[ bytes    ] conditional requests " << (conditional ? "on" : "off") << ": " << log.size()
              << " requests, " << notModified << " answered 304, " << bodyBytes << " body bytes sent, " << received
              << " bytes received" << std::endl;
}

INSTANTIATE_TEST_SUITE_P(Lighttpd, ConditionalRequestTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "On" : "Off"; });

// --- loopback ------------------------------------------------------------------------------

const QByteArray kStamp = "Tue, 07 May 2024 06:00:00 GMT";

QByteArray Answer(const QList<QByteArray>& lines, const QByteArray& body = MakeTestJpeg())
{
    HttpAnswer answer;
    answer.lastModified = kStamp;
    answer.extraLines = lines;
    answer.body = body;
    return answer.bytes();
}

QByteArray NotModified()
{
    return "HTTP/1.1 304 Not Modified\r\nETag: \"abc\"\r\n\r\n";
}

class ConditionalLoopbackTest : public CamServerFixture {
protected:
    void SetUp() override
    {
        CamServerFixture::SetUp();
        grid->cams().setTickInterval(3600 * 1000);
    }

    void Conditional(bool on)
    {
        FetchOptions options;
        options.conditionalRequests = on;
        grid->cams().setFetchOptions(options);
    }

    RequestConditions Asked(const QByteArray& etag) const { return {etag, kStamp}; }
};

TEST_F(ConditionalLoopbackTest, TheNextRequestAsksAboutThePictureShown)
{
    Conditional(true);
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(Answer({"ETag: \"abc\""}))));
    const QByteArray plain = BuildCamRequest(QStringLiteral("/cam1.jpg"), server.hostHeader());
    EXPECT_EQ(server.request(0), plain) << "nothing shown yet: nothing to ask about";
    ASSERT_TRUE(FetchAgain(0, ScriptedReply::whole(NotModified())));
    EXPECT_EQ(server.request(1),
              BuildCamRequest(QStringLiteral("/cam1.jpg"), server.hostHeader(), {}, Asked("\"abc\"")));
    EXPECT_TRUE(server.request(1).endsWith("Accept: */*\r\nIf-None-Match: \"abc\"\r\n"
                                           "If-Modified-Since: Tue, 07 May 2024 06:00:00 GMT\r\n\r\n"));
    EXPECT_EQ(grid->cam(0).health().last.kind, FetchOutcomeKind::Unchanged);
    EXPECT_TRUE(handledPictures.size() == 1) << "a 304 shows no new picture";

    // A validator holding a control character is not sent back; the other one is.
    ASSERT_TRUE(FetchAgain(0, ScriptedReply::whole(Answer({QByteArray("ETag: \"a\x01") + "b\""}))));
    ASSERT_TRUE(FetchAgain(0, ScriptedReply::whole(NotModified())));
    EXPECT_EQ(server.request(3), BuildCamRequest(QStringLiteral("/cam1.jpg"), server.hostHeader(), {}, Asked({})));

    // After the not-found picture there is nothing to keep: the request asks nothing.
    HttpAnswer missing;
    missing.statusLine = "HTTP/1.1 404 Not Found";
    missing.contentType = "text/html";
    ASSERT_TRUE(FetchAgain(0, ScriptedReply::whole(missing.bytes())));
    ASSERT_TRUE(FetchAgain(0, ScriptedReply::whole(Answer({}))));
    EXPECT_EQ(server.request(5), plain);
}

TEST_F(ConditionalLoopbackTest, OffTheRequestIsTodaysAndA304IsNotAPicture)
{
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(Answer({"ETag: \"abc\""}))));
    ASSERT_TRUE(FetchAgain(0, ScriptedReply::whole(NotModified())));
    EXPECT_EQ(server.request(1), BuildCamRequest(QStringLiteral("/cam1.jpg"), server.hostHeader()));
    EXPECT_EQ(grid->cam(0).health().last.kind, FetchOutcomeKind::NotAPicture);
    EXPECT_EQ(grid->slot(0).imgCam->picture(), QImage(QStringLiteral(":/pictures/notfound.png")));
}

TEST_F(ConditionalLoopbackTest, AnotherAddressIsNotAskedAboutThisOnesPicture)
{
    Conditional(true);
    ASSERT_TRUE(OpenFirstCam(ScriptedReply::whole(Answer({"ETag: \"abc\""}))));
    CamRecord edited{QStringLiteral("Cam 1"), server.url(QStringLiteral("/other.jpg")), QStringLiteral("30")};
    grid->UpdateOpenSlots(QStringLiteral("Cam 1"), edited);
    ASSERT_TRUE(FetchAgain(0, ScriptedReply::whole(Answer({}))));
    EXPECT_EQ(server.request(1), BuildCamRequest(QStringLiteral("/other.jpg"), server.hostHeader()));
}

}  // namespace
