// The REST connection's own duties: one kept-alive connection, finite
// time-outs, failures as exceptions that a later call recovers from, and
// refusing unsafe addresses.
#include "TStubRestServer.h"
#include "net/ClientClassesUnitREST.h"
#include "net/ERestError.h"
#include "net/TDSRestConnection.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <optional>

namespace {

using namespace std::chrono_literals;

// A TCP socket on a free loopback port that listens but never accepts: the
// kernel completes the handshake, and nothing ever answers.
class TSilentListener
{
public:
    explicit TSilentListener(bool AListen = true)
    {
        FSocket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (FSocket < 0 || ::bind(FSocket, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
            ::getsockname(FSocket, reinterpret_cast<sockaddr *>(&address), &length) != 0 ||
            (AListen && ::listen(FSocket, 4) != 0))
            throw std::runtime_error("cannot make a loopback socket");
        FPort = ntohs(address.sin_port);
    }
    ~TSilentListener() { ::close(FSocket); }
    TSilentListener(const TSilentListener &) = delete;
    TSilentListener &operator=(const TSilentListener &) = delete;

    int Port() const { return FPort; }

private:
    int FSocket = -1;
    int FPort = 0;
};

// A loopback port on which nobody listens.
int UnusedPort()
{
    return TSilentListener(false).Port();
}

TEST(TDSRestConnectionTest, StartsWithTheDesignDefaults)
{
    const TDSRestConnection connection;
    EXPECT_EQ(connection.Host(), "localhost");
    EXPECT_EQ(connection.Port(), 16000);
    EXPECT_EQ(connection.Protocol(), "http");
    EXPECT_FALSE(connection.LoginPrompt());
    EXPECT_LE(connection.ConnectTimeout(), 5s);
    EXPECT_LE(connection.ReadTimeout(), 10s);
}

TEST(TDSRestConnectionTest, CallsShareOneKeptAliveConnectionUntilTheAddressChanges)
{
    TStubRestServer server;
    TDSRestConnection connection;
    connection.SetHost("127.0.0.1");
    connection.SetPort(server.Port());
    TServerMethods1Client proxy(connection);

    proxy.Deal();
    proxy.Players();
    connection.SetHost("127.0.0.1"); // the same address keeps the connection
    proxy.Deal();
    connection.SetHost("localhost");
    proxy.Deal();

    const std::vector<TRecordedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[1].RemotePort, requests[0].RemotePort);
    EXPECT_EQ(requests[2].RemotePort, requests[0].RemotePort);
    EXPECT_NE(requests[3].RemotePort, requests[0].RemotePort);
}

TEST(TDSRestConnectionTest, NoServerThrowsAndTheNextCallWorksOnceOneListens)
{
    const int port = UnusedPort();
    std::optional<TStubRestServer> server;
    TDSRestConnection connection;
    connection.SetHost("127.0.0.1");
    connection.SetPort(port);
    TServerMethods1Client proxy(connection);

    try {
        proxy.PlayerUpdate("Ann");
        FAIL() << "a call without a server returned";
    } catch (const ERestError &e) {
        EXPECT_EQ(std::string(e.what()), "Cannot connect to the server at 127.0.0.1:" + std::to_string(port));
        EXPECT_EQ(e.Status(), 0);
    }

    server.emplace(port);
    server->SetReply({200, R"({"result":["ok"]})"});
    EXPECT_EQ(vantjson::ValueText(*proxy.PlayerUpdate("Ann")), "ok");

    // A server that goes away and comes back: the dead kept-alive connection
    // is replaced, not reported.
    server.reset();
    server.emplace(port);
    server->SetReply({200, R"({"result":["again"]})"});
    EXPECT_EQ(vantjson::ValueText(*proxy.PlayerUpdate("Ann")), "again");
}

TEST(TDSRestConnectionTest, ServerThatNeverAnswersFailsAfterTheReadTimeout)
{
    const TSilentListener silent;
    TDSRestConnection connection;
    connection.SetHost("127.0.0.1");
    connection.SetPort(silent.Port());
    connection.SetReadTimeout(200ms);
    TServerMethods1Client proxy(connection);

    const auto start = std::chrono::steady_clock::now();
    try {
        proxy.Players();
        FAIL() << "a call to a silent server returned";
    } catch (const ERestError &e) {
        EXPECT_NE(std::string(e.what()).find("did not answer within 200 ms"), std::string::npos) << e.what();
    }
    // Far below the 5 s default: the configured time-out was the one used.
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
}

TEST(TDSRestConnectionTest, RepliesOverTheSizeLimitAreRefused)
{
    TStubRestServer server;
    TDSRestConnection connection;
    connection.SetHost("127.0.0.1");
    connection.SetPort(server.Port());
    connection.SetMaxReplySize(4096);
    TServerMethods1Client proxy(connection);

    const std::string fits = R"({"result":[")" + std::string(4096 - 15, 'a') + R"("]})";
    server.SetReply({200, fits});
    EXPECT_EQ(vantjson::ValueText(*proxy.Players()).size(), fits.size() - 15);

    server.SetReply({200, R"({"result":[")" + std::string(1 << 20, 'a') + R"("]})"});
    try {
        proxy.Players();
        FAIL() << "an oversized reply was read";
    } catch (const ERestError &e) {
        EXPECT_NE(std::string(e.what()).find("longer than 4096 bytes"), std::string::npos) << e.what();
    }
    // The connection recovers for the next call.
    server.SetReply({});
    EXPECT_EQ(vantjson::ValueText(*proxy.Players()), "true");
}

TEST(TDSRestConnectionTest, RefusesAddressesThatAreNotPlainHostsOrPorts)
{
    TDSRestConnection connection;
    for (const QString host : {"", "evil\r\nX-Injected: 1", "a b", "host/path", "host?x", "h\xc3\xa9", "[::1]"}) {
        EXPECT_THROW(connection.SetHost(host), ERestError) << host.toStdString();
        EXPECT_EQ(connection.Host(), "localhost");
    }
    for (const QString host : {"192.168.1.20", "::1", "game-server.local", "a_b"})
        EXPECT_NO_THROW(connection.SetHost(host)) << host.toStdString();
    for (const int port : {0, -1, 65536}) {
        EXPECT_THROW(connection.SetPort(port), ERestError) << port;
        EXPECT_EQ(connection.Port(), 16000);
    }
    EXPECT_THROW(connection.SetProtocol("https"), ERestError);
    EXPECT_NO_THROW(connection.SetProtocol("HTTP"));
    EXPECT_EQ(connection.Protocol(), "http");
}

} // namespace
