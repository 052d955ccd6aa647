#pragma once
// A certificate authority and a server certificate for "localhost" and 127.0.0.1, made at test
// time with the openssl command line, so that TLS tests run against a server the client can
// verify; and three server certificates a client must refuse (self-signed, for another name,
// expired). Tests that need one skip when it cannot be made:
//
//     const TestPki& pki = TestPki::shared();
//     if (!pki.isValid())
//         GTEST_SKIP() << pki.problem().toStdString();
//     CamSocket::SetExtraCaCertificates({pki.caCertificate()});
//     server.enableTls(pki);
#include <QSslCertificate>
#include <QSslKey>
#include <QString>

class TestPki {
public:
    // Makes a fresh CA and server certificate (elliptic-curve keys, valid for a few days).
    TestPki();

    bool isValid() const { return problem_.isEmpty(); }
    // Why the PKI could not be made (openssl missing, a command failed), for the skip message.
    QString problem() const { return problem_; }

    QSslCertificate caCertificate() const { return ca_; }
    QSslCertificate serverCertificate() const { return serverCertificate_; }
    QSslKey serverKey() const { return serverKey_; }

    // Server certificates with something wrong, each with its key.
    struct Identity {
        QSslCertificate certificate;
        QSslKey key;
    };
    Identity selfSigned() const { return selfSigned_; }  // for localhost and 127.0.0.1, signed by itself
    Identity otherName() const { return otherName_; }    // by the CA, for elsewhere.example only
    Identity expired() const { return expired_; }        // by the CA, for localhost and 127.0.0.1, expired

    // One PKI per test run, made on first use (a second TestPki is a CA nobody trusts).
    static const TestPki& shared();

private:
    QString problem_;
    QSslCertificate ca_;
    QSslCertificate serverCertificate_;
    QSslKey serverKey_;
    Identity selfSigned_;
    Identity otherName_;
    Identity expired_;
};
