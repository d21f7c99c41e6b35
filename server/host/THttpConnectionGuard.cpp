#include "server/host/THttpConnectionGuard.h"

#include <QTcpSocket>
#include <QTimer>
#include <memory>

TGuardedTcpServer::TGuardedTcpServer(std::chrono::milliseconds idleTimeout, QObject *parent)
    : QTcpServer(parent), FIdleTimeout(idleTimeout)
{
}

int TGuardedTcpServer::OpenConnections() const
{
    // Counted from the live sockets rather than kept by signals: the HTTP
    // server may drop every signal connection of a socket it gives up on.
    int open = 0;
    for (const QTcpSocket *socket : findChildren<QTcpSocket *>(Qt::FindDirectChildrenOnly)) {
        if (socket->state() != QAbstractSocket::UnconnectedState)
            ++open;
    }
    return open;
}

void TGuardedTcpServer::incomingConnection(qintptr descriptor)
{
    const bool full = OpenConnections() >= MaxConnections;
    auto *socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(descriptor) || full) {
        socket->abort();
        socket->deleteLater();
        return;
    }

    // Cut later, from the event loop, so that no handler reads a socket that
    // was closed under it.
    const auto cut = [socket] { QMetaObject::invokeMethod(socket, &QTcpSocket::abort, Qt::QueuedConnection); };
    auto *idle = new QTimer(socket);
    idle->setSingleShot(true);
    connect(idle, &QTimer::timeout, socket, cut);
    idle->start(FIdleTimeout);

    // Connected before the HTTP server's own handler, so it sees each chunk
    // before the server reads it; the count restarts whenever an answer leaves.
    auto received = std::make_shared<qint64>(0);
    connect(socket, &QTcpSocket::readyRead, socket, [socket, received, idle, cut] {
        idle->start();
        *received += socket->bytesAvailable();
        if (*received > MaxRequestBytes)
            cut();
    });
    connect(socket, &QTcpSocket::bytesWritten, socket, [received, idle] {
        idle->start();
        *received = 0;
    });
    addPendingConnection(socket);
}
