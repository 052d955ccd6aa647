// Cams that need a password in their address: against Debian's lighttpd (Basic, Digest MD5,
// Digest SHA-256, a wrong password) and against loopback servers for what lighttpd does not
// send (stale nonces, endless 401s, broken challenges).
#include <QDir>
#include <QFile>
#include <QTimeZone>

#include "CamUrl.h"
#include "LighttpdServer.h"
#include "SlotGridFixture.h"
#include "TestPictures.h"

namespace {

const QString kName = QStringLiteral("Locked");

class SignInTest : public CamServerFixture {
protected:
    void SetUp() override
    {
        CamServerFixture::SetUp();
        grid->cams().setTickInterval(3600 * 1000);  // fetches happen when a test asks for them
    }

    void Open(const QString& url)
    {
        WriteCamList({CamRecord{kName, url, QStringLiteral("30")}});
        StartCam(kName);
    }

    // Waits until the slot has handled the answer of its running fetch (a picture, a refusal, ...).
    bool WaitForEnd() { return WaitForHandled(0); }

    bool Refetch()
    {
        grid->cam(0).cmdRefresh_Click();
        return WaitForEnd();
    }

    QStringList SavedPictures() const
    {
        return QDir(home.filePath(QStringLiteral("cam"))).entryList({QStringLiteral("*.jpg")}, QDir::Files);
    }

    QString Summary() const { return grid->cam(0).healthSummary(); }
};

// --- lighttpd -------------------------------------------------------------------------------

struct LighttpdCase {
    const char* what;
    const char* method;
    const char* algorithm;
    bool passwordInClear;
};

void PrintTo(const LighttpdCase& c, std::ostream* os)
{
    *os << c.what;
}

class LighttpdSignIn : public SignInTest, public testing::WithParamInterface<LighttpdCase> {
protected:
    void SetUp() override
    {
        SignInTest::SetUp();
        ASSERT_TRUE(web_folder.isValid());
        web = std::make_unique<LighttpdServer>(web_folder.path());
        web->addUser(QStringLiteral("viewer"), QStringLiteral("s3cret:x"));
        web->requireSignIn(QStringLiteral("/locked/"), QLatin1String(GetParam().method),
                           QLatin1String(GetParam().algorithm));
        ASSERT_TRUE(PutPicture(QColor(200, 40, 40), QDateTime(QDate(2024, 5, 7), QTime(6, 0), Qt::UTC)));
        ASSERT_TRUE(web->start()) << web->problem().toStdString();
    }

    void TearDown() override
    {
        web.reset();
        SignInTest::TearDown();
    }

    bool PutPicture(const QColor& color, const QDateTime& modified)
    {
        const QString path = QStringLiteral("locked/cam.jpg");
        if (!web->putFile(path, MakeTestJpeg(QSize(64, 48), color)))
            return false;
        QFile file(web->documentPath(path));
        return file.open(QIODevice::ReadWrite) && file.setFileTime(modified, QFileDevice::FileModificationTime);
    }

    QStringList Statuses() const
    {
        QStringList statuses;
        for (const QString& line : web->accessLog())
            statuses << line.section(QLatin1Char(' '), -2, -2);
        return statuses;
    }

