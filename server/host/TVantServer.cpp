#include "server/host/TVantServer.h"

#include "server/host/TAddressKey.h"
#include "server/host/TBotDriver.h"
#include "server/host/TDiscoveryResponder.h"
#include "server/host/TPushHub.h"
#include "server/host/TRestFace.h"
#include "server/host/TServerMethods1.h"

#include <QDateTime>
#include <QHostAddress>
#include <QTimer>

namespace {

std::uint64_t SeedOf(const TServerOptions &options)
{
    return options.Seed ? *options.Seed : static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch());
}

// A zero-interval single-shot timer: changes made in one call (or one event)
// become one push.
QTimer *CoalescingTimer(QObject *parent)
{
    auto *timer = new QTimer(parent);
    timer->setSingleShot(true);
    timer->setInterval(0);
    return timer;
}

} // namespace

TVantServer::TVantServer(const TServerOptions &options, TEventLog log, QObject *parent)
    : QObject(parent),
      FOptions(options),
      FLog(std::move(log)),
      FGame(SeedOf(options)),
      FHub(new TPushHub(FLog, this)),
      FRegistry(FGame, [this](const QString &clientId) { return FHub->IsClientConnected(clientId); }),
      FMethods(new TServerMethods1(FGame, FRegistry, this)),
      FRest(new TRestFace(FMethods->Methods(), FLog, this)),
      FBots(new TBotDriver(FGame, options.BotDelayMs, this)),
      FUpdateTimer(CoalescingTimer(this)),
      FPlayersTimer(CoalescingTimer(this))
{
    FGame.SetChangeHandler([this] { GameChanged(); });
    connect(FUpdateTimer, &QTimer::timeout, this, &TVantServer::PushUpdate);
    connect(FPlayersTimer, &QTimer::timeout, this, &TVantServer::PushPlayers);
    connect(FMethods, &TServerMethods1::PlayersChanged, FPlayersTimer, qOverload<>(&QTimer::start));
    connect(FMethods, &TServerMethods1::StateChangeRequested, FUpdateTimer, qOverload<>(&QTimer::start));
}

TVantServer::~TVantServer()
{
    // The engine outlives the objects below only until this body ends; none
    // of them may hear of changes made while they are being destroyed.
    FGame.SetChangeHandler({});
}

bool TVantServer::Start(QString &error)
{
    FHttpPort = FRest->Listen(QHostAddress::Any, FOptions.HttpPort);
    if (FHttpPort == 0) {
        error = QStringLiteral("Cannot listen on TCP port %1 (REST)").arg(FOptions.HttpPort);
        return false;
    }
    FPushPort = FHub->Listen(QHostAddress::Any, FOptions.PushPort);
    if (FPushPort == 0) {
        error = QStringLiteral("Cannot listen on TCP port %1 (push channels)").arg(FOptions.PushPort);
        return false;
    }
    FHub->SetPingInterval(PingIntervalMs);
    FDiscovery = new TDiscoveryResponder(FHttpPort, FOptions.Host, FLog, this);
    FDiscoveryPort = FDiscovery->Listen(FOptions.DiscoveryPort);
    if (FDiscoveryPort == 0) {
        error = QStringLiteral("Cannot bind UDP port %1 (discovery)").arg(FOptions.DiscoveryPort);
        return false;
    }
    const std::uint64_t seed = SeedOf(FOptions);
    for (int i = 1; i <= FOptions.Bots; ++i) {
        const int id = FRegistry.Register(QStringLiteral("Robot %1").arg(i), QString(), ServerAddressKey(), true);
        FBots->AddBot(id, seed + static_cast<std::uint64_t>(i));
    }
    if (FLog)
        FLog(QStringLiteral("Vant server: REST %1, push %2, discovery %3, %4 computer players")
                 .arg(FHttpPort).arg(FPushPort).arg(FDiscoveryPort).arg(FOptions.Bots));
    return true;
}

void TVantServer::GameChanged()
{
    FUpdateTimer->start();
    FBots->Schedule();
}

void TVantServer::PushUpdate()
{
    FHub->Broadcast(QStringLiteral("VantUpdate"),
                    TJSONValue{{"event", "update"}, {"revision", FGame.Revision()}});
}

void TVantServer::PushPlayers()
{
    FHub->Broadcast(QStringLiteral("VantComm"), TJSONValue{{"event", "players"}});
}
