// The listening socket under the REST face. Qt's HTTP server buffers a whole
// request body and keeps every connection it is given, so this server bounds
// what one client can hold: a connection that sends more than MaxRequestBytes
// before the server answers (no request of ours has a body) is cut, one that
// stays silent for the idle time is cut, and connections beyond
// MaxConnections are refused.
#pragma once

#include <QTcpServer>
#include <chrono>

class TGuardedTcpServer : public QTcpServer
{
    Q_OBJECT
public:
    static constexpr qint64 MaxRequestBytes = 64 * 1024;
    static constexpr int MaxConnections = 128;

    TGuardedTcpServer(std::chrono::milliseconds idleTimeout, QObject *parent = nullptr);

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    int OpenConnections() const;

    std::chrono::milliseconds FIdleTimeout;
};
