// The whole server on real sockets (loopback inside the test namespace): the
// HTTP transport under the REST face, discovery, push channels and the
// computer players. Every port is 0, so runs never collide.
#include "ServerTestSupport.h"

#include "server/host/TPushHub.h"
#include "server/host/TRestFace.h"
#include "server/host/TVantServer.h"

#include <QCoreApplication>
#include <QNetworkDatagram>
#include <QProcess>
#include <QTcpSocket>
#include <QTest>
#include <QUdpSocket>
#include <gtest/gtest.h>

namespace {

const QByteArray Base = "/datasnap/rest/TServerMethods1/";

TServerOptions TestOptions(int bots = 0)
{
    TServerOptions options;
    options.HttpPort = 0;
    options.PushPort = 0;
    options.DiscoveryPort = 0;
    options.Bots = bots;
    options.BotDelayMs = 0;
    options.Seed = 11;
    return options;
}

class ServerSockets : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(server.Start(error)) << error.toStdString();
    }

    TJSONValue Call(const QByteArray &methodAndParams)
    {
        const THttpReply reply = HttpGet(server.HttpPort(), Base + methodAndParams);
        EXPECT_EQ(reply.Status, 200) << methodAndParams.constData() << " " << reply.Body.constData();
        return reply.Status == 200 ? vantjson::Parse(reply.Body.toStdString())["result"] : TJSONValue();
    }

    // Waits for the next datagram on the socket; empty when none comes.
    static QByteArray NextDatagram(QUdpSocket &socket, int timeoutMs)
    {
        (void)QTest::qWaitFor([&] { return socket.hasPendingDatagrams(); }, timeoutMs);
        return socket.hasPendingDatagrams() ? socket.receiveDatagram().data() : QByteArray();
    }

    TVantServer server{TestOptions(), {}};
};

TEST_F(ServerSockets, HttpCarriesTheRawPathAndKeepsTheConnection)
{
    // An encoded slash reaches the method inside its value.
    THttpReply reply = HttpGet(server.HttpPort(), Base + "RegisterPlayer/J%C3%B6rg%2Fx/c/");
    EXPECT_EQ(reply.Status, 200);
    EXPECT_EQ(reply.Body, R"({"result":["1"]})");
    EXPECT_EQ(server.Game().PlayerName(1), QStringLiteral("J\u00f6rg/x"));

    // Qt's URL parser reads a "%" without two hex digits after it as itself.
    reply = HttpGet(server.HttpPort(), Base + "RegisterPlayer/100%ZZ/c/");
    EXPECT_EQ(reply.Body, R"({"result":["2"]})");
    EXPECT_EQ(server.Game().PlayerName(2), QStringLiteral("100%ZZ"));

    reply = HttpGet(server.HttpPort(), Base + "Players/" + QByteArray(20000, 'a'));
    EXPECT_EQ(reply.Status, 414);

    // Two requests on one kept-alive connection.
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, server.HttpPort());
    ASSERT_TRUE(socket.waitForConnected(5000));
    QByteArray received;
    for (int i = 0; i < 2; ++i) {
        socket.write("GET " + Base + "Players/ HTTP/1.1\r\nHost: x\r\n\r\n");
        ASSERT_TRUE(QTest::qWaitFor([&] {
            received += socket.readAll();
            return received.count("{\"result\":") == i + 1;
        }, 5000));
    }
}

TEST_F(ServerSockets, OversizedOrBrokenRequestsNeverStopTheServer)
{
    const QByteArray requests[] = {
        "GET " + Base + "Players/ HTTP/1.1\r\nHost: x\r\nContent-Length: 100000000\r\n\r\n" + QByteArray(300000, 'x'),
        "NOT HTTP AT ALL\r\n\r\n",
        "GET " + Base + "Players/ HTTP/1.1\r\nX-Big: " + QByteArray(200000, 'h') + "\r\n\r\n",
    };
    for (const QByteArray &request : requests) {
        const THttpReply reply = HttpExchange(server.HttpPort(), request);
        EXPECT_NE(reply.Status, 200) << request.left(40).constData();
    }
    EXPECT_EQ(HttpGet(server.HttpPort(), Base + "Players/").Status, 200);
}

