#include "LighttpdServer.h"

#include "ChildServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace {
QString Quoted(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}
}  // namespace

LighttpdServer::LighttpdServer(const QString& folder) : folder_(folder)
{
    QDir(folder_).mkpath(QStringLiteral("htdocs"));
}

LighttpdServer::~LighttpdServer()
{
    stop();
}

void LighttpdServer::addUser(const QString& user, const QString& password)
{
    users_ << user + QLatin1Char(':') + password;
}

void LighttpdServer::requireSignIn(const QString& prefix, const QString& method, const QString& algorithm)
{
    authRules_ << QStringLiteral("%1 => (\"method\" => %2, \"algorithm\" => %3, \"realm\" => \"cams\", "
                                 "\"require\" => \"valid-user\")")
                      .arg(Quoted(prefix), Quoted(method), Quoted(algorithm));
}

void LighttpdServer::addRedirect(const QString& pattern, const QString& target)
{
    redirects_ << Quoted(pattern) + QStringLiteral(" => ") + Quoted(target);
}

QString LighttpdServer::documentPath(const QString& path) const
{
    return folder_ + QStringLiteral("/htdocs/") + path;
}

bool LighttpdServer::putFile(const QString& path, const QByteArray& bytes)
{
    return WriteFile(documentPath(path), bytes);
}

bool LighttpdServer::start()
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("lighttpd"),
                                                           {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
    if (program.isEmpty()) {
        problem_ = QStringLiteral("lighttpd is not installed (tools/install-deps.sh installs it)");
        return false;
    }
    // A port found free may be taken by another test's server before lighttpd binds it: lighttpd
    // then ends, and the port answers for somebody else. So a start counts only once lighttpd
    // says it started, and a lost port is tried again with another.
    for (int attempt = 0; attempt < 5; ++attempt) {
        bool portTaken = false;
        if (StartOnce(program, &portTaken))
            return true;
        if (!portTaken)
            return false;
    }
    return false;
}

bool LighttpdServer::StartOnce(const QString& program, bool* portTaken)
{
    port_ = FreeLoopbackPort();
    if (port_ == 0) {
        problem_ = QStringLiteral("no free port");
        return false;
    }
    QStringList config;
    config << QStringLiteral("server.document-root = ") + Quoted(folder_ + QStringLiteral("/htdocs"))
           << QStringLiteral("server.bind = \"127.0.0.1\"")
           << QStringLiteral("server.port = %1").arg(port_)
           // A file replaced within the same second must be seen at once.
           << QStringLiteral("server.stat-cache-engine = \"disable\"")
           << QStringLiteral("server.errorlog = ") + Quoted(folder_ + QStringLiteral("/error.log"))
           << QStringLiteral("server.modules = (\"mod_auth\", \"mod_authn_file\", \"mod_redirect\", \"mod_accesslog\")")
           << QStringLiteral("accesslog.filename = ") + Quoted(folder_ + QStringLiteral("/access.log"))
           << QStringLiteral("accesslog.format = \"%r %s %b\"")
           << QStringLiteral(
                  "mimetype.assign = (\".jpg\" => \"image/jpeg\", \".html\" => \"text/html\", \".m3u8\" => "
                  "\"application/vnd.apple.mpegurl\", \".playlist\" => \"application/x-mpegURL\", \".ts\" => "
                  "\"video/mp2t\")")
           << QStringLiteral("auth.backend = \"plain\"")
           << QStringLiteral("auth.backend.plain.userfile = ") + Quoted(folder_ + QStringLiteral("/users"));
    if (!authRules_.isEmpty())
        config << QStringLiteral("auth.require = (") + authRules_.join(QStringLiteral(", ")) + QLatin1Char(')');
    if (!redirects_.isEmpty()) {
        config << QStringLiteral("url.redirect = (") + redirects_.join(QStringLiteral(", ")) + QLatin1Char(')');
        config << QStringLiteral("url.redirect-code = %1").arg(redirectCode_);
    }
    const QString configPath = folder_ + QStringLiteral("/lighttpd.conf");
    if (!WriteFile(configPath, config.join(QLatin1Char('\n')).toUtf8() + '\n') ||
        !WriteFile(folder_ + QStringLiteral("/users"), users_.join(QLatin1Char('\n')).toUtf8() + '\n')) {
        problem_ = QStringLiteral("cannot write the config into ") + folder_;
        return false;
    }
    // The log of an earlier start goes before lighttpd opens its own: removed after, it would take
    // lighttpd's "server started" with it.
    const QString errorLog = folder_ + QStringLiteral("/error.log");
    QFile::remove(errorLog);
    process_ = std::make_unique<QProcess>();
    process_->setProcessChannelMode(QProcess::MergedChannels);
    process_->start(program, {QStringLiteral("-D"), QStringLiteral("-f"), configPath});
    if (!process_->waitForStarted(5000)) {
        problem_ = QStringLiteral("lighttpd did not start: ") + process_->errorString();
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 10000) {
        if (process_->state() != QProcess::Running) {
            QFile log(errorLog);
            log.open(QIODevice::ReadOnly);
            const QByteArray said = process_->readAll() + log.readAll();
            *portTaken = said.contains("can't bind");
            problem_ = QStringLiteral("lighttpd stopped: ") + QString::fromUtf8(said);
            return false;
        }
        QFile log(errorLog);
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, port_);
        if (probe.waitForConnected(200) && log.open(QIODevice::ReadOnly) && log.readAll().contains("server started"))
            return true;
        QThread::msleep(20);  // lighttpd is still starting: poll again
    }
    problem_ = QStringLiteral("lighttpd did not listen on port %1 within 10 s").arg(port_);
    return false;
}

void LighttpdServer::stop()
{
    StopChildServer(process_);
}

QString LighttpdServer::url(const QString& path, const QString& userPart) const
{
    return QStringLiteral("http://") + userPart + QStringLiteral("127.0.0.1:%1").arg(port_) + path;
}

QStringList LighttpdServer::accessLog() const
{
    QFile log(folder_ + QStringLiteral("/access.log"));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
