#include "net/TDSClientCallbackChannelManager.h"

#include "log/LoggingUnit.h"

#include <QMutex>
#include <QMutexLocker>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>
#include <QWebSocket>
#include <algorithm>
#include <chrono>
#include <map>
#include <set>
#include <stdexcept>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr auto FirstRetryDelay = 250ms;
constexpr auto LongestRetryDelay = 4000ms;
constexpr quint64 MaxMessageSize = 1 << 20;

struct TCallbackEntry
{
    QStringList Channels;
    // Shared with a push being delivered, so that unregistering during an
    // Execute never frees the callback under it.
    std::shared_ptr<TDBXNamedCallback> Callback;
};

QStringList SplitChannels(const QString &AChannelNames, const QString &AFallback)
{
    QStringList channels;
    for (const QString &name : AChannelNames.split(u',', Qt::SkipEmptyParts)) {
        const QString trimmed = name.trimmed();
        if (!trimmed.isEmpty() && !channels.contains(trimmed))
            channels.append(trimmed);
    }
    if (channels.isEmpty())
        channels.append(AFallback);
    return channels;
}

std::string Utf8(const QString &AText)
{
    return AText.toStdString();
}

} // namespace

// State the main thread and the manager's thread share; every member is
// guarded by Mutex.
struct TChannelShared
{
    mutable QMutex Mutex;
    QString ChannelName;
    QString ManagerId;
    QString DSHostname = QStringLiteral("localhost");
    QString DSPort = QStringLiteral("211");
    QString CommunicationProtocol = QStringLiteral("tcp/ip");
    QString StateError;
    TDSClientCallbackChannelManager::TConnectionErrorHandler OnServerConnectionError;
    std::map<QString, TCallbackEntry> Callbacks;

    bool Empty() const
    {
        QMutexLocker lock(&Mutex);
        return Callbacks.empty();
    }
};

// The tunnel itself; created on the main thread, then lives and works on the
// manager's thread only.
class TChannelTunnel : public QObject
{
public:
    TChannelTunnel(TChannelShared &AShared, QObject *ASender)
        : FShared(AShared), FSender(ASender), FSocket(new QWebSocket(QString(), QWebSocketProtocol::VersionLatest, this)),
          FRetry(new QTimer(this))
    {
        // Pushes are small signals; a huge frame is refused, not buffered.
        FSocket->setMaxAllowedIncomingMessageSize(MaxMessageSize);
        FSocket->setMaxAllowedIncomingFrameSize(MaxMessageSize);
        FRetry->setSingleShot(true);
        connect(FRetry, &QTimer::timeout, this, [this] {
            if (!FShared.Empty())
                Open();
        });
        connect(FSocket, &QWebSocket::connected, this, [this] { OnConnected(); });
        connect(FSocket, &QWebSocket::disconnected, this, [this] { OnClosed(); });
        connect(FSocket, &QWebSocket::textMessageReceived, this, [this](const QString &AMessage) { OnMessage(AMessage); });
        connect(FSocket, QOverload<QAbstractSocket::SocketError>::of(&QWebSocket::error), this,
                [this](QAbstractSocket::SocketError) { OnSocketError(); });
    }

    ~TChannelTunnel() override
    {
        // Going away is not a connection error: no event, no retry.
        disconnect(FSocket, nullptr, this, nullptr);
        FSocket->abort();
    }

    // A callback was added on the main thread.
    void Register(const QString &AName)
    {
        if (FSocket->state() == QAbstractSocket::UnconnectedState) {
            // A new registration does not wait for the retry delay.
            FRetry->stop();
            Open();
            return;
        }
        QString error;
        if (Target(error) != FOpenedUrl) {
            // Host, port or id changed since the tunnel opened: open it anew
            // (OnClosed does) with the new settings.
            Close();
        } else if (FSocket->state() == QAbstractSocket::ConnectedState) {
            SendRegister(AName);
        }
    }

