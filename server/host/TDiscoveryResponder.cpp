#include "server/host/TDiscoveryResponder.h"

#include "platform/TJSONValue.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QUdpSocket>

namespace {

const QByteArray Request = QByteArrayLiteral("Hello");

QString FirstIPv4(const QList<QNetworkAddressEntry> &entries)
{
    for (const QNetworkAddressEntry &entry : entries) {
        if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
            return entry.ip().toString();
    }
    return {};
}

} // namespace

TDiscoveryResponder::TDiscoveryResponder(quint16 restPort, QString announcedHost, TEventLog log,
                                         QObject *parent)
    : QObject(parent), FRestPort(restPort), FAnnouncedHost(std::move(announcedHost)), FLog(std::move(log))
{
}

quint16 TDiscoveryResponder::Listen(quint16 port)
{
    auto *socket = new QUdpSocket(this);
    if (!socket->bind(QHostAddress::AnyIPv4, port)) {
        delete socket;
        return 0;
    }
    FSocket = socket;
    connect(FSocket, &QUdpSocket::readyRead, this, &TDiscoveryResponder::ReadPending);
    return FSocket->localPort();
}

QString TDiscoveryResponder::HostFor(const QNetworkDatagram &request) const
{
    if (!FAnnouncedHost.isEmpty())
        return FAnnouncedHost;
    QString host = FirstIPv4(QNetworkInterface::interfaceFromIndex(static_cast<int>(request.interfaceIndex()))
                                 .addressEntries());
    if (host.isEmpty()) {
        const QHostAddress destination = request.destinationAddress();
        if (destination.protocol() == QAbstractSocket::IPv4Protocol && destination != QHostAddress::Broadcast)
            host = destination.toString();
    }
    return host.isEmpty() ? QStringLiteral("127.0.0.1") : host;
}

QByteArray TDiscoveryResponder::Announcement(const QNetworkDatagram &request) const
{
    TJSONValue announcement = TJSONValue::object();
    announcement["Application"] = "VantServer";
    announcement["Host"] = HostFor(request).toStdString();
    announcement["Port"] = FRestPort;
    return QByteArray::fromStdString(announcement.dump());
}

void TDiscoveryResponder::ReadPending()
{
    while (FSocket->hasPendingDatagrams()) {
        // Only the size of the request is read; a longer datagram is cut to
        // one byte more than that and dropped, whatever its length.
        const bool exactSize = FSocket->pendingDatagramSize() == Request.size();
        const QNetworkDatagram datagram = FSocket->receiveDatagram(Request.size() + 1);
        if (!exactSize || datagram.data() != Request || datagram.senderPort() <= 0)
            continue;
        const QByteArray answer = Announcement(datagram);
        FSocket->writeDatagram(answer, datagram.senderAddress(), static_cast<quint16>(datagram.senderPort()));
        if (FLog)
            FLog(QStringLiteral("Discovery Hello from %1:%2, answered %3")
                     .arg(datagram.senderAddress().toString())
                     .arg(datagram.senderPort())
                     .arg(QString::fromUtf8(answer)));
    }
}
