#include "log/TCodeSiteLogger.h"

#include "log/TLogViewMessage.h"

#include <QMetaObject>
#include <QObject>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

TCodeSiteLogger::TCodeSiteLogger(const QString &socketPath)
    : FSocket(::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)),
      FSocketPath(socketPath)
{
}

TCodeSiteLogger::~TCodeSiteLogger()
{
    if (FSocket >= 0)
        ::close(FSocket);
}

void TCodeSiteLogger::Send(const QString &msg)
{
    TLogViewMessage m;
    m.text = msg;
    Post(std::move(m));
}

void TCodeSiteLogger::Send(const QString &msg, const QObject *obj)
{
    TLogViewMessage m;
    m.text = msg;
    m.hasObject = true;
    if (obj) {
        m.objectClass = QString::fromLatin1(obj->metaObject()->className());
        m.objectName = obj->objectName();
    }
    Post(std::move(m));
}

void TCodeSiteLogger::EnterMethod(const QString &methodName)
{
    TLogViewMessage m;
    m.kind = TLogViewMessage::TKind::enter;
    m.text = methodName;
    Post(std::move(m));
}

void TCodeSiteLogger::ExitMethod(const QString &methodName)
{
    TLogViewMessage m;
    m.kind = TLogViewMessage::TKind::exit;
    m.text = methodName;
    Post(std::move(m));
}

QString TCodeSiteLogger::SocketPath() const
{
    std::lock_guard lock(FPathMutex);
    return FSocketPath;
}

void TCodeSiteLogger::SetSocketPath(const QString &socketPath)
{
    std::lock_guard lock(FPathMutex);
    FSocketPath = socketPath;
}

QString TCodeSiteLogger::DefaultSocketPath()
{
    const QString fromEnv = qEnvironmentVariable("VANT_LOGVIEW_SOCKET");
    if (!fromEnv.isEmpty())
        return fromEnv;
    return QStringLiteral("/tmp/vant-logview-%1.sock").arg(::getuid());
}

void TCodeSiteLogger::Post(TLogViewMessage message)
{
    if (FSocket < 0)
        return;
    const QByteArray path = SocketPath().toLocal8Bit();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // A path that does not fit can name no viewer.
    if (path.isEmpty() || static_cast<size_t>(path.size()) >= sizeof(address.sun_path))
        return;
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));

    if (message.text.size() > MaxTextLength)
        message.text = message.text.left(MaxTextLength) + QStringLiteral(" [cut]");
    message.pid = ::getpid();
    const QByteArray datagram = message.ToDatagram();
    // Failures (no viewer, full queue) are the viewer's absence: dropped.
    (void)::sendto(FSocket, datagram.constData(), static_cast<size_t>(datagram.size()),
                   MSG_NOSIGNAL, reinterpret_cast<const sockaddr *>(&address), sizeof(address));
}

TCodeSiteLogger &CodeSite()
{
    // Never destroyed: objects destroyed at program end may still log.
    static TCodeSiteLogger *const instance =
        new TCodeSiteLogger(TCodeSiteLogger::DefaultSocketPath());
    return *instance;
}