    QTemporaryDir web_folder;
    std::unique_ptr<LighttpdServer> web;
};

TEST_P(LighttpdSignIn, ShowsAndSavesPicturesSigningInOnce)
{
    chkSave->setChecked(true);
    // The password holds a ":" and goes percent-encoded, as in any address.
    Open(web->url(QStringLiteral("/locked/cam.jpg"), QStringLiteral("viewer:s3cret%3Ax@")));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(grid->cam(0).health().last.kind, FetchOutcomeKind::PictureShown) << Summary().toStdString();
    EXPECT_TRUE(grid->slot(0).imgCam->hasPicture()) << grid->slot(0).txtAddress->text().toStdString();

    ASSERT_TRUE(PutPicture(QColor(40, 200, 40), QDateTime(QDate(2024, 5, 7), QTime(6, 5), Qt::UTC)));
    ASSERT_TRUE(Refetch());
    EXPECT_EQ(grid->cam(0).health().last.kind, FetchOutcomeKind::PictureShown) << Summary().toStdString();
    EXPECT_EQ(SavedPictures().size(), 1);  // the changed picture, saved

    // One 401 at the first fetch; the second fetch signed in at once.
    web->stop();  // lighttpd writes its access log out as it stops
    EXPECT_EQ(Statuses(), QStringList({QStringLiteral("401"), QStringLiteral("200"), QStringLiteral("200")}));
    const bool noted =
        std::any_of(grid->cam(0).health().notes.begin(), grid->cam(0).health().notes.end(),
                    [](const HealthNote& note) { return note.kind == HealthNote::Kind::PasswordInClear; });
    EXPECT_EQ(noted, GetParam().passwordInClear);
    EXPECT_EQ(Summary().contains(QLatin1String("unencrypted")), GetParam().passwordInClear);
    EXPECT_FALSE(Summary().contains(QLatin1String("s3cret")));
}

TEST_P(LighttpdSignIn, AWrongPasswordIsSignInRefused)
{
    Open(web->url(QStringLiteral("/locked/cam.jpg"), QStringLiteral("viewer:wrong@")));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(grid->cam(0).health().last.kind, FetchOutcomeKind::SignInRefused);
    EXPECT_TRUE(Summary().startsWith(QLatin1String("failing: ")));
    EXPECT_TRUE(Summary().endsWith(QLatin1String("sign-in refused"))) << Summary().toStdString();
    EXPECT_EQ(grid->slot(0).imgCam->picture(), QImage(QStringLiteral(":/pictures/notfound.png")));
    web->stop();  // lighttpd writes its access log out as it stops
    EXPECT_EQ(Statuses(), QStringList({QStringLiteral("401"), QStringLiteral("401")}));
}

INSTANTIATE_TEST_SUITE_P(Lighttpd, LighttpdSignIn,
                         testing::Values(LighttpdCase{"Basic", "basic", "MD5", true},
                                         LighttpdCase{"DigestMD5", "digest", "MD5", false},
                                         LighttpdCase{"DigestSHA256", "digest", "SHA-256", false}));

// --- loopback servers -----------------------------------------------------------------------

QByteArray Unauthorized(const QByteArray& challenge)
{
    HttpAnswer answer;
    answer.statusLine = "HTTP/1.1 401 Unauthorized";
    answer.contentType = "text/html";
    answer.extraLines = {"WWW-Authenticate: " + challenge};
    answer.body = "<h1>401</h1>";
    return answer.bytes();
}

QByteArray Picture()
{
    HttpAnswer answer;
    answer.body = MakeTestJpeg();
    return answer.bytes();
}

TEST_F(SignInTest, TheFirstRequestIsTodaysAndTheHostLineNeverHoldsTheUserPart)
{
    server.enqueue(ScriptedReply::whole(Picture()));
    Open(QStringLiteral("http://viewer:pw@127.0.0.1:%1/cam.jpg").arg(server.port()));
    ASSERT_TRUE(WaitForEnd());
    ASSERT_EQ(server.connectionCount(), 1);
    EXPECT_EQ(server.request(0), BuildCamRequest(QStringLiteral("/cam.jpg"), server.hostHeader()));
    EXPECT_EQ(grid->cam(0).health().last.kind, FetchOutcomeKind::PictureShown);
}

TEST_F(SignInTest, AStaleNonceIsAnsweredWithTheNewOne)
{
    server.enqueue(
        ScriptedReply::whole(Unauthorized("Digest realm=\"r\", nonce=\"n1\", algorithm=MD5-sess, qop=auth")));
    server.enqueue(ScriptedReply::whole(
        Unauthorized("Digest realm=\"r\", nonce=\"n2\", algorithm=MD5-sess, qop=auth, stale=true")));
    server.enqueue(ScriptedReply::whole(Picture()));
    Open(QStringLiteral("http://viewer:pw@127.0.0.1:%1/cam.jpg").arg(server.port()));
    ASSERT_TRUE(WaitForEnd());
    ASSERT_EQ(server.connectionCount(), 3);
    EXPECT_FALSE(server.request(0).contains("Authorization"));
    EXPECT_TRUE(server.request(1).contains("nonce=\"n1\""));
    EXPECT_TRUE(server.request(2).contains("nonce=\"n2\""));
    EXPECT_TRUE(server.request(2).contains("algorithm=MD5-sess"));
    EXPECT_EQ(grid->cam(0).health().last.kind, FetchOutcomeKind::PictureShown);
    EXPECT_EQ(grid->cam(0).health().consecutiveFailures, 0);
}

TEST_F(SignInTest, EndlessRefusalsEndAfterTheRetry)
{
    server.setDefaultReply(ScriptedReply::whole(Unauthorized("Digest realm=\"r\", nonce=\"n\", qop=\"auth\"")));
    Open(QStringLiteral("http://viewer:pw@127.0.0.1:%1/cam.jpg").arg(server.port()));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(Summary(), QStringLiteral("failing: sign-in refused"));
    EXPECT_EQ(server.connectionCount(), 2);

    // A server that calls every nonce stale is asked a bounded number of times.
    server.setDefaultReply(ScriptedReply::whole(Unauthorized("Digest realm=\"r\", nonce=\"n\", stale=true")));
    ASSERT_TRUE(Refetch());
    EXPECT_EQ(Summary(), QStringLiteral("failing: sign-in refused"));
    EXPECT_EQ(server.connectionCount(), 2 + 4);
}

TEST_F(SignInTest, ABrokenChallengeIsHandledAsAnyAnswer)
{
    server.enqueue(ScriptedReply::whole(Unauthorized("Digest realm=\"r, nonce=\"n")));  // the quote never closes
    Open(QStringLiteral("http://viewer:pw@127.0.0.1:%1/cam.jpg").arg(server.port()));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(server.connectionCount(), 1);
    EXPECT_EQ(Summary(), QStringLiteral("failing: HTTP 401 Unauthorized, text/html, 12 bytes"));
}

}  // namespace