    // A callback was dropped on the main thread.
    void Unregister(const QString &AName)
    {
        if (FSocket->state() == QAbstractSocket::ConnectedState && FRegistered.erase(AName) != 0)
            Send({{"type", "unregister"}, {"callback", Utf8(AName)}});
        if (!FShared.Empty())
            return;
        FRetry->stop();
        if (FSocket->state() != QAbstractSocket::UnconnectedState)
            Close();
    }

private:
    void Open()
    {
        if (FSocket->state() != QAbstractSocket::UnconnectedState)
            return;
        FClosing = false;
        FErrorRaised = false;
        FAttempting = true;
        ++FAttempt;
        QString error;
        FOpenedUrl = Target(error);
        if (FOpenedUrl.isEmpty()) {
            RaiseError(error);
            OnClosed();
            return;
        }
        FSocket->open(FOpenedUrl);
    }

    // Ends the tunnel on purpose: no error event; OnClosed reopens it only
    // when callbacks are held by then.
    void Close()
    {
        FClosing = true;
        if (FSocket->state() == QAbstractSocket::ConnectedState)
            FSocket->close();
        else
            FSocket->abort();
    }

    // The tunnel's address under the current settings; empty, with AError
    // set, when they make none.
    QUrl Target(QString &AError) const
    {
        QString host, port, managerId;
        {
            QMutexLocker lock(&FShared.Mutex);
            host = FShared.DSHostname;
            port = FShared.DSPort;
            managerId = FShared.ManagerId;
        }
        bool portOk = false;
        const uint portNumber = port.trimmed().toUInt(&portOk);
        if (!portOk || portNumber == 0 || portNumber > 65535) {
            AError = QStringLiteral("Invalid port \"%1\"").arg(port);
            return {};
        }
        QUrl url;
        url.setScheme(QStringLiteral("ws"));
        url.setHost(host);
        url.setPort(int(portNumber));
        url.setPath(QStringLiteral("/"));
        QUrlQuery query;
        query.addQueryItem(QStringLiteral("managerId"), managerId);
        url.setQuery(query);
        if (!url.isValid()) {
            AError = QStringLiteral("Invalid host \"%1\"").arg(host);
            return {};
        }
        return url;
    }

    void OnConnected()
    {
        FRetryDelay = FirstRetryDelay;
        std::vector<QString> names;
        {
            QMutexLocker lock(&FShared.Mutex);
            for (const auto &[name, entry] : FShared.Callbacks)
                names.push_back(name);
        }
        for (const QString &name : names)
            SendRegister(name);
    }

