// A push hub for tests: a WebSocket server on loopback that speaks the push
// channel messages, records what clients send and pushes on demand.
#pragma once

#include "platform/TJSONValue.h"

#include <QList>
#include <QPointer>
#include <QWebSocket>
#include <QWebSocketServer>
#include <memory>
#include <vector>

class PushHub
{
public:
    struct Received
    {
        QWebSocket *From;
        TJSONValue Message;
    };

    // Listens on APort (0: any free port); fails the test when it cannot.
    explicit PushHub(quint16 APort = 0) { Start(APort); }
    ~PushHub() { Stop(); }

    void Start(quint16 APort);
    // Closes the listener and every connection.
    void Stop();

    quint16 Port() const { return FPort; }
    int OpenConnections() const;
    const std::vector<Received> &Messages() const { return FMessages; }
    QStringList RequestQueries() const { return FQueries; }

    // Messages of one type, in the order received.
    std::vector<TJSONValue> OfType(const std::string &AType) const;
    // Waits until a message of that type satisfying APred has come in.
    bool WaitFor(const std::string &AType, const std::function<bool(const TJSONValue &)> &APred = {}, int ATimeoutMs = 5000) const;

    void SendToAll(const TJSONValue &AMessage);

private:
    std::unique_ptr<QWebSocketServer> FServer;
    QList<QPointer<QWebSocket>> FClients;
    std::vector<Received> FMessages;
    QStringList FQueries;
    quint16 FPort = 0;
};
