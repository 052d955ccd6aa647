// "Follow redirects": a lighttpd redirect chain shows its picture with the option and the
// not-found picture without it; loopback servers show the request of each hop, loops, one
// redirect too many, https to http, control characters and where a password may go.
#include <QDir>
#include <QFile>

#include "CamSocket.h"
#include "CamUrl.h"
#include "LighttpdServer.h"
#include "SlotGridFixture.h"
#include "TestPictures.h"
#include "TestPki.h"

namespace {

class RedirectTest : public CamServerFixture {
protected:
    void SetUp() override
    {
        CamServerFixture::SetUp();
        grid->cams().setTickInterval(3600 * 1000);  // fetches happen when a test asks for them
        Follow(true);
    }

    void Follow(bool on)
    {
        FetchOptions options;
        options.followRedirects = on;
        grid->cams().setFetchOptions(options);
    }

    void Open(const QString& url)
    {
        WriteCamList({CamRecord{QStringLiteral("Moved"), url, QStringLiteral("30")}});
        StartCam(QStringLiteral("Moved"));
    }

    bool NotFoundShown() const
    {
        return grid->slot(0).imgCam->picture() == QImage(QStringLiteral(":/pictures/notfound.png"));
    }

    std::string Summary() const { return grid->cam(0).healthSummary().toStdString(); }

    static ScriptedReply Moved(const QByteArray& location, int status = 302)
    {
        HttpAnswer answer;
        answer.statusLine = "HTTP/1.1 " + QByteArray::number(status) + " Moved";
        answer.contentType = "text/html";
        answer.extraLines = {"Location: " + location};
        answer.body = "<a href=\"elsewhere\">moved</a>";
        return ScriptedReply::whole(answer.bytes());
    }

    static ScriptedReply Picture()
    {
        HttpAnswer answer;
        answer.body = MakeTestJpeg();
        return ScriptedReply::whole(answer.bytes());
    }
};

// --- lighttpd -------------------------------------------------------------------------------

class LighttpdRedirect : public RedirectTest {
protected:
    void SetUp() override
    {
        RedirectTest::SetUp();
        ASSERT_TRUE(folder.isValid());
        web = std::make_unique<LighttpdServer>(folder.path());
        web->addRedirect(QStringLiteral("^/current[.]jpg$"), QStringLiteral("/today/current.jpg"));
        web->addRedirect(QStringLiteral("^/today/current[.]jpg$"), QStringLiteral("/2024/05/07/0600.jpg"));
        web->setRedirectCode(302);
        ASSERT_TRUE(web->putFile(QStringLiteral("2024/05/07/0600.jpg"), MakeTestJpeg()));
        ASSERT_TRUE(web->start()) << web->problem().toStdString();
    }

    QStringList Statuses()
    {
        web->stop();  // lighttpd writes its access log out as it stops
        QStringList statuses;
        for (const QString& line : web->accessLog())
            statuses << line.section(QLatin1Char(' '), -2, -2);
        return statuses;
    }