TEST(RestFaceSockets, SilentConnectionsAreClosed)
{
    TRestFace face({}, {});
    const quint16 port = face.Listen(QHostAddress::LocalHost, 0, std::chrono::milliseconds(200));
    ASSERT_NE(port, 0);
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(socket.waitForConnected(5000));
    socket.write(QByteArray("\0\xff\x01\x02", 4));  // never a whole request
    EXPECT_TRUE(QTest::qWaitFor([&] { return socket.state() == QAbstractSocket::UnconnectedState; }, 5000));
}

TEST_F(ServerSockets, DiscoveryAnswersHelloAndIgnoresEverythingElse)
{
    QUdpSocket client;
    ASSERT_TRUE(client.bind(QHostAddress::LocalHost, 0));
    const auto send = [&](const QByteArray &data) {
        client.writeDatagram(data, QHostAddress::LocalHost, server.DiscoveryPort());
    };

    send("Hello");
    const QByteArray answer = NextDatagram(client, 5000);
    const TJSONValue announcement = vantjson::Parse(answer.toStdString());
    EXPECT_EQ(announcement.dump(), R"({"Application":"VantServer","Host":"127.0.0.1","Port":)" +
                                       std::to_string(server.HttpPort()) + "}");

    for (const QByteArray &other : {QByteArray("hello"), QByteArray("Hello\n"), QByteArray("Hell"), QByteArray(),
                                    QByteArray("Hello") + QByteArray(9000, '!')})
        send(other);
    EXPECT_TRUE(NextDatagram(client, 300).isEmpty());
    send("Hello");
    EXPECT_EQ(NextDatagram(client, 5000), answer);
}

TEST_F(ServerSockets, PushChannelsCarryUpdatesAndPlayerChanges)
{
    TPushClient update(server.PushPort(), QStringLiteral("ann-Update"));
    TPushClient comm(server.PushPort(), QStringLiteral("ann-Comm"));
    ASSERT_TRUE(update.Connected() && comm.Connected());
    update.Send(R"({"type":"register","channel":"VantUpdate","callback":"VantUpdate"})");
    comm.Send(R"({"type":"register","channel":"VantComm","callback":"VantComm"})");
    EXPECT_EQ(update.WaitForType("registered").dump(), R"({"type":"registered","callback":"VantUpdate"})");
    EXPECT_EQ(comm.WaitForType("registered")["callback"], "VantComm");

    const auto isPush = [](const char *channel) {
        return [channel](const TJSONValue &m) { return m.value("type", "") == "push" && m.value("channel", "") == channel; };
    };
    Call("RegisterPlayer/Ann/ann/");
    const TJSONValue commPush = comm.WaitFor(isPush("VantComm"));
    ASSERT_FALSE(commPush.is_null());
    EXPECT_TRUE(commPush["callback"].is_null());
    EXPECT_TRUE(commPush["id"].is_number_integer());
    comm.Send(R"({"type":"answer","id":)" + QByteArray::number(commPush["id"].get<qint64>()) + R"(,"value":true})");

    Call("RegisterPlayer/Bob/bob/");
    update.Messages().clear();
    Call("Deal/");
    EXPECT_FALSE(update.WaitFor(isPush("VantUpdate")).is_null());
    EXPECT_TRUE(comm.WaitFor(isPush("VantUpdate"), 100).is_null()) << "each channel only gets its own pushes";

    // Garbage gets an error; the connection stays and still gets pushes.
    for (const QByteArray &garbage : {QByteArray("{not json"), QByteArray("[1,2]"), QByteArray(R"({"type":"dance"})"),
                                      QByteArray(R"({"type":"register","channel":7})"),
                                      QByteArray(R"({"type":"unregister","callback":"Nope"})")}) {
        update.Messages().clear();
        update.Send(garbage);
        EXPECT_EQ(update.WaitForType("error")["message"].is_string(), true) << garbage.constData();
    }
    EXPECT_EQ(update.Messages().front()["message"], "Unknown callback");
    update.Socket().sendBinaryMessage("\x01\x02");
    update.Messages().clear();
    Call("NewGame/");
    EXPECT_FALSE(update.WaitFor(isPush("VantUpdate")).is_null());
    EXPECT_TRUE(update.Connected());

    // Unregistered, the callback gets no more pushes.
    update.Send(R"({"type":"unregister","callback":"VantUpdate"})");
    update.Messages().clear();
    Call("Deal/");
    EXPECT_TRUE(update.WaitFor(isPush("VantUpdate"), 200).is_null());
}

