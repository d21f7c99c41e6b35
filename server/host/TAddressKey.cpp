#include "server/host/TAddressKey.h"

#include <QHostAddress>

QString AddressKey(const QHostAddress &address)
{
    if (address.isLoopback())
        return QStringLiteral("loopback");
    bool isIPv4 = false;
    const quint32 ipv4 = address.toIPv4Address(&isIPv4);
    if (isIPv4)
        return QHostAddress(ipv4).toString();
    QHostAddress plain(address);
    plain.setScopeId(QString());
    return plain.toString();
}

QString ServerAddressKey()
{
    return QStringLiteral("server");
}
