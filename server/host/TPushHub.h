// The push channels: a WebSocket server where each client's channel manager
// keeps one connection (ws://host:port/?managerId=<id>), registers named
// callbacks on channels, and receives pushes that it answers. Messages are the
// JSON texts of docs/PROTOCOL.md. Bad messages get an error message and the
// connection stays; a peer that stops reading is cut off before its unsent
// pushes can pile up, and a peer that stops answering pings is dropped.
#pragma once

#include "platform/TJSONValue.h"
#include "server/host/TEventLog.h"

#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QString>

class QTimer;
class QWebSocket;
class QWebSocketServer;

class TPushHub : public QObject
{
    Q_OBJECT
public:
    // Most unsent bytes a connection may hold before it is cut.
    static constexpr qint64 MaxPendingBytes = 256 * 1024;
    static constexpr qint64 MaxMessageBytes = 16 * 1024;
    static constexpr int MaxCallbacks = 16;
    static constexpr int MaxConnections = 256;

    explicit TPushHub(TEventLog log, QObject *parent = nullptr);
    ~TPushHub() override;

    // Returns the bound port (0 picks a free one), or 0 when it cannot be bound.
    quint16 Listen(const QHostAddress &address, quint16 port);

    // Pings every connection each interval; one that has not answered the
    // previous ping is dropped, so seats of vanished machines free up.
    void SetPingInterval(int milliseconds);

    // Sends the value to every connection holding a callback on the channel
    // ("callback": null); returns how many connections it went to.
    int Broadcast(const QString &channel, const TJSONValue &value);

    // True while a connection whose manager id is the client id followed by
    // "-" and more is open.
    bool IsClientConnected(const QString &clientId) const;

signals:
    // A connection opened or closed.
    void ConnectionsChanged();

private:
    struct TConnection
    {
        QString ManagerId;
        QHash<QString, QString> Callbacks; // callback id -> channel
        bool AwaitingPong = false;
    };

    void Accept();
    void Receive(QWebSocket *socket, const QString &message);
    void Drop(QWebSocket *socket);
    // Cuts off a client that does not keep up, with one log line saying why.
    void Abandon(QWebSocket *socket, const QString &reason);
    void Send(QWebSocket *socket, const TJSONValue &message);
    void SendError(QWebSocket *socket, const QString &text);
    void PingAll();

    TEventLog FLog;
    QWebSocketServer *FServer = nullptr;
    QHash<QWebSocket *, TConnection> FConnections;
    QTimer *FPingTimer = nullptr;
    qint64 FNextPushId = 1;
};
