#pragma once
// Answering on a server-side socket: queue the whole answer, close once it has all gone out,
// and free the socket when the connection is over.
#include <QByteArray>

class QTcpSocket;

// The socket closes after the last byte has been written (or at once for an empty answer) and
// deletes itself when disconnected, also when the peer goes away first.
void WriteAndClose(QTcpSocket* socket, const QByteArray& bytes);
