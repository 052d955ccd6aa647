#include "SocketReply.h"

#include <QTcpSocket>

void WriteAndClose(QTcpSocket* socket, const QByteArray& bytes)
{
    const auto closeWhenDrained = [socket] {
        if (socket->bytesToWrite() == 0 && socket->state() == QAbstractSocket::ConnectedState)
            socket->disconnectFromHost();
    };
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, closeWhenDrained);
    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater, Qt::UniqueConnection);
    // A peer that resets the connection leaves nothing to finish.
    QObject::connect(socket, &QTcpSocket::errorOccurred, socket, [socket](QAbstractSocket::SocketError error) {
        if (error != QAbstractSocket::RemoteHostClosedError)
            socket->abort();
        if (socket->state() == QAbstractSocket::UnconnectedState)
            socket->deleteLater();
    });
    if (bytes.isEmpty() || socket->state() != QAbstractSocket::ConnectedState) {
        closeWhenDrained();
        if (socket->state() == QAbstractSocket::UnconnectedState)
            socket->deleteLater();
        return;
    }
    socket->write(bytes);
}
