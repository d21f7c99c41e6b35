// The client's end of a push channel: one WebSocket tunnel per manager to
// the server's push hub (ws://DSHostname:DSPort/?managerId=ManagerId), run on
// a thread the manager owns. Named callbacks registered here are called for
// every push the server sends to their channel or to their name, and their
// answers go back to the server.
//
// Threads: the settings, RegisterCallback and UnregisterCallback are meant
// for the thread that made the manager (the main thread); the settings and
// StateError may be read from any thread. Every callback's Execute and the
// OnServerConnectionError event run on the manager's own thread.
//
// A dropped tunnel is reopened by itself while the manager holds callbacks,
// waiting 250 ms after the first failure and twice as long after each further
// one (at most 4 s), and the callbacks are registered again. Host, port and
// manager id are read each time the tunnel opens, so changing them takes
// effect at the next connection.
#pragma once

#include "net/TDBXNamedCallback.h"

#include <QObject>
#include <QString>
#include <QThread>
#include <functional>
#include <memory>

class TChannelTunnel;
struct TChannelShared;

class TDSClientCallbackChannelManager : public QObject
{
    Q_OBJECT

public:
    // Called on the manager's thread with the manager as sender.
    using TConnectionErrorHandler = std::function<void(QObject *ASender)>;

    explicit TDSClientCallbackChannelManager(QObject *AParent = nullptr);
    // Stops the manager's thread and drops the tunnel; it unregisters nothing
    // (the server drops a closed tunnel's callbacks itself). Must not be
    // called from inside a callback or the error event.
    ~TDSClientCallbackChannelManager() override;

    QString ChannelName() const;
    void SetChannelName(const QString &AValue);
    QString ManagerId() const;
    void SetManagerId(const QString &AValue);
    QString DSHostname() const; // "localhost" until set
    void SetDSHostname(const QString &AValue);
    QString DSPort() const; // decimal text, "211" until set
    void SetDSPort(const QString &AValue);
    // "tcp/ip" (the default) or "http"; both are carried by the same tunnel.
    // Any other value throws std::invalid_argument.
    QString CommunicationProtocol() const;
    void SetCommunicationProtocol(const QString &AValue);
    // Why the tunnel last failed; empty until then.
    QString StateError() const;

    void SetOnServerConnectionError(TConnectionErrorHandler AHandler);

    // Hands ACallback to the manager, which owns it from now on in every case
    // (a refused callback is deleted at once). AChannelNames is a comma
    // separated list of the channels the callback listens on; empty means the
    // manager's ChannelName. Returns at once, before the server answers:
    // false when the manager already holds a callback of that name (or
    // ACallback is null), else true. The first callback opens the tunnel.
    bool RegisterCallback(const QString &AChannelNames, TDBXNamedCallback *ACallback);
    // Asks the server to drop the callback and forgets it; the last one
    // closes the tunnel. False when no callback of that name is held.
    bool UnregisterCallback(const QString &ACallbackId);

private:
    std::unique_ptr<TChannelShared> FShared;
    QThread FThread;
    TChannelTunnel *FTunnel; // lives on FThread, deleted when it finishes
};