TEST_F(ServerSockets, ASeatFreesUpWhenItsChannelsClose)
{
    auto update = std::make_unique<TPushClient>(server.PushPort(), QStringLiteral("ann-Update"));
    Call("RegisterPlayer/Ann/ann/");
    EXPECT_TRUE(server.Hub().IsClientConnected(QStringLiteral("ann")));
    EXPECT_FALSE(server.Hub().IsClientConnected(QStringLiteral("an")));

    // The same manager connecting again replaces its old connection.
    TPushClient again(server.PushPort(), QStringLiteral("ann-Update"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !update->Connected(); }, 5000));
    again.Socket().close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !server.Hub().IsClientConnected(QStringLiteral("ann")); }, 5000));

    // Without a manager id there is no channel.
    TPushClient anonymous(server.PushPort(), QString());
    EXPECT_EQ(anonymous.WaitForType("error")["message"], "A managerId is required");
}

TEST(PushHubSockets, AClientThatStopsReadingIsCutOff)
{
    TPushHub hub({});
    const quint16 port = hub.Listen(QHostAddress::LocalHost, 0);
    ASSERT_NE(port, 0);
    QTcpSocket client;
    client.setReadBufferSize(1024);  // reads no further once this is full
    ASSERT_TRUE(OpenRawWebSocket(client, port, "slow-Update"));
    SendMaskedText(client, R"({"type":"register","channel":"VantUpdate","callback":"VantUpdate"})");
    ASSERT_TRUE(QTest::qWaitFor([&] { return hub.Broadcast(QStringLiteral("VantUpdate"), 0) == 1; }, 5000));

    const TJSONValue big(std::string(64 * 1024, 'x'));
    for (int i = 0; i < 1000 && hub.IsClientConnected(QStringLiteral("slow")); ++i) {
        hub.Broadcast(QStringLiteral("VantUpdate"), big);
        QCoreApplication::processEvents();
    }
    EXPECT_FALSE(hub.IsClientConnected(QStringLiteral("slow")));
}

TEST(PushHubSockets, AConnectionThatStopsAnsweringPingsIsDropped)
{
    TPushHub hub({});
    const quint16 port = hub.Listen(QHostAddress::LocalHost, 0);
    ASSERT_NE(port, 0);
    hub.SetPingInterval(50);
    TPushClient alive(port, QStringLiteral("alive-Update"));  // Qt answers pings by itself
    QTcpSocket gone;                                          // never answers
    ASSERT_TRUE(OpenRawWebSocket(gone, port, "gone-Update"));
    ASSERT_TRUE(hub.IsClientConnected(QStringLiteral("gone")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !hub.IsClientConnected(QStringLiteral("gone")); }, 5000));
    QTest::qWait(200);
    EXPECT_TRUE(hub.IsClientConnected(QStringLiteral("alive")));
}

TEST(ServerBots, ComputerPlayersPlayAGameToItsEnd)
{
    TVantServer server(TestOptions(3), {});
    QString error;
    ASSERT_TRUE(server.Start(error)) << error.toStdString();
    ASSERT_EQ(server.Game().Players().size(), 3u);
    EXPECT_EQ(server.Game().Players().front().name, "Robot 1");
    EXPECT_EQ(HttpGet(server.HttpPort(), Base + "Deal/").Status, 200);
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.Game().IsOver(); }, 20000));
    // A person on this machine can neither take nor play a robot's seat.
    EXPECT_EQ(HttpGet(server.HttpPort(), Base + "RegisterPlayer/robot%201/c/").Status, 500);
    EXPECT_EQ(HttpGet(server.HttpPort(), Base + "EndTurn/1/").Body, R"({"result":["Not your seat"]})");
}

TEST(ServerProgram, ExitsWithCode2OnABadCommandLine)
{
    QProcess program;
    program.start(QStringLiteral(VANT_SERVER_PATH), {QStringLiteral("--bots"), QStringLiteral("many")});
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitCode(), 2);
    EXPECT_TRUE(program.readAllStandardError().contains("--bots"));

    program.start(QStringLiteral(VANT_SERVER_PATH), {QStringLiteral("--help")});
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(program.readAllStandardOutput().contains("--discovery-port"));
}

} // namespace
