#include "TestPki.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

namespace {
const char* const kCaConfig = "[req]\n"
                              "distinguished_name = dn\n"
                              "x509_extensions = v3_ca\n"
                              "prompt = no\n"
                              "[dn]\n"
                              "CN = Tolvane Test CA\n"
                              "[v3_ca]\n"
                              "basicConstraints = critical,CA:TRUE\n"
                              "keyUsage = critical,keyCertSign,cRLSign\n"
                              "subjectKeyIdentifier = hash\n";

const char* const kServerConfig = "[req]\n"
                                  "distinguished_name = dn\n"
                                  "prompt = no\n"
                                  "[dn]\n"
                                  "CN = localhost\n"
                                  "[v3_server]\n"
                                  "basicConstraints = CA:FALSE\n"
                                  "keyUsage = critical,digitalSignature\n"
                                  "extendedKeyUsage = serverAuth\n"
                                  "subjectAltName = DNS:localhost,IP:127.0.0.1\n"
                                  "authorityKeyIdentifier = keyid\n"
                                  "[v3_other]\n"
                                  "basicConstraints = CA:FALSE\n"
                                  "keyUsage = critical,digitalSignature\n"
                                  "extendedKeyUsage = serverAuth\n"
                                  "subjectAltName = DNS:elsewhere.example\n"
                                  "authorityKeyIdentifier = keyid\n"
                                  "[v3_self]\n"
                                  "basicConstraints = CA:FALSE\n"
                                  "subjectAltName = DNS:localhost,IP:127.0.0.1\n";

bool writeText(const QString& path, const char* text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) >= 0;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
}  // namespace

TestPki::TestPki()
{
    const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
    if (openssl.isEmpty()) {
        problem_ = QStringLiteral("the openssl command is not installed, so no test certificates can be made");
        return;
    }
    QTemporaryDir dir;
    const auto in = [&](const char* name) { return dir.filePath(QLatin1String(name)); };
    if (!dir.isValid() || !writeText(in("ca.cnf"), kCaConfig) || !writeText(in("server.cnf"), kServerConfig)) {
        problem_ = QStringLiteral("cannot write the openssl configuration to a temporary folder");
        return;
    }
    const QStringList ecKey{QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                            QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes")};
    const auto signedByCa = [&](const char* csr, const char* serial, const char* days, const char* extensions,
                                const char* out) {
        return QStringList{QStringLiteral("x509"),        QStringLiteral("-req"),
                           QStringLiteral("-in"),         in(csr),
                           QStringLiteral("-CA"),         in("ca.crt"),
                           QStringLiteral("-CAkey"),      in("ca.key"),
                           QStringLiteral("-set_serial"), QLatin1String(serial),
                           QStringLiteral("-days"),       QLatin1String(days),
                           QStringLiteral("-extfile"),    in("server.cnf"),
                           QStringLiteral("-extensions"), QLatin1String(extensions),
                           QStringLiteral("-out"),        in(out)};
    };
    const QList<QStringList> steps{
        QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + ecKey +
            QStringList{QStringLiteral("-keyout"), in("ca.key"), QStringLiteral("-out"), in("ca.crt"),
                        QStringLiteral("-days"), QStringLiteral("3"), QStringLiteral("-config"), in("ca.cnf")},
        QStringList{QStringLiteral("req"), QStringLiteral("-new")} + ecKey +
            QStringList{QStringLiteral("-keyout"), in("server.key"), QStringLiteral("-out"), in("server.csr"),
                        QStringLiteral("-config"), in("server.cnf")},
        signedByCa("server.csr", "2", "3", "v3_server", "server.crt"),
        // The refused ones: signed by itself; by the CA for another name; by the CA, expired a day ago.
        QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + ecKey +
            QStringList{QStringLiteral("-keyout"), in("self.key"), QStringLiteral("-out"), in("self.crt"),
                        QStringLiteral("-days"), QStringLiteral("3"), QStringLiteral("-config"), in("server.cnf"),
                        QStringLiteral("-extensions"), QStringLiteral("v3_self")},
        QStringList{QStringLiteral("req"), QStringLiteral("-new")} + ecKey +
            QStringList{QStringLiteral("-keyout"), in("other.key"), QStringLiteral("-out"), in("other.csr"),
                        QStringLiteral("-config"), in("server.cnf"), QStringLiteral("-subj"),
                        QStringLiteral("/CN=elsewhere.example")},
        signedByCa("other.csr", "3", "3", "v3_other", "other.crt"),
        signedByCa("server.csr", "4", "-1", "v3_server", "expired.crt"),
    };
    for (const QStringList& arguments : steps) {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(openssl, arguments);
        if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
            process.exitCode() != 0) {
            problem_ = QStringLiteral("openssl %1 failed: %2")
                           .arg(arguments.first(), QString::fromLocal8Bit(process.readAll()).trimmed());
            return;
        }
    }
    ca_ = QSslCertificate(readAll(in("ca.crt")));
    serverCertificate_ = QSslCertificate(readAll(in("server.crt")));
    serverKey_ = QSslKey(readAll(in("server.key")), QSsl::Ec);
    selfSigned_ = {QSslCertificate(readAll(in("self.crt"))), QSslKey(readAll(in("self.key")), QSsl::Ec)};
    otherName_ = {QSslCertificate(readAll(in("other.crt"))), QSslKey(readAll(in("other.key")), QSsl::Ec)};
    expired_ = {QSslCertificate(readAll(in("expired.crt"))), serverKey_};
    if (ca_.isNull() || serverCertificate_.isNull() || serverKey_.isNull() || selfSigned_.certificate.isNull() ||
        selfSigned_.key.isNull() || otherName_.certificate.isNull() || otherName_.key.isNull() ||
        expired_.certificate.isNull())
        problem_ = QStringLiteral("the certificates openssl made cannot be read back");
}

const TestPki& TestPki::shared()
{
    static const TestPki pki;
    return pki;
}
