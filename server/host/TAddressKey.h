// The identity of the machine a request comes from. A player's seat belongs to
// the address that registered it; every loopback address (127/8, ::1 and their
// IPv4-mapped forms) is one machine, so several local clients share a seat's
// rights, and IPv4 reached over IPv6 sockets matches plain IPv4.
#pragma once

#include <QString>

class QHostAddress;

QString AddressKey(const QHostAddress &address);

// The key of the server itself: its computer players hold their seats under it.
// No request from the network ever carries it.
QString ServerAddressKey();
