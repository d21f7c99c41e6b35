#include "net/TIdUDPServer.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkDatagram>
#include <QScopeGuard>
#include <QUdpSocket>

namespace {

const QString SocketErrorClass = QStringLiteral("EIdSocketError");

QString BindFailure(const QUdpSocket &ASocket)
{
    // The reason in the words the window logs after its "UDP Bind error".
    if (ASocket.error() == QAbstractSocket::AddressInUseError)
        return QStringLiteral("Address already in use");
    return ASocket.errorString();
}

QHostAddress ResolveHost(const QString &AHost)
{
    QHostAddress address;
    if (address.setAddress(AHost))
        return address;
    const QHostInfo info = QHostInfo::fromName(AHost);
    if (info.error() != QHostInfo::NoError || info.addresses().isEmpty())
        throw EIdSocketError(QStringLiteral("Cannot resolve host %1: %2").arg(AHost, info.errorString()).toStdString());
    return info.addresses().constFirst();
}

} // namespace

struct TIdUDPServer::TListener
{
    TIdSocketHandle Binding;
    QUdpSocket Socket;
};

TIdUDPServer::TIdUDPServer(QObject *AParent) : QObject(AParent) {}

TIdUDPServer::~TIdUDPServer() = default;

bool TIdUDPServer::Active() const
{
    return !FListeners.empty();
}

void TIdUDPServer::SetActive(bool AValue)
{
    if (AValue == Active())
        return;
    if (!AValue) {
        FListeners.clear();
        RaiseStatus(TIdStatus::hsDisconnected, QStringLiteral("Disconnected."));
        return;
    }
    std::vector<TIdSocketHandle> bindings = Bindings;
    if (bindings.empty())
        bindings.push_back(TIdSocketHandle{QStringLiteral("0.0.0.0"), DefaultPort, {}, {}});
    std::vector<std::unique_ptr<TListener>> listeners;
    for (const TIdSocketHandle &binding : bindings) {
        auto listener = std::make_unique<TListener>();
        listener->Binding = binding;
        QHostAddress address;
        if (!address.setAddress(binding.IP))
            throw EIdSocketError(QStringLiteral("Invalid local address %1").arg(binding.IP).toStdString());
        // Never share: a port someone else holds must fail here.
        if (!listener->Socket.bind(address, binding.Port, QAbstractSocket::DontShareAddress))
            throw EIdSocketError(BindFailure(listener->Socket).toStdString());
        listener->Binding.Port = listener->Socket.localPort();
        TListener *raw = listener.get();
        connect(&raw->Socket, &QUdpSocket::readyRead, this, [this] { ReadPending(); });
        connect(&raw->Socket, &QUdpSocket::errorOccurred, this, [this, raw] {
            if (OnUDPException)
                OnUDPException(this, raw->Binding, raw->Socket.errorString(), SocketErrorClass);
        });
        listeners.push_back(std::move(listener));
    }
    FListeners = std::move(listeners);
    RaiseStatus(TIdStatus::hsConnected, QStringLiteral("Bound."));
}

void TIdUDPServer::Broadcast(const QByteArray &AData, quint16 APort)
{
    Send(QHostAddress(QHostAddress::Broadcast).toString(), APort, AData);
}

void TIdUDPServer::SendBuffer(const QString &AHost, quint16 APort, const QByteArray &AData)
{
    Send(AHost, APort, AData);
}

void TIdUDPServer::Send(const QString &AHost, quint16 APort, const QByteArray &AData)
{
    SetActive(true);
    const QHostAddress address = ResolveHost(AHost);
    QUdpSocket &socket = FListeners.front()->Socket;
    if (socket.writeDatagram(AData, address, APort) != AData.size())
        throw EIdSocketError(socket.errorString().toStdString());
}

// Reads every socket until none has a datagram left, handing them over one
// at a time; a handler that spins an event loop cannot start a second round.
void TIdUDPServer::ReadPending()
{
    if (FReading)
        return;
    FReading = true;
    const auto done = qScopeGuard([this] { FReading = false; });
    for (bool any = true; any;) {
        any = false;
        // By index: a handler may deactivate the component.
        for (std::size_t i = 0; i < FListeners.size(); ++i) {
            TListener &listener = *FListeners[i];
            if (!listener.Socket.hasPendingDatagrams())
                continue;
            const QNetworkDatagram datagram = listener.Socket.receiveDatagram(BufferSize);
            if (!datagram.isValid())
                continue; // a failed read is reported by errorOccurred
            any = true;
            TIdSocketHandle binding = listener.Binding;
            binding.PeerIP = datagram.senderAddress().toString();
            binding.PeerPort = quint16(datagram.senderPort());
            if (OnUDPRead)
                OnUDPRead(this, datagram.data(), binding);
        }
    }
}

void TIdUDPServer::RaiseStatus(TIdStatus AStatus, const QString &AText)
{
    if (OnStatus)
        OnStatus(this, AStatus, AText);
}
