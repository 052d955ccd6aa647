#pragma once
// The certificate authorities a cam's TLS connection trusts: the system's, plus those named by
// SSL_CERT_FILE (a PEM file) and SSL_CERT_DIR (folders of PEM files, ":"-separated), as every
// OpenSSL program honours them, plus the PEM file of the setting caFile. Self-hosted cams often
// carry a certificate from a private authority that only these name.
#include <QList>
#include <QSslCertificate>
#include <QString>

// Every certificate of a PEM file; empty (with the reason in *problem) when it cannot be read
// or holds none. A file larger than 4 MB is no bundle of authorities and is refused.
QList<QSslCertificate> ReadPemCertificates(const QString& fileName, QString* problem = nullptr);
// The certificates of every file in a folder (links followed, sub-folders not), as PEM.
QList<QSslCertificate> ReadCertificateFolder(const QString& folder);

// The authorities added to the system's for every TLS connection: the environment's, the
// caFile's and those a test set. Files are read again only when they change.
QList<QSslCertificate> AdditionalCaCertificates();
// The caFile setting's path ("" for none). Its problems are logged once per change of the file.
void SetCaFile(const QString& fileName);
QString CaFile();
// Extra authorities set by tests (a CA made at run time).
void SetTestCaCertificates(const QList<QSslCertificate>& certificates);
// The system's authorities, read once.
const QList<QSslCertificate>& SystemCaCertificates();
