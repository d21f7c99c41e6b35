#include "server/host/TPushHub.h"

#include <QTimer>
#include <QUrlQuery>
#include <QWebSocket>
#include <QWebSocketServer>

namespace {

constexpr qsizetype MaxNameLength = 64;

// A member that is a non-empty text of at most MaxNameLength characters.
QString NameMember(const TJSONValue &message, const char *member)
{
    const auto it = message.find(member);
    if (it == message.end() || !it->is_string())
        return {};
    const QString text = QString::fromStdString(it->get<std::string>());
    return text.size() <= MaxNameLength ? text : QString();
}

} // namespace

TPushHub::TPushHub(TEventLog log, QObject *parent)
    : QObject(parent), FLog(std::move(log))
{
}

TPushHub::~TPushHub()
{
    // Sockets go before the server that made them, without signalling a
    // half-destroyed hub.
    for (auto it = FConnections.begin(); it != FConnections.end(); ++it) {
        it.key()->disconnect(this);
        delete it.key();
    }
}

quint16 TPushHub::Listen(const QHostAddress &address, quint16 port)
{
    auto *server = new QWebSocketServer(QStringLiteral("VantServer"), QWebSocketServer::NonSecureMode, this);
    if (!server->listen(address, port)) {
        delete server;
        return 0;
    }
    server->setMaxPendingConnections(MaxConnections);
    FServer = server;
    connect(FServer, &QWebSocketServer::newConnection, this, &TPushHub::Accept);
    return FServer->serverPort();
}

void TPushHub::SetPingInterval(int milliseconds)
{
    if (!FPingTimer) {
        FPingTimer = new QTimer(this);
        connect(FPingTimer, &QTimer::timeout, this, &TPushHub::PingAll);
    }
    FPingTimer->stop();
    if (milliseconds > 0)
        FPingTimer->start(milliseconds);
}

void TPushHub::Accept()
{
    while (FServer->hasPendingConnections()) {
        QWebSocket *socket = FServer->nextPendingConnection();
        const QString managerId = QUrlQuery(socket->requestUrl()).queryItemValue(QStringLiteral("managerId"),
                                                                                   QUrl::FullyDecoded);
        if (managerId.isEmpty() || managerId.size() > 2 * MaxNameLength || FConnections.size() >= MaxConnections) {
            SendError(socket, managerId.isEmpty() ? QStringLiteral("A managerId is required")
                                                  : QStringLiteral("Connection refused"));
            socket->close(QWebSocketProtocol::CloseCodePolicyViolated);
            socket->deleteLater();
            continue;
        }
        // One connection per manager: a manager that reconnects replaces its
        // old connection, which may not have noticed the drop yet.
        for (auto it = FConnections.cbegin(); it != FConnections.cend(); ++it) {
            if (it->ManagerId == managerId) {
                QWebSocket *old = it.key();
                old->abort();
                Drop(old);
                break;
            }
        }
        socket->setMaxAllowedIncomingMessageSize(MaxMessageBytes);
        socket->setMaxAllowedIncomingFrameSize(MaxMessageBytes);
        FConnections.insert(socket, {managerId, {}, false});
        connect(socket, &QWebSocket::textMessageReceived, this,
                [this, socket](const QString &message) { Receive(socket, message); });
        connect(socket, &QWebSocket::binaryMessageReceived, this,
                [this, socket] { SendError(socket, QStringLiteral("Messages are JSON text")); });
        connect(socket, &QWebSocket::pong, this, [this, socket] {
            if (FConnections.contains(socket))
                FConnections[socket].AwaitingPong = false;
        });
        connect(socket, &QWebSocket::disconnected, this, [this, socket] { Drop(socket); });
        if (FLog)
            FLog(QStringLiteral("Push connected %1 from %2").arg(managerId, socket->peerAddress().toString()));
        emit ConnectionsChanged();
    }
}

void TPushHub::Drop(QWebSocket *socket)
{
    const auto it = FConnections.find(socket);
    if (it == FConnections.end())
        return;
    if (FLog)
        FLog(QStringLiteral("Push disconnected %1").arg(it->ManagerId));
    FConnections.erase(it);
    socket->disconnect(this);
    socket->deleteLater();
    emit ConnectionsChanged();
}

