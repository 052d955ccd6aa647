// A cam whose certificate comes from a private authority: trusted once SSL_CERT_FILE,
// SSL_CERT_DIR or the caFile setting names that authority, refused without.
#include <QFile>

#include "SlotGridFixture.h"
#include "TestPictures.h"
#include "TestPki.h"
#include "TrustedCas.h"

namespace {

class TrustedCaTest : public CamServerFixture {
protected:
    void SetUp() override
    {
        CamServerFixture::SetUp();
        ASSERT_TRUE(pki.isValid()) << pki.problem().toStdString();
        server.enableTls(pki);
        HttpAnswer answer;
        answer.body = MakeTestJpeg();
        server.setReply(QStringLiteral("/cam.jpg"), ScriptedReply::whole(answer.bytes()));
        caPem = home.filePath(QStringLiteral("private-ca.pem"));
        QFile file(caPem);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(pki.caCertificate().toPem());
    }

    void TearDown() override
    {
        qunsetenv("SSL_CERT_FILE");
        qunsetenv("SSL_CERT_DIR");
        SetCaFile(QString());
        CamServerFixture::TearDown();
    }

    // Opens the https cam and waits for its first fetch to end; true when it showed a picture.
    bool PictureShown()
    {
        WriteCamList({CamRecord{QStringLiteral("Private"), server.url(), QStringLiteral("30")}});
        StartCam(QStringLiteral("Private"));
        EXPECT_TRUE(WaitFor([this] { return grid->cam(0).health().last.kind != FetchOutcomeKind::None; }));
        return grid->slot(0).imgCam->hasPicture();
    }

    const TestPki& pki = TestPki::shared();
    QString caPem;
};

TEST_F(TrustedCaTest, WithoutTheAuthorityTheCamIsRefused)
{
    EXPECT_FALSE(PictureShown());
    EXPECT_EQ(grid->cam(0).health().last.kind, FetchOutcomeKind::TlsFailure);
}

TEST_F(TrustedCaTest, SslCertFileNamesIt)
{
    qputenv("SSL_CERT_FILE", caPem.toLocal8Bit());
    EXPECT_TRUE(PictureShown());
}

TEST_F(TrustedCaTest, SslCertDirNamesIt)
{
    // OpenSSL's list form: a folder that does not exist first, then the one with the authority.
    qputenv("SSL_CERT_DIR", (home.filePath(QStringLiteral("none")) + QLatin1Char(':') + home.path()).toLocal8Bit());
    EXPECT_TRUE(PictureShown());
}

TEST_F(TrustedCaTest, TheCaFileSettingNamesIt)
{
    SetCaFile(caPem);
    EXPECT_TRUE(PictureShown());
}

TEST(TrustedCaFiles, ProblemsAreNamed)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QString problem;
    EXPECT_TRUE(ReadPemCertificates(folder.filePath(QStringLiteral("missing.pem")), &problem).isEmpty());
    EXPECT_FALSE(problem.isEmpty());

    QFile text(folder.filePath(QStringLiteral("notes.pem")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("-----BEGIN CERTIFICATE-----\nnot base64 at all\n");
    text.close();
    EXPECT_TRUE(ReadPemCertificates(text.fileName(), &problem).isEmpty());
    EXPECT_EQ(problem, QStringLiteral("no PEM certificate in it"));
    // A folder's unreadable or foreign files are passed over.
    EXPECT_TRUE(ReadCertificateFolder(folder.path()).isEmpty());
}

}  // namespace
