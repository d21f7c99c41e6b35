// Clients for the server's sockets, driven on the test's own event loop (the
// server runs on the same loop, so every wait keeps it turning).
#pragma once

#include "platform/TJSONValue.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTcpSocket>
#include <QWebSocket>
#include <functional>

struct THttpReply
{
    int Status = 0;  // 0: no reply (connection closed or timed out)
    QByteArray Body;
};

// Sends raw bytes to the port on loopback and reads one HTTP reply.
THttpReply HttpExchange(quint16 port, const QByteArray &request);
THttpReply HttpGet(quint16 port, const QByteArray &path);

// A WebSocket connection made by hand on a plain socket (so that a test can
// make it stop reading or answering): the handshake, until it is answered.
bool OpenRawWebSocket(QTcpSocket &socket, quint16 port, const QByteArray &managerId);
// One masked client text frame of up to 125 bytes (mask key 0, so the payload
// reads as it is).
void SendMaskedText(QTcpSocket &socket, const QByteArray &text);

// A push-channel client: one WebSocket connection that keeps every message.
class TPushClient : public QObject
{
public:
    TPushClient(quint16 port, const QString &managerId);

    bool Connected() const { return FSocket.state() == QAbstractSocket::ConnectedState; }
    void Send(const QByteArray &text);
    // Waits until a message satisfies the predicate; returns it, or null.
    TJSONValue WaitFor(const std::function<bool(const TJSONValue &)> &match, int timeoutMs = 5000);
    // The first kept message of that type, waiting for it.
    TJSONValue WaitForType(const char *type, int timeoutMs = 5000);
    QList<TJSONValue> &Messages() { return FMessages; }
    QWebSocket &Socket() { return FSocket; }

private:
    QWebSocket FSocket;
    QList<TJSONValue> FMessages;
    bool FSettled = false;  // connected, or refused
};
