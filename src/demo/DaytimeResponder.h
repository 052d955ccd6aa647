#pragma once
// A loopback daytime server (RFC 867) answering every connection with one line in the NIST
// format, "\nJJJJJ YY-MM-DD HH:MM:SS TT L H msADV UTC(NIST) * \n", then closing it: the clock's
// stand-in for a public time server in tests and demos.
#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <functional>

class QTcpServer;

class DaytimeResponder : public QObject {
    Q_OBJECT
public:
    explicit DaytimeResponder(QObject* parent = nullptr);
    ~DaytimeResponder() override;

    // Listens on 127.0.0.1 only; port 0 takes any free port. False when the port cannot be bound.
    bool start(quint16 port = 0);
    void stop();
    quint16 port() const;
    QString errorString() const;

    // The UTC clock the replies tell (tests inject one); the default is the system clock.
    void setClock(std::function<QDateTime()> utcNow);
    int connectionCount() const { return connectionCount_; }

    // The reply for one moment: modified Julian day, two-digit year date, 24-hour UTC time.
    static QByteArray DaytimeLine(const QDateTime& utc);

Q_SIGNALS:
    void answered(const QByteArray& line);

private:
    void onNewConnection();

    QTcpServer* server_ = nullptr;
    std::function<QDateTime()> clock_;
    int connectionCount_ = 0;
};
