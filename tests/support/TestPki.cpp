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
                                  "authorityKeyIdentifier = keyid\n";

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
    const QList<QStringList> steps{
        QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + ecKey +
            QStringList{QStringLiteral("-keyout"), in("ca.key"), QStringLiteral("-out"), in("ca.crt"),
                        QStringLiteral("-days"), QStringLiteral("3"), QStringLiteral("-config"), in("ca.cnf")},
        QStringList{QStringLiteral("req"), QStringLiteral("-new")} + ecKey +
            QStringList{QStringLiteral("-keyout"), in("server.key"), QStringLiteral("-out"), in("server.csr"),
                        QStringLiteral("-config"), in("server.cnf")},
        QStringList{QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"), in("server.csr"),
                    QStringLiteral("-CA"), in("ca.crt"), QStringLiteral("-CAkey"), in("ca.key"),
                    QStringLiteral("-set_serial"), QStringLiteral("2"), QStringLiteral("-days"), QStringLiteral("3"),
                    QStringLiteral("-extfile"), in("server.cnf"), QStringLiteral("-extensions"),
                    QStringLiteral("v3_server"), QStringLiteral("-out"), in("server.crt")},
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
    if (ca_.isNull() || serverCertificate_.isNull() || serverKey_.isNull())
        problem_ = QStringLiteral("the certificates openssl made cannot be read back");
}

const TestPki& TestPki::shared()
{
    static const TestPki pki;
    return pki;
}