    void OnSocketError()
    {
        if (!FErrorRaised)
            RaiseError(FSocket->errorString());
        // Some failures (a refused connection) end the attempt without a
        // disconnected signal; look again once the socket has settled.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (FSocket->state() == QAbstractSocket::UnconnectedState)
                    OnClosed();
            },
            Qt::QueuedConnection);
    }

    // The end of one connection attempt, however it ended; runs once per attempt.
    void OnClosed()
    {
        if (!FAttempting)
            return;
        FAttempting = false;
        FRegistered.clear();
        if (!FClosing) {
            // The socket may report why only after it has said it closed
            // (a refused connection); a plain close is reported after that.
            QString reason = FSocket->closeReason();
            if (reason.isEmpty())
                reason = QStringLiteral("The push tunnel was closed by the server");
            QMetaObject::invokeMethod(
                this,
                [this, attempt = FAttempt, reason] {
                    if (attempt == FAttempt && !FErrorRaised)
                        RaiseError(reason);
                },
                Qt::QueuedConnection);
        }
        if (FShared.Empty())
            return;
        if (FClosing) {
            // Closed for want of callbacks, and one came meanwhile: open
            // again once the socket has settled.
            QMetaObject::invokeMethod(this, [this] { Open(); }, Qt::QueuedConnection);
            return;
        }
        FRetry->start(FRetryDelay);
        FRetryDelay = std::min(FRetryDelay * 2, std::chrono::milliseconds(LongestRetryDelay));
    }

    void OnMessage(const QString &AMessage)
    {
        TJSONValue message;
        try {
            message = vantjson::Parse(Utf8(AMessage));
        } catch (const EJSONError &e) {
            TLogging::Send(QStringLiteral("VantClient Push channel ignored a message: %1").arg(QString::fromUtf8(e.what())),
                           TLogSeverity::info);
            return;
        }
        if (!message.is_object() || !message.contains("type") || !message["type"].is_string())
            return;
        const std::string &type = message["type"].get_ref<const std::string &>();
        if (type == "push")
            Deliver(message);
        else if (type == "error")
            RaiseError(message.contains("message") ? vantjson::ValueText(message["message"])
                                                   : QStringLiteral("The server reported an error"));
    }

    // Calls every callback the push is meant for and answers it once, with
    // the value the last of them returned (null when none was held).
    void Deliver(const TJSONValue &APush)
    {
        const TJSONValue id = APush.contains("id") ? APush["id"] : TJSONValue();
        const TJSONValue none;
        const TJSONValue &addressee = APush.contains("callback") ? APush["callback"] : none;
        const QString channel = APush.contains("channel") ? vantjson::ValueText(APush["channel"]) : QString();
        const TJSONValue &value = APush.contains("value") ? APush["value"] : none;

        std::vector<std::shared_ptr<TDBXNamedCallback>> targets;
        {
            QMutexLocker lock(&FShared.Mutex);
            if (addressee.is_string()) {
                const auto found = FShared.Callbacks.find(QString::fromStdString(addressee.get<std::string>()));
                if (found != FShared.Callbacks.end())
                    targets.push_back(found->second.Callback);
            } else if (addressee.is_null()) {
                for (const auto &[name, entry] : FShared.Callbacks)
                    if (entry.Channels.contains(channel))
                        targets.push_back(entry.Callback);
            }
        }
        TJSONValue answer;
        for (const auto &callback : targets) {
            try {
                answer = callback->Execute(value);
            } catch (const std::exception &e) {
                // A failing callback must not end the manager's thread.
                TLogging::Send(QStringLiteral("VantClient Callback %1 failed: %2").arg(callback->Name(), QString::fromUtf8(e.what())),
                               TLogSeverity::info);
                answer = nullptr;
            }
        }
        Send({{"type", "answer"}, {"id", id}, {"value", answer}});
    }

    void SendRegister(const QString &AName)
    {
        QStringList channels;
        {
            QMutexLocker lock(&FShared.Mutex);
            const auto found = FShared.Callbacks.find(AName);
            if (found == FShared.Callbacks.end())
                return;
            channels = found->second.Channels;
        }
        if (!FRegistered.insert(AName).second)
            return;
        for (const QString &channel : channels)
            Send({{"type", "register"}, {"channel", Utf8(channel)}, {"callback", Utf8(AName)}});
    }

    void Send(const TJSONValue &AMessage)
    {
        FSocket->sendTextMessage(QString::fromStdString(AMessage.dump()));
    }

    void RaiseError(const QString &AReason)
    {
        FErrorRaised = true;
        TDSClientCallbackChannelManager::TConnectionErrorHandler handler;
        {
            QMutexLocker lock(&FShared.Mutex);
            FShared.StateError = AReason;
            handler = FShared.OnServerConnectionError;
        }
        if (!handler)
            return;
        try {
            handler(FSender);
        } catch (const std::exception &e) {
            TLogging::Send(QStringLiteral("VantClient Connection error handler failed: %1").arg(QString::fromUtf8(e.what())),
                           TLogSeverity::info);
        }
    }

    TChannelShared &FShared;
    QObject *const FSender;
    QWebSocket *const FSocket;
    QTimer *const FRetry;
    QUrl FOpenedUrl; // where the current or last tunnel went
    std::chrono::milliseconds FRetryDelay = FirstRetryDelay;
    std::set<QString> FRegistered; // callbacks registered on the open connection
    int FAttempt = 0;              // counts connection attempts
    bool FAttempting = false;      // a connection attempt has not ended yet
    bool FErrorRaised = false;     // this attempt already raised the error event
    bool FClosing = false;         // closed on purpose: no error, no retry
};

TDSClientCallbackChannelManager::TDSClientCallbackChannelManager(QObject *AParent)
    : QObject(AParent), FShared(std::make_unique<TChannelShared>()), FTunnel(new TChannelTunnel(*FShared, this))
{
    FTunnel->moveToThread(&FThread);
    connect(&FThread, &QThread::finished, FTunnel, &QObject::deleteLater);
    FThread.setObjectName(QStringLiteral("PushChannel"));
    FThread.start();
}

