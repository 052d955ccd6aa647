#include "TrustedCas.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSslConfiguration>

#include "WatchLog.h"

namespace {
constexpr qint64 kMaxPemBytes = 4 * 1024 * 1024;
constexpr int kMaxFolderFiles = 4096;  // far more than any authority folder holds

// What a file or folder looked like when it was read; read again when this changes.
struct Snapshot {
    QDateTime modified;
    qint64 size = -1;
    bool operator==(const Snapshot&) const = default;
};

Snapshot SnapshotOf(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return {info.lastModified(), info.size()};
}

struct CachedSource {
    Snapshot snapshot;
    QList<QSslCertificate> certificates;
};

QHash<QString, CachedSource>& Cache()
{
    static QHash<QString, CachedSource> cache;
    return cache;
}

QString& CaFileSetting()
{
    static QString fileName;
    return fileName;
}

QList<QSslCertificate>& TestCas()
{
    static QList<QSslCertificate> certificates;
    return certificates;
}

// The certificates of a file or folder, from the cache while it has not changed. `what` names
// the source in the log ("SSL_CERT_FILE", "caFile").
QList<QSslCertificate> Cached(const QString& path, bool folder, const char* what)
{
    const Snapshot now = SnapshotOf(path);
    const QString key = QLatin1String(folder ? "dir:" : "file:") + path;
    auto found = Cache().find(key);
    if (found != Cache().end() && found->snapshot == now)
        return found->certificates;
    CachedSource source;
    source.snapshot = now;
    if (folder) {
        source.certificates = ReadCertificateFolder(path);
    } else {
        QString problem;
        source.certificates = ReadPemCertificates(path, &problem);
        if (!problem.isEmpty())
            qCWarning(lcWatch).noquote() << QStringLiteral("%1 %2: %3").arg(QLatin1String(what), path, problem);
    }
    Cache().insert(key, source);
    return source.certificates;
}
}  // namespace

QList<QSslCertificate> ReadPemCertificates(const QString& fileName, QString* problem)
{
    const auto say = [problem](const QString& text) {
        if (problem)
            *problem = text;
        return QList<QSslCertificate>();
    };
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return say(file.errorString());
    if (file.size() > kMaxPemBytes)
        return say(QStringLiteral("larger than 4 MB, not a file of certificates"));
    const QList<QSslCertificate> certificates = QSslCertificate::fromData(file.read(kMaxPemBytes), QSsl::Pem);
    if (certificates.isEmpty())
        return say(QStringLiteral("no PEM certificate in it"));
    if (problem)
        problem->clear();
    return certificates;
}

QList<QSslCertificate> ReadCertificateFolder(const QString& folder)
{
    QList<QSslCertificate> certificates;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Readable, QDir::Name);
    for (qsizetype i = 0; i < files.size() && i < kMaxFolderFiles; ++i)
        certificates += ReadPemCertificates(files.at(i).filePath());
    return certificates;
}

QList<QSslCertificate> AdditionalCaCertificates()
{
    QList<QSslCertificate> certificates;
    const QString envFile = qEnvironmentVariable("SSL_CERT_FILE");
    if (!envFile.isEmpty())
        certificates += Cached(envFile, false, "SSL_CERT_FILE");
    // OpenSSL's convention: folders separated by ":".
    const QStringList folders = qEnvironmentVariable("SSL_CERT_DIR").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& folder : folders)
        certificates += Cached(folder, true, "SSL_CERT_DIR");
    if (!CaFileSetting().isEmpty())
        certificates += Cached(CaFileSetting(), false, "caFile");
    certificates += TestCas();
    return certificates;
}

void SetCaFile(const QString& fileName)
{
    CaFileSetting() = fileName.trimmed();
}

QString CaFile()
{
    return CaFileSetting();
}

void SetTestCaCertificates(const QList<QSslCertificate>& certificates)
{
    TestCas() = certificates;
}

const QList<QSslCertificate>& SystemCaCertificates()
{
    // Reading the system's store takes tens of milliseconds; it changes with a package update,
    // not while the program runs.
    static const QList<QSslCertificate> system = QSslConfiguration::systemCaCertificates();
    return system;
}
