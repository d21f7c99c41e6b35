#include "TDSRestConnection.h"

#include "net/ERestError.h"
#include "net/TDSRestCommand.h"

#include <algorithm>
#include <httplib.h>

namespace {

bool IsHostCharacter(QChar AChar)
{
    return (AChar >= QLatin1Char('a') && AChar <= QLatin1Char('z')) ||
           (AChar >= QLatin1Char('A') && AChar <= QLatin1Char('Z')) ||
           (AChar >= QLatin1Char('0') && AChar <= QLatin1Char('9')) || AChar == QLatin1Char('.') ||
           AChar == QLatin1Char('-') || AChar == QLatin1Char('_') || AChar == QLatin1Char(':');
}

} // namespace

TDSRestConnection::TDSRestConnection() = default;

TDSRestConnection::~TDSRestConnection() = default;

void TDSRestConnection::SetHost(const QString &AHost)
{
    if (AHost.isEmpty() || AHost.size() > 253 || !std::all_of(AHost.begin(), AHost.end(), IsHostCharacter))
        throw ERestError("Not a host name or address: \"" + AHost.left(64).toStdString() + "\"");
    if (AHost != FHost)
        FClient.reset();
    FHost = AHost;
}

void TDSRestConnection::SetPort(int APort)
{
    if (APort < 1 || APort > 65535)
        throw ERestError("Not a TCP port: " + std::to_string(APort));
    if (APort != FPort)
        FClient.reset();
    FPort = APort;
}

void TDSRestConnection::SetProtocol(const QString &AProtocol)
{
    if (AProtocol.compare(QLatin1String("http"), Qt::CaseInsensitive) != 0)
        throw ERestError("Unsupported protocol: \"" + AProtocol.left(64).toStdString() + "\"");
    FProtocol = AProtocol.toLower();
}

void TDSRestConnection::SetConnectTimeout(std::chrono::milliseconds ATimeout)
{
    FConnectTimeout = ATimeout;
    FClient.reset();
}

void TDSRestConnection::SetReadTimeout(std::chrono::milliseconds ATimeout)
{
    FReadTimeout = ATimeout;
    FClient.reset();
}

std::unique_ptr<TDSRestCommand> TDSRestConnection::CreateCommand()
{
    return std::make_unique<TDSRestCommand>(*this);
}

TDSRestReply TDSRestConnection::Get(const std::string &APath, const THeaders &AHeaders)
{
    const httplib::Headers headers(AHeaders.begin(), AHeaders.end());
    std::string body;
    const httplib::Result result = Client().Get(APath, headers, [this, &body](const char *AData, std::size_t ALength) {
        if (ALength > FMaxReplySize - body.size())
            return false;
        body.append(AData, ALength);
        return true;
    });
    if (!result && result.error() == httplib::Error::Canceled)
        throw ERestError("The reply of the server at " + Address() + " is longer than " +
                         std::to_string(FMaxReplySize) + " bytes");
    if (!result)
        throw ERestError(FailureText(static_cast<int>(result.error())));
    return {result->status, std::move(body)};
}

httplib::Client &TDSRestConnection::Client()
{
    if (!FClient) {
        FClient = std::make_unique<httplib::Client>(FHost.toStdString(), FPort);
        FClient->set_keep_alive(true);
        FClient->set_tcp_nodelay(true);
        FClient->set_connection_timeout(FConnectTimeout);
        FClient->set_read_timeout(FReadTimeout);
        FClient->set_write_timeout(FReadTimeout);
        // Paths arrive encoded by the wire rules; a second encoding would
        // change "+" and friends.
        FClient->set_url_encode(false);
    }
    return *FClient;
}

std::string TDSRestConnection::Address() const
{
    return FHost.toStdString() + ":" + std::to_string(FPort);
}

std::string TDSRestConnection::FailureText(int AError) const
{
    const auto ms = [](std::chrono::milliseconds ATimeout) { return std::to_string(ATimeout.count()) + " ms"; };
    switch (static_cast<httplib::Error>(AError)) {
    case httplib::Error::Connection:
        return "Cannot connect to the server at " + Address();
    case httplib::Error::ConnectionTimeout:
        return "The server at " + Address() + " did not accept the connection within " + ms(FConnectTimeout);
    case httplib::Error::Read:
        return "The server at " + Address() + " did not answer within " + ms(FReadTimeout) +
               " or closed the connection";
    case httplib::Error::Write:
        return "Cannot send the request to the server at " + Address();
    default:
        return "The call to the server at " + Address() + " failed: " +
               httplib::to_string(static_cast<httplib::Error>(AError));
    }
}