void TPushHub::Abandon(QWebSocket *socket, const QString &reason)
{
    if (FLog)
        FLog(QStringLiteral("Push connection %1 %2; dropped").arg(FConnections.value(socket).ManagerId, reason));
    socket->abort();
    Drop(socket);
}

void TPushHub::Send(QWebSocket *socket, const TJSONValue &message)
{
    if (socket->bytesToWrite() > MaxPendingBytes) {
        Abandon(socket, QStringLiteral("is not reading"));
        return;
    }
    socket->sendTextMessage(QString::fromStdString(
        message.dump(-1, ' ', false, TJSONValue::error_handler_t::replace)));
}

void TPushHub::SendError(QWebSocket *socket, const QString &text)
{
    Send(socket, TJSONValue{{"type", "error"}, {"message", text.toStdString()}});
}

void TPushHub::Receive(QWebSocket *socket, const QString &text)
{
    if (!FConnections.contains(socket))
        return;
    TJSONValue message;
    try {
        message = vantjson::Parse(text.toStdString());
    } catch (const EJSONError &) {
        SendError(socket, QStringLiteral("Message is not JSON"));
        return;
    }
    const QString type = message.is_object() ? NameMember(message, "type") : QString();
    TConnection &connection = FConnections[socket];
    if (type == QLatin1String("register")) {
        const QString channel = NameMember(message, "channel");
        const QString callback = NameMember(message, "callback");
        if (channel.isEmpty() || callback.isEmpty())
            return SendError(socket, QStringLiteral("register needs a channel and a callback"));
        if (!connection.Callbacks.contains(callback) && connection.Callbacks.size() >= MaxCallbacks)
            return SendError(socket, QStringLiteral("Too many callbacks"));
        connection.Callbacks.insert(callback, channel);
        if (FLog)
            FLog(QStringLiteral("Push %1 registered %2 on %3").arg(connection.ManagerId, callback, channel));
        Send(socket, TJSONValue{{"type", "registered"}, {"callback", callback.toStdString()}});
    } else if (type == QLatin1String("unregister")) {
        const QString callback = NameMember(message, "callback");
        if (connection.Callbacks.remove(callback) == 0)
            return SendError(socket, QStringLiteral("Unknown callback"));
        if (FLog)
            FLog(QStringLiteral("Push %1 unregistered %2").arg(connection.ManagerId, callback));
    } else if (type == QLatin1String("answer")) {
        // Answers are only acknowledgements; nothing waits for them, so
        // nothing is kept per push.
    } else {
        SendError(socket, QStringLiteral("Unknown message type"));
    }
}

int TPushHub::Broadcast(const QString &channel, const TJSONValue &value)
{
    QList<QWebSocket *> targets;
    for (auto it = FConnections.cbegin(); it != FConnections.cend(); ++it) {
        for (const QString &callbackChannel : it->Callbacks) {
            if (callbackChannel == channel) {
                targets.append(it.key());
                break;
            }
        }
    }
    const std::string channelText = channel.toStdString();
    for (QWebSocket *socket : targets) {
        TJSONValue push = TJSONValue::object();
        push["type"] = "push";
        push["id"] = FNextPushId++;
        push["channel"] = channelText;
        push["callback"] = nullptr;
        push["value"] = value;
        Send(socket, push);
    }
    if (FLog)
        FLog(QStringLiteral("Push on %1 to %2 connections").arg(channel).arg(targets.size()));
    return static_cast<int>(targets.size());
}

bool TPushHub::IsClientConnected(const QString &clientId) const
{
    if (clientId.isEmpty())
        return false;
    const QString prefix = clientId + QLatin1Char('-');
    for (const TConnection &connection : FConnections) {
        if (connection.ManagerId.startsWith(prefix))
            return true;
    }
    return false;
}

void TPushHub::PingAll()
{
    const QList<QWebSocket *> sockets = FConnections.keys();
    for (QWebSocket *socket : sockets) {
        if (FConnections.value(socket).AwaitingPong) {
            Abandon(socket, QStringLiteral("did not answer a ping"));
            continue;
        }
        FConnections[socket].AwaitingPong = true;
        socket->ping();
    }
}