TDSClientCallbackChannelManager::~TDSClientCallbackChannelManager()
{
    FThread.quit();
    FThread.wait();
}

namespace {

QString ReadSetting(const TChannelShared &AShared, QString TChannelShared::*AField)
{
    QMutexLocker lock(&AShared.Mutex);
    return AShared.*AField;
}

void WriteSetting(TChannelShared &AShared, QString TChannelShared::*AField, const QString &AValue)
{
    QMutexLocker lock(&AShared.Mutex);
    AShared.*AField = AValue;
}

} // namespace

QString TDSClientCallbackChannelManager::ChannelName() const { return ReadSetting(*FShared, &TChannelShared::ChannelName); }
QString TDSClientCallbackChannelManager::ManagerId() const { return ReadSetting(*FShared, &TChannelShared::ManagerId); }
QString TDSClientCallbackChannelManager::DSHostname() const { return ReadSetting(*FShared, &TChannelShared::DSHostname); }
QString TDSClientCallbackChannelManager::DSPort() const { return ReadSetting(*FShared, &TChannelShared::DSPort); }
QString TDSClientCallbackChannelManager::StateError() const { return ReadSetting(*FShared, &TChannelShared::StateError); }

QString TDSClientCallbackChannelManager::CommunicationProtocol() const
{
    return ReadSetting(*FShared, &TChannelShared::CommunicationProtocol);
}

void TDSClientCallbackChannelManager::SetChannelName(const QString &AValue)
{
    WriteSetting(*FShared, &TChannelShared::ChannelName, AValue);
}

void TDSClientCallbackChannelManager::SetManagerId(const QString &AValue)
{
    WriteSetting(*FShared, &TChannelShared::ManagerId, AValue);
}

void TDSClientCallbackChannelManager::SetDSHostname(const QString &AValue)
{
    WriteSetting(*FShared, &TChannelShared::DSHostname, AValue);
}

void TDSClientCallbackChannelManager::SetDSPort(const QString &AValue)
{
    WriteSetting(*FShared, &TChannelShared::DSPort, AValue);
}

void TDSClientCallbackChannelManager::SetCommunicationProtocol(const QString &AValue)
{
    const QString protocol = AValue.toLower();
    if (protocol != u"tcp/ip" && protocol != u"http")
        throw std::invalid_argument("Unknown communication protocol: " + Utf8(AValue));
    WriteSetting(*FShared, &TChannelShared::CommunicationProtocol, protocol);
}

void TDSClientCallbackChannelManager::SetOnServerConnectionError(TConnectionErrorHandler AHandler)
{
    QMutexLocker lock(&FShared->Mutex);
    FShared->OnServerConnectionError = std::move(AHandler);
}

bool TDSClientCallbackChannelManager::RegisterCallback(const QString &AChannelNames, TDBXNamedCallback *ACallback)
{
    std::unique_ptr<TDBXNamedCallback> owned(ACallback);
    if (!owned)
        return false;
    const QString name = owned->Name();
    {
        QMutexLocker lock(&FShared->Mutex);
        if (FShared->Callbacks.count(name) != 0)
            return false;
        FShared->Callbacks[name] = TCallbackEntry{SplitChannels(AChannelNames, FShared->ChannelName), std::move(owned)};
    }
    QMetaObject::invokeMethod(FTunnel, [tunnel = FTunnel, name] { tunnel->Register(name); }, Qt::QueuedConnection);
    return true;
}

bool TDSClientCallbackChannelManager::UnregisterCallback(const QString &ACallbackId)
{
    {
        QMutexLocker lock(&FShared->Mutex);
        if (FShared->Callbacks.erase(ACallbackId) == 0)
            return false;
    }
    QMetaObject::invokeMethod(FTunnel, [tunnel = FTunnel, ACallbackId] { tunnel->Unregister(ACallbackId); },
                              Qt::QueuedConnection);
    return true;
}
