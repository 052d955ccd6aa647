#pragma once
// Debian's lighttpd as a real web server for tests: a config written into a folder of the test,
// bound to 127.0.0.1 on a free port, started as a child process and stopped with the object.
// It serves the folder's "htdocs" (JPEGs as image/jpeg, with Last-Modified and ETag, answering
// If-Modified-Since and If-None-Match itself), with sign-in (plain user file: Basic, Digest
// MD5 and Digest SHA-256) and redirect rules as the test adds them before start().
//
//     LighttpdServer web(folder.path());
//     web.addUser("viewer", "secret");
//     web.requireSignIn("/digest-md5/", "digest", "MD5");
//     web.addRedirect("^/old/(.*)$", "/new/$1");
//     web.putFile("new/cam.jpg", MakeTestJpeg());
//     ASSERT_TRUE(web.start()) << web.problem().toStdString();  // fails (never skips) without lighttpd
#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>

class LighttpdServer {
public:
    explicit LighttpdServer(const QString& folder);
    ~LighttpdServer();
    LighttpdServer(const LighttpdServer&) = delete;
    LighttpdServer& operator=(const LighttpdServer&) = delete;

    void addUser(const QString& user, const QString& password);
    // Paths under `prefix` need sign-in: method "basic" or "digest", algorithm "MD5" or "SHA-256".
    void requireSignIn(const QString& prefix, const QString& method, const QString& algorithm = QStringLiteral("MD5"));
    // A url.redirect rule (301 by default): regular expression and target, "$1" for its group.
    void addRedirect(const QString& pattern, const QString& target);
    void setRedirectCode(int code) { redirectCode_ = code; }
    // Writes a file below htdocs (folders made as needed); a later call replaces it.
    bool putFile(const QString& path, const QByteArray& bytes);
    QString documentPath(const QString& path) const;

    // Writes the config, starts lighttpd and waits until it accepts connections.
    bool start();
    void stop();
    QString problem() const { return problem_; }
    quint16 port() const { return port_; }
    // "http://" + userPart + "127.0.0.1:<port>" + path; userPart like "viewer:secret@".
    QString url(const QString& path, const QString& userPart = QString()) const;
    // The access log's lines so far (one per request: status and bytes sent).
    QStringList accessLog() const;

private:
    bool StartOnce(const QString& program, bool* portTaken);
    QString folder_;
    QStringList users_;
    QStringList authRules_;
    QStringList redirects_;
    int redirectCode_ = 301;
    quint16 port_ = 0;
    std::unique_ptr<QProcess> process_;
    QString problem_;
};
