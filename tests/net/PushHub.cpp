#include "tests/net/PushHub.h"

#include <QTest>
#include <gtest/gtest.h>

void PushHub::Start(quint16 APort)
{
    FServer = std::make_unique<QWebSocketServer>(QStringLiteral("test hub"), QWebSocketServer::NonSecureMode);
    EXPECT_TRUE(FServer->listen(QHostAddress::LocalHost, APort)) << FServer->errorString().toStdString();
    FPort = FServer->serverPort();
    QObject::connect(FServer.get(), &QWebSocketServer::newConnection, FServer.get(), [this] {
        while (QWebSocket *client = FServer->nextPendingConnection()) {
            client->setParent(FServer.get());
            FClients.append(client);
            FQueries.append(client->requestUrl().query());
            QObject::connect(client, &QWebSocket::textMessageReceived, client, [this, client](const QString &AText) {
                FMessages.push_back({client, vantjson::Parse(AText.toStdString())});
                const TJSONValue &message = FMessages.back().Message;
                if (message.value("type", "") == "register")
                    client->sendTextMessage(QString::fromStdString(
                        TJSONValue{{"type", "registered"}, {"callback", message["callback"]}}.dump()));
            });
        }
    });
}

void PushHub::Stop()
{
    if (!FServer)
        return;
    for (const auto &client : std::as_const(FClients))
        if (client)
            client->abort();
    FClients.clear();
    FServer->close();
    FServer.reset();
}

int PushHub::OpenConnections() const
{
    int open = 0;
    for (const auto &client : FClients)
        if (client && client->state() == QAbstractSocket::ConnectedState)
            ++open;
    return open;
}

std::vector<TJSONValue> PushHub::OfType(const std::string &AType) const
{
    std::vector<TJSONValue> found;
    for (const Received &received : FMessages)
        if (received.Message.value("type", "") == AType)
            found.push_back(received.Message);
    return found;
}

bool PushHub::WaitFor(const std::string &AType, const std::function<bool(const TJSONValue &)> &APred, int ATimeoutMs) const
{
    return QTest::qWaitFor(
        [&] {
            for (const TJSONValue &message : OfType(AType))
                if (!APred || APred(message))
                    return true;
            return false;
        },
        ATimeoutMs);
}

void PushHub::SendToAll(const TJSONValue &AMessage)
{
    const QString text = QString::fromStdString(AMessage.dump());
    for (const auto &client : std::as_const(FClients))
        if (client && client->state() == QAbstractSocket::ConnectedState)
            client->sendTextMessage(text);
}
