// The live log viewer client. Each call hands one message to the viewer
// (tools/vant-logview) as one datagram on a Unix-domain datagram socket and
// returns at once: the send never blocks, and a message that no viewer is
// there to take (no socket file, nobody bound, viewer's queue full) is
// dropped without a trace. The message format is described in
// log/TLogViewMessage.h. Safe to call from several threads at once.
#pragma once

#include <QString>
#include <mutex>

class QObject;
struct TLogViewMessage;

class TCodeSiteLogger
{
public:
    // Texts longer than this are cut (marked " [cut]"), so a message always
    // fits in one datagram.
    static constexpr qsizetype MaxTextLength = 16000;

    explicit TCodeSiteLogger(const QString &socketPath);
    ~TCodeSiteLogger();
    TCodeSiteLogger(const TCodeSiteLogger &) = delete;
    TCodeSiteLogger &operator=(const TCodeSiteLogger &) = delete;

    void Send(const QString &msg);
    // Shows the object's class name and objectName beside the message.
    void Send(const QString &msg, const QObject *obj);
    void EnterMethod(const QString &methodName);
    void ExitMethod(const QString &methodName);

    QString SocketPath() const;
    void SetSocketPath(const QString &socketPath);

    // $VANT_LOGVIEW_SOCKET, else /tmp/vant-logview-<uid>.sock.
    static QString DefaultSocketPath();

private:
    void Post(TLogViewMessage message);

    int FSocket = -1;
    mutable std::mutex FPathMutex;
    QString FSocketPath;
};

// The process-wide viewer client, aimed at DefaultSocketPath().
TCodeSiteLogger &CodeSite();
