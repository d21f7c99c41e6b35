// Server discovery: the "Hello" broadcast and the server's announcement.
#include "app/uVantRenderGame.h"

#include "log/LoggingUnit.h"
#include "net/ClientClassesUnitREST.h"
#include "net/TDSClientCallbackChannelManager.h"
#include "net/TDSRestConnection.h"
#include "net/TIdUDPServer.h"
#include "platform/TRandom.h"

#include <QStringList>

namespace {

constexpr int FirstDiscoveryPort = 15000;
constexpr int DiscoveryPortChoices = 900;
constexpr int BindAttempts = 19;

// Points the REST connection at AHost:APort, or, when either is refused,
// leaves it at the host and port it had.
void PointRestConnection(TDSRestConnection &AConnection, const QString &AHost, int APort)
{
    const QString oldHost = AConnection.Host();
    const int oldPort = AConnection.Port();
    try {
        AConnection.SetHost(AHost);
        AConnection.SetPort(APort);
    } catch (...) {
        AConnection.SetHost(oldHost);
        AConnection.SetPort(oldPort);
        throw;
    }
}

// The known player names of a Players result: the "name" of each member
// whose name begins with "player" (case-sensitive), in document order.
QStringList PlayerNames(const TJSONValue &APlayers)
{
    if (!APlayers.is_object())
        throw EJSONError("The player list is not a JSON object");
    QStringList names;
    for (const auto &[key, value] : APlayers.items())
        if (QString::fromStdString(key).startsWith(QLatin1String("player")))
            if (const TJSONValue *name = vantjson::FindValue(value, QStringLiteral("name")))
                names.append(vantjson::ValueText(*name));
    return names;
}

} // namespace

void TFormRenderGame::SetUpDiscoverySocket()
{
    int port = FirstDiscoveryPort + TRandom::Random(DiscoveryPortChoices);
    IdUDPServer1->Bindings = {TIdSocketHandle{}};
    IdUDPServer1->Bindings.front().IP = QStringLiteral("0.0.0.0");
    for (int attempt = 0; attempt < BindAttempts; ++attempt) {
        IdUDPServer1->Bindings.front().Port = static_cast<quint16>(port);
        try {
            IdUDPServer1->SetActive(true);
            break;
        } catch (const std::exception &E) {
            TLogging::LogI(QStringLiteral("VantClient UDP Bind error %1 %2").arg(QString::fromUtf8(E.what())).arg(port));
            --port;
        }
    }
    // A failed first broadcast is logged; the show handler goes on.
    TExceptionGuard::Run(IdUDPServer1.get(), [this] { PingServer(); });
}

void TFormRenderGame::PingServer()
{
    TLogging::LogI(QStringLiteral("Vant Client Sending Hello to %1").arg(DiscoveryPort));
    IdUDPServer1->Broadcast(QByteArrayLiteral("Hello"), DiscoveryPort);
    LabelStatus->setProperty("text", QStringLiteral("Pinged server"));
}

void TFormRenderGame::TimerServerWatchdogTimer(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [this] {
        if (!FCallbackChannelRegistered)
            PingServer();
    });
}

void TFormRenderGame::Image1Click(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [this] { PingServer(); });
}

void TFormRenderGame::IdUDPServer1UDPRead(QObject *AThread, const QByteArray &AData,
                                          const TIdSocketHandle & /*ABinding*/)
{
    TExceptionGuard::Run(AThread, [&] {
        try {
            const QString text = QString::fromUtf8(AData);
            TLogging::LogI(QStringLiteral("Vant Client Received ") + text);
            TJSONValue announcement;
            try {
                announcement = vantjson::Parse(AData.toStdString());
            } catch (const EJSONError &) {
                return;
            }
            if (!announcement.is_object() || !announcement.contains("Application"))
                return;

            UnregisterCallbacks();
            if (!announcement.contains("Host") || !announcement.contains("Port"))
                throw EJSONError((QStringLiteral("Vant Client Invalid JSON ") + text).toStdString());
            const TJSONValue &hostValue = announcement["Host"];
            if (!hostValue.is_string())
                throw EJSONError("The announced Host is not a text");
            const QString host = QString::fromStdString(hostValue.get<std::string>());
            const int port = vantjson::ReadInteger(announcement["Port"]);

            // The REST connection refuses a host that is not a plain name or
            // address, before it can reach the channel managers' URLs.
            PointRestConnection(*DSRestConnection1, host, port);
            for (TDSClientCallbackChannelManager *manager : {DSChannelVantUpdate.get(), DSChannelVantComm.get()}) {
                manager->SetDSHostname(host);
                if (manager->CommunicationProtocol() == QLatin1String("http"))
                    manager->SetDSPort(QString::number(port));
            }
            const QString message = QStringLiteral("Vant Client Found Server at %1:%2").arg(host).arg(port);
            TLogging::LogI(message);
            LabelStatus->setProperty("text", message);

            RegisterCallbacks();
            if (const TJSONValuePtr players = FVantServer->Players()) {
                const QStringList names = PlayerNames(*players);
                // A new item list would select its first item and put it in
                // the box; the box keeps what the player typed instead.
                const QVariant typed = ComboEditPlayers->property("editText");
                ComboEditPlayers->setProperty("model", names);
                ComboEditPlayers->setProperty("currentIndex", -1);
                ComboEditPlayers->setProperty("editText", typed);
            }
            Update(TJSONValue(true));
            LayoutRegister->setVisible(true);
        } catch (const std::exception &E) {
            TLogging::LogI(QStringLiteral("Vant Client Exception ") + QString::fromUtf8(E.what()));
        }
    });
}

void TFormRenderGame::IdUDPServer1UDPException(QObject *AThread, const TIdSocketHandle & /*ABinding*/,
                                               const QString &AMessage, const QString & /*AExceptionClass*/)
{
    TExceptionGuard::Run(AThread, [&] { TLogging::LogI(QStringLiteral("Vant Client Exception") + AMessage); });
}

void TFormRenderGame::IdUDPServer1Status(QObject *ASender, int /*AStatus*/, const QString &AStatusText)
{
    TExceptionGuard::Run(ASender, [&] { TLogging::LogI(QStringLiteral("Vant Client Exception") + AStatusText); });
}