    QTemporaryDir folder;
    std::unique_ptr<LighttpdServer> web;
};

TEST_F(LighttpdRedirect, AChainShowsItsPictureAndHealthShowsTheWay)
{
    Open(web->url(QStringLiteral("/current.jpg")));
    ASSERT_TRUE(WaitForHandled(0));
    EXPECT_EQ(grid->cam(0).health().last.kind, FetchOutcomeKind::PictureShown) << Summary();
    EXPECT_TRUE(grid->slot(0).imgCam->hasPicture());
    const QString base = web->url(QString());
    EXPECT_TRUE(grid->cam(0).healthSummary().endsWith(QStringLiteral("; redirected: HTTP 302 to %1/today/current.jpg, "
                                                                     "HTTP 302 to %1/2024/05/07/0600.jpg")
                                                          .arg(base)))
        << Summary();
    EXPECT_EQ(Statuses(), QStringList({QStringLiteral("302"), QStringLiteral("302"), QStringLiteral("200")}));
}

TEST_F(LighttpdRedirect, OffTheChainShowsTheNotFoundPicture)
{
    Follow(false);
    Open(web->url(QStringLiteral("/current.jpg")));
    ASSERT_TRUE(WaitForHandled(0));
    EXPECT_EQ(grid->cam(0).health().last.kind, FetchOutcomeKind::Redirect);
    EXPECT_TRUE(NotFoundShown());
    EXPECT_TRUE(grid->cam(0).healthSummary().startsWith(QLatin1String("failing: HTTP 302 to ")));
    EXPECT_TRUE(grid->cam(0).healthSummary().endsWith(QLatin1String("/today/current.jpg, not followed"))) << Summary();
    EXPECT_EQ(Statuses(), QStringList{QStringLiteral("302")});
}

// --- loopback -------------------------------------------------------------------------------

TEST_F(RedirectTest, EachHopAsksTheSameWayWithItsOwnHostLine)
{
    FakeCamServer other;
    ASSERT_TRUE(other.isListening());
    server.setReply(QStringLiteral("/a.jpg"), Moved("b.jpg", 301));
    server.setReply(QStringLiteral("/b.jpg"), Moved(other.url(QStringLiteral("/c.jpg")).toUtf8(), 307));
    other.setReply(QStringLiteral("/c.jpg"), Picture());
    Open(server.url(QStringLiteral("/a.jpg")));
    ASSERT_TRUE(WaitForHandled(0));
    EXPECT_EQ(grid->cam(0).health().last.kind, FetchOutcomeKind::PictureShown) << Summary();
    ASSERT_EQ(server.connectionCount(), 2);
    ASSERT_EQ(other.connectionCount(), 1);
    EXPECT_EQ(server.request(0), BuildCamRequest(QStringLiteral("/a.jpg"), server.hostHeader()));
    EXPECT_EQ(server.request(1), BuildCamRequest(QStringLiteral("/b.jpg"), server.hostHeader()));
    EXPECT_EQ(other.request(0), BuildCamRequest(QStringLiteral("/c.jpg"), other.hostHeader()));

    // Off, the very first answer ends the fetch, and the request is the same.
    Follow(false);
    grid->cam(0).cmdRefresh_Click();
    ASSERT_TRUE(WaitForHandled(0));
    EXPECT_EQ(server.connectionCount(), 3);
    EXPECT_EQ(server.request(2), server.request(0));
    EXPECT_EQ(grid->cam(0).healthSummary(), QStringLiteral("failing: HTTP 301 to b.jpg, not followed"));
}

TEST_F(RedirectTest, ALoopIsTheNotFoundPicture)
{
    server.setReply(QStringLiteral("/a.jpg"), Moved("/b.jpg"));
    server.setReply(QStringLiteral("/b.jpg"), Moved(server.url(QStringLiteral("/a.jpg")).toUtf8()));
    Open(server.url(QStringLiteral("/a.jpg")));
    ASSERT_TRUE(WaitForHandled(0));
    EXPECT_TRUE(NotFoundShown());
    EXPECT_EQ(server.connectionCount(), 2);
    EXPECT_EQ(grid->cam(0).healthSummary(),
              QStringLiteral("failing: redirect loop: HTTP 302 back to %1; redirected: "
                             "HTTP 302 to %2")
                  .arg(server.url(QStringLiteral("/a.jpg")), server.url(QStringLiteral("/b.jpg"))));
}

TEST_F(RedirectTest, FiveHopsAreFollowedAndTheSixthIsNot)
{
    for (int k = 0; k <= 6; ++k)
        server.setReply(QStringLiteral("/r%1").arg(k), Moved("/r" + QByteArray::number(k + 1)));
    Open(server.url(QStringLiteral("/r0")));
    ASSERT_TRUE(WaitForHandled(0));
    EXPECT_TRUE(NotFoundShown());
    EXPECT_EQ(server.connectionCount(), 6);
    EXPECT_TRUE(grid->cam(0).healthSummary().startsWith(
        QStringLiteral("failing: more than 5 redirects: HTTP 302 to %1 not followed; redirected: HTTP 302 to %2")
            .arg(server.url(QStringLiteral("/r6")), server.url(QStringLiteral("/r1")))))
        << Summary();
    EXPECT_EQ(grid->cam(0).health().last.redirects.size(), 5);
}

TEST_F(RedirectTest, ControlCharactersInTheLocationAreNotFollowed)
{
    server.setReply(QStringLiteral("/a.jpg"), Moved(QByteArray("/b.jpg\x1b") + "[2J"));
    Open(server.url(QStringLiteral("/a.jpg")));
    ASSERT_TRUE(WaitForHandled(0));
    EXPECT_TRUE(NotFoundShown());
    EXPECT_EQ(server.connectionCount(), 1);
    EXPECT_EQ(grid->cam(0).healthSummary(),
              QStringLiteral("failing: HTTP 302 with control characters in its Location, not followed"));
}

TEST_F(RedirectTest, HttpsMayNotLeadToHttpButHttpMayLeadToHttps)
{
    const TestPki& pki = TestPki::shared();
    ASSERT_TRUE(pki.isValid()) << pki.problem().toStdString();
    CamSocket::SetExtraCaCertificates({pki.caCertificate()});
    FakeCamServer secure;
    secure.enableTls(pki);
    ASSERT_TRUE(secure.isListening());
    secure.setReply(QStringLiteral("/down.jpg"), Moved(server.url(QStringLiteral("/plain.jpg")).toUtf8()));
    secure.setReply(QStringLiteral("/up.jpg"), Picture());
    server.setReply(QStringLiteral("/plain.jpg"), Moved(secure.url(QStringLiteral("/up.jpg")).toUtf8()));

    Open(secure.url(QStringLiteral("/down.jpg")));
    ASSERT_TRUE(WaitForHandled(0));
    EXPECT_TRUE(NotFoundShown());
    EXPECT_EQ(server.connectionCount(), 0) << "nothing is asked over plain http";
    EXPECT_EQ(grid->cam(0).healthSummary(),
              QStringLiteral("failing: unsafe redirect: HTTP 302 from https to %1")
                  .arg(server.url(QStringLiteral("/plain.jpg"))));

    grid->cmdStop_Click(0);
    Open(server.url(QStringLiteral("/plain.jpg")));
    ASSERT_TRUE(WaitForHandled(0));
    EXPECT_EQ(grid->cam(0).health().last.kind, FetchOutcomeKind::PictureShown) << Summary();
    ASSERT_EQ(secure.connectionCount(), 2);
    EXPECT_EQ(secure.request(1), BuildCamRequest(QStringLiteral("/up.jpg"), secure.hostHeader()));
    CamSocket::SetExtraCaCertificates({});
}

TEST_F(RedirectTest, APasswordGoesOnlyToTheCamsOwnHost)
{
    FakeCamServer other;
    ASSERT_TRUE(other.isListening());
    HttpAnswer challenge;
    challenge.statusLine = "HTTP/1.1 401 Unauthorized";
    challenge.contentType = "text/html";
    challenge.extraLines = {"WWW-Authenticate: Basic realm=\"cams\""};
    server.enqueue(ScriptedReply::whole(challenge.bytes()));
    server.enqueue(Moved("/inner.jpg"));
    server.enqueue(Moved(other.url(QStringLiteral("/cdn.jpg")).toUtf8()));
    other.enqueue(Picture());
    const QString address =
        server.url(QStringLiteral("/cam.jpg")).replace(QStringLiteral("http://"), QStringLiteral("http://viewer:pw@"));
    Open(address);
    ASSERT_TRUE(WaitForHandled(0));
    EXPECT_EQ(grid->cam(0).health().last.kind, FetchOutcomeKind::PictureShown) << Summary();
    ASSERT_EQ(server.connectionCount(), 3);
    const QByteArray basic = "Basic dmlld2VyOnB3";  // viewer:pw
    EXPECT_EQ(server.request(1), BuildCamRequest(QStringLiteral("/cam.jpg"), server.hostHeader(), basic));
    EXPECT_EQ(server.request(2), BuildCamRequest(QStringLiteral("/inner.jpg"), server.hostHeader(), basic));
    ASSERT_EQ(other.connectionCount(), 1);
    EXPECT_EQ(other.request(0), BuildCamRequest(QStringLiteral("/cdn.jpg"), other.hostHeader()));
    EXPECT_FALSE(grid->cam(0).healthSummary().contains(QLatin1String("pw@")));
}

}  // namespace
