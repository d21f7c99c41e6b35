// The live log viewer: binds the viewer socket and prints every message that
// a client's CodeSite sends, one line each, flushed at once.
#include "log/TCodeSiteLogger.h"
#include "log/TLogViewMessage.h"

#include <QByteArray>
#include <QString>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t StopRequested = 0;

void RequestStop(int) { StopRequested = 1; }

void PrintUsage(std::FILE *to)
{
    std::fputs("usage: vant-logview [--socket PATH]\n"
               "Prints the messages of running VantClient processes.\n"
               "PATH defaults to $VANT_LOGVIEW_SOCKET, else /tmp/vant-logview-<uid>.sock.\n",
               to);
}

int Fail(const char *what, const QByteArray &path)
{
    std::fprintf(stderr, "vant-logview: %s %s: %s\n", what, path.constData(), std::strerror(errno));
    return 1;
}

// Closes the socket and removes its file on every way out.
class TBoundSocket
{
public:
    explicit TBoundSocket(QByteArray path) : FPath(std::move(path)) {}
    ~TBoundSocket()
    {
        if (FFd >= 0)
            ::close(FFd);
        if (FBound)
            ::unlink(FPath.constData());
    }
    TBoundSocket(const TBoundSocket &) = delete;
    TBoundSocket &operator=(const TBoundSocket &) = delete;

    int FFd = -1;
    bool FBound = false;

private:
    QByteArray FPath;
};

bool FillAddress(const QByteArray &path, sockaddr_un &address)
{
    address = sockaddr_un{};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || static_cast<size_t>(path.size()) >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
    return true;
}

// A socket file left by a viewer that died may be removed; a live viewer's
// socket, or anything that is not a socket, is left alone.
int ClearStaleSocket(const QByteArray &path, const sockaddr_un &address)
{
    struct stat info{};
    if (::lstat(path.constData(), &info) != 0)
        return errno == ENOENT ? 0 : Fail("cannot examine", path);
    if (!S_ISSOCK(info.st_mode)) {
        std::fprintf(stderr, "vant-logview: %s exists and is not a socket\n", path.constData());
        return 1;
    }
    const int probe = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (probe < 0)
        return Fail("cannot probe", path);
    const bool live =
        ::connect(probe, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) == 0;
    ::close(probe);
    if (live) {
        std::fprintf(stderr, "vant-logview: another viewer is listening on %s\n",
                     path.constData());
        return 1;
    }
    if (::unlink(path.constData()) != 0)
        return Fail("cannot remove stale", path);
    return 0;
}

int Run(const QByteArray &path, const sigset_t &waitMask)
{
    sockaddr_un address;
    if (!FillAddress(path, address)) {
        std::fprintf(stderr, "vant-logview: socket path is empty or too long: %s\n",
                     path.constData());
        return 1;
    }
    if (const int rc = ClearStaleSocket(path, address))
        return rc;

    TBoundSocket socket(path);
    socket.FFd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (socket.FFd < 0)
        return Fail("cannot create socket for", path);
    if (::bind(socket.FFd, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) != 0)
        return Fail("cannot bind", path);
    socket.FBound = true;
    std::fprintf(stderr, "vant-logview: listening on %s\n", path.constData());

    QByteArray buffer(256 * 1024, Qt::Uninitialized);
    while (!StopRequested) {
        // The stop signals are blocked except inside ppoll, so a signal can
        // never slip in between the check above and the wait.
        pollfd ready{socket.FFd, POLLIN, 0};
        if (::ppoll(&ready, 1, nullptr, &waitMask) < 0) {
            if (errno == EINTR)
                continue;
            return Fail("cannot wait on", path);
        }
        const ssize_t n = ::recv(socket.FFd, buffer.data(), static_cast<size_t>(buffer.size()), 0);
        if (n < 0)
            return Fail("cannot receive on", path);
        const auto message = TLogViewMessage::FromDatagram(buffer.left(n));
        if (!message) {
            std::fputs("vant-logview: ignored a malformed message\n", stderr);
            continue;
        }
        std::fputs((message->DisplayLine() + u'\n').toLocal8Bit().constData(), stdout);
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QString path = TCodeSiteLogger::DefaultSocketPath();
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--help" || arg == "-h") {
            PrintUsage(stdout);
            return 0;
        }
        if (arg == "--socket" && i + 1 < argc) {
            path = QString::fromLocal8Bit(argv[++i]);
            continue;
        }
        PrintUsage(stderr);
        return 2;
    }

    // A stop signal ends the receive loop, so the socket file is removed.
    struct sigaction stop{};
    stop.sa_handler = RequestStop;
    sigemptyset(&stop.sa_mask);
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        ::sigaction(signal, &stop, nullptr);
        sigaddset(&stopSignals, signal);
    }
    sigset_t waitMask;
    ::sigprocmask(SIG_BLOCK, &stopSignals, &waitMask);

    return Run(path.toLocal8Bit(), waitMask);
}
