// The whole game server on one event loop: the rules engine, the registry of
// players, the REST face, the discovery responder, the push hub and the
// computer players, wired so that every change of the game is pushed on
// "VantUpdate" and every change of the players on "VantComm".
#pragma once

#include "server/engine/TVantGame.h"
#include "server/host/TEventLog.h"
#include "server/host/TPlayerRegistry.h"
#include "server/host/TServerOptions.h"

#include <QObject>
#include <QString>

class QTimer;
class TBotDriver;
class TDiscoveryResponder;
class TPushHub;
class TRestFace;
class TServerMethods1;

class TVantServer : public QObject
{
    Q_OBJECT
public:
    static constexpr int PingIntervalMs = 20000;

    TVantServer(const TServerOptions &options, TEventLog log, QObject *parent = nullptr);
    ~TVantServer() override;

    // Binds the three ports on every interface and seats the computer
    // players; false with a message naming the port that failed.
    bool Start(QString &error);

    quint16 HttpPort() const { return FHttpPort; }
    quint16 PushPort() const { return FPushPort; }
    quint16 DiscoveryPort() const { return FDiscoveryPort; }
    TVantGame &Game() { return FGame; }
    TPlayerRegistry &Registry() { return FRegistry; }
    TPushHub &Hub() { return *FHub; }

private:
    void GameChanged();
    void PushUpdate();
    void PushPlayers();

    TServerOptions FOptions;
    TEventLog FLog;
    TVantGame FGame;
    TPushHub *FHub;
    TPlayerRegistry FRegistry;
    TServerMethods1 *FMethods;
    TRestFace *FRest;
    TDiscoveryResponder *FDiscovery = nullptr;
    TBotDriver *FBots;
    QTimer *FUpdateTimer;
    QTimer *FPlayersTimer;
    quint16 FHttpPort = 0;
    quint16 FPushPort = 0;
    quint16 FDiscoveryPort = 0;
};
