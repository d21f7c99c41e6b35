#include "TViewerSocket.h"

#include <QByteArray>

#include <cstring>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

TViewerSocket::TViewerSocket()
    : FPath(FDir.filePath(QStringLiteral("view.sock")))
{
    const QByteArray path = FPath.toLocal8Bit();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<size_t>(path.size()) >= sizeof(address.sun_path))
        throw std::runtime_error("temporary socket path too long");
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
    FFd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (FFd < 0 || ::bind(FFd, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) != 0)
        throw std::runtime_error("cannot bind the test viewer socket");
}

TViewerSocket::~TViewerSocket()
{
    if (FFd >= 0)
        ::close(FFd);
}

std::optional<TLogViewMessage> TViewerSocket::Receive()
{
    pollfd p{FFd, POLLIN, 0};
    if (::poll(&p, 1, 2000) != 1)
        return std::nullopt;
    QByteArray buffer(256 * 1024, Qt::Uninitialized);
    const ssize_t n = ::recv(FFd, buffer.data(), static_cast<size_t>(buffer.size()), 0);
    if (n < 0)
        return std::nullopt;
    return TLogViewMessage::FromDatagram(buffer.left(n));
}
