// The REST face of the server class: GET /datasnap/rest/<Class>/<Method>/<p>…
// on Qt's HTTP server. It checks the path, the class and method names
// (ignoring case), the parameter count and types, runs the method and writes
// the platform's envelopes in pure ASCII. The cached twins keep the value and
// answer its path; GET /datasnap/cache/<a>/<b>/<c> reads it back.
#pragma once

#include "server/host/TEventLog.h"
#include "server/host/TResultCache.h"
#include "server/host/TServerMethod.h"

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <chrono>
#include <memory>
#include <vector>

class QHttpServer;

// One HTTP reply, before it meets a socket.
struct TRestReply
{
    int Status = 200;
    QByteArray ContentType;
    QByteArray Body;
};

class TRestFace : public QObject
{
    Q_OBJECT
public:
    static constexpr const char *ClassName = "TServerMethods1";
    // Longest request path served; longer ones are refused unread.
    static constexpr qsizetype MaxPathLength = 8192;

    TRestFace(std::vector<TServerMethod> methods, TEventLog log, QObject *parent = nullptr);
    ~TRestFace() override;

    static constexpr std::chrono::milliseconds DefaultIdleTimeout{30000};

    // Starts listening; returns the bound port (port 0 picks a free one), or 0
    // when the port cannot be bound. A connection silent for the idle time is
    // closed.
    quint16 Listen(const QHostAddress &address, quint16 port,
                   std::chrono::milliseconds idleTimeout = DefaultIdleTimeout);

    // The whole handling of one request, without sockets: the verb, the raw
    // (still percent-encoded) path, the Accept header and the caller.
    TRestReply Handle(const QByteArray &verb, const QByteArray &rawPath, const QByteArray &accept,
                      const TCallContext &caller);

private:
    TRestReply HandleMethod(const QList<QByteArray> &segments, bool cached, const TCallContext &caller);
    TRestReply HandleCache(const QList<QByteArray> &segments);
    const TServerMethod *FindMethod(const QString &name) const;

    std::vector<TServerMethod> FMethods;
    TEventLog FLog;
    TResultCache FCache;
    std::unique_ptr<QHttpServer> FServer;
};
