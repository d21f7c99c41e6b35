// Answers the clients' discovery datagram: to exactly "Hello" it sends the
// sender back {"Application":"VantServer","Host":<host>,"Port":<REST port>}.
// Host is the given one, or else the first IPv4 address of the interface the
// request came in on. Every other datagram, of any size, is read and dropped.
#pragma once

#include "server/host/TEventLog.h"

#include <QObject>
#include <QString>

class QNetworkDatagram;
class QUdpSocket;

class TDiscoveryResponder : public QObject
{
    Q_OBJECT
public:
    TDiscoveryResponder(quint16 restPort, QString announcedHost, TEventLog log, QObject *parent = nullptr);

    // Binds every IPv4 interface; returns the bound port (0 picks a free one),
    // or 0 when it cannot be bound.
    quint16 Listen(quint16 port);

    // The announcement sent in answer to a request that came in that way.
    QByteArray Announcement(const QNetworkDatagram &request) const;

private:
    void ReadPending();
    QString HostFor(const QNetworkDatagram &request) const;

    quint16 FRestPort;
    QString FAnnouncedHost;
    TEventLog FLog;
    QUdpSocket *FSocket = nullptr;
};
