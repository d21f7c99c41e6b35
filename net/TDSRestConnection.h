// Where and how the game server's methods are called: host, port and
// time-outs, and one kept-alive HTTP connection that every command made on it
// shares. The connection is made on the first call and made again after the
// host, the port or a time-out changes. Only the main thread uses it.
#pragma once

#include <QString>
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace httplib {
class Client;
}
class TDSRestCommand;

// A reply as read off the wire: HTTP status and body.
struct TDSRestReply
{
    int Status = 0;
    std::string Body;
};

class TDSRestConnection
{
public:
    using THeaders = std::vector<std::pair<std::string, std::string>>;

    TDSRestConnection();
    virtual ~TDSRestConnection();
    TDSRestConnection(const TDSRestConnection &) = delete;
    TDSRestConnection &operator=(const TDSRestConnection &) = delete;

    const QString &Host() const { return FHost; }
    // Takes a host name or an IP address. The host comes from a datagram
    // anyone on the network may send, so anything else (blanks, line breaks,
    // a path) is refused with ERestError and the old host is kept.
    void SetHost(const QString &AHost);
    int Port() const { return FPort; }
    // 1 to 65535; anything else is refused with ERestError.
    void SetPort(int APort);
    const QString &Protocol() const { return FProtocol; }
    // Only "http" is spoken; anything else is refused with ERestError.
    void SetProtocol(const QString &AProtocol);
    bool LoginPrompt() const { return FLoginPrompt; }
    void SetLoginPrompt(bool ALoginPrompt) { FLoginPrompt = ALoginPrompt; }

    // Calls are synchronous on the main thread, so these bound how long a
    // server that stops answering can hold the window.
    std::chrono::milliseconds ConnectTimeout() const { return FConnectTimeout; }
    void SetConnectTimeout(std::chrono::milliseconds ATimeout);
    std::chrono::milliseconds ReadTimeout() const { return FReadTimeout; }
    void SetReadTimeout(std::chrono::milliseconds ATimeout);

    // Replies longer than this are refused: a host named by a datagram must
    // not be able to fill the client's memory.
    std::size_t MaxReplySize() const { return FMaxReplySize; }
    void SetMaxReplySize(std::size_t ABytes) { FMaxReplySize = ABytes; }

    // A new command that calls through this connection; the caller owns it.
    virtual std::unique_ptr<TDSRestCommand> CreateCommand();

    // One GET of an encoded path (with its query). Throws ERestError when no
    // reply could be read: no connection, a time-out, a broken connection, a
    // reply over MaxReplySize.
    TDSRestReply Get(const std::string &APath, const THeaders &AHeaders = {});

private:
    httplib::Client &Client();
    std::string Address() const;
    std::string FailureText(int AError) const;

    QString FHost = QStringLiteral("localhost");
    int FPort = 16000;
    QString FProtocol = QStringLiteral("http");
    bool FLoginPrompt = false;
    std::chrono::milliseconds FConnectTimeout{3000};
    std::chrono::milliseconds FReadTimeout{5000};
    std::size_t FMaxReplySize = 8 * 1024 * 1024;
    std::unique_ptr<httplib::Client> FClient;
};
