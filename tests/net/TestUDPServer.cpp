// The discovery socket on loopback (the namespace turns 255.255.255.255 back
// onto loopback).
#include "net/TIdUDPServer.h"

#include <QCoreApplication>
#include <QNetworkDatagram>
#include <QTest>
#include <QThread>
#include <QUdpSocket>
#include <gtest/gtest.h>

namespace {

// A component with one binding on every interface at APort.
std::unique_ptr<TIdUDPServer> MakeServer(quint16 APort)
{
    auto server = std::make_unique<TIdUDPServer>();
    server->BroadcastEnabled = true;
    server->Bindings.push_back(TIdSocketHandle{QStringLiteral("0.0.0.0"), APort, {}, {}});
    return server;
}

quint16 FreeUdpPort()
{
    QUdpSocket probe;
    EXPECT_TRUE(probe.bind(QHostAddress::AnyIPv4, 0));
    return probe.localPort();
}

TEST(UDPServerTest, BindsAFreePortAndReportsATakenOne)
{
    auto first = MakeServer(FreeUdpPort());
    std::vector<TIdStatus> statuses;
    first->OnStatus = [&](QObject *, TIdStatus AStatus, const QString &) { statuses.push_back(AStatus); };
    first->SetActive(true);
    EXPECT_TRUE(first->Active());

    auto second = MakeServer(first->Bindings.front().Port);
    try {
        second->SetActive(true);
        FAIL() << "binding a taken port must fail";
    } catch (const EIdSocketError &e) {
        EXPECT_STREQ(e.what(), "Address already in use");
    }
    EXPECT_FALSE(second->Active());

    first->SetActive(false);
    EXPECT_FALSE(first->Active());
    EXPECT_EQ(statuses, (std::vector<TIdStatus>{TIdStatus::hsConnected, TIdStatus::hsDisconnected}));
}

TEST(UDPServerTest, BroadcastReachesAListenerAndTheReplyComesBackToOnUDPRead)
{
    QUdpSocket responder;
    ASSERT_TRUE(responder.bind(QHostAddress::AnyIPv4, 0));
    auto client = MakeServer(FreeUdpPort());
    std::vector<QByteArray> received;
    TIdSocketHandle replyBinding;
    client->OnUDPRead = [&](QObject *AThread, const QByteArray &AData, const TIdSocketHandle &ABinding) {
        EXPECT_EQ(AThread, client.get());
        received.push_back(AData);
        replyBinding = ABinding;
    };
    client->SetActive(true);

    client->Broadcast("Hello", responder.localPort());
    ASSERT_TRUE(QTest::qWaitFor([&] { return responder.hasPendingDatagrams(); }, 5000));
    const QNetworkDatagram hello = responder.receiveDatagram();
    EXPECT_EQ(hello.data(), QByteArray("Hello"));
    EXPECT_EQ(hello.senderPort(), client->Bindings.front().Port);

    responder.writeDatagram(QByteArray("{\"Application\":\"VantServer\"}"), hello.senderAddress(), quint16(hello.senderPort()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !received.empty(); }, 5000));
    EXPECT_EQ(received.front(), QByteArray("{\"Application\":\"VantServer\"}"));
    EXPECT_EQ(replyBinding.Port, client->Bindings.front().Port);
    EXPECT_EQ(replyBinding.PeerPort, responder.localPort());
}

TEST(UDPServerTest, DatagramsArriveOnTheMainThreadOneAtATimeInOrderAndBigOnesAreCut)
{
    auto server = MakeServer(FreeUdpPort());
    std::vector<QByteArray> received;
    int depth = 0, deepest = 0;
    server->OnUDPRead = [&](QObject *, const QByteArray &AData, const TIdSocketHandle &) {
        EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
        deepest = std::max(deepest, ++depth);
        received.push_back(AData);
        QCoreApplication::processEvents(); // a handler with a nested event loop
        --depth;
    };
    server->SetActive(true);

    QUdpSocket sender;
    std::vector<QByteArray> sent;
    for (int i = 0; i < 30; ++i)
        sent.push_back(QByteArray::number(i));
    sent.push_back(QByteArray(9000, 'x'));
    for (const QByteArray &datagram : sent)
        sender.writeDatagram(datagram, QHostAddress::LocalHost, server->Bindings.front().Port);

    ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == sent.size(); }, 5000));
    sent.back().truncate(TIdUDPServer::BufferSize);
    EXPECT_EQ(received, sent);
    EXPECT_EQ(deepest, 1);
}

TEST(UDPServerTest, SendingWhileInactiveBindsFirstOrThrows)
{
    QUdpSocket responder;
    ASSERT_TRUE(responder.bind(QHostAddress::LocalHost, 0));

    auto server = MakeServer(FreeUdpPort());
    server->SendBuffer(QStringLiteral("127.0.0.1"), responder.localPort(), "Hello");
    EXPECT_TRUE(server->Active());
    EXPECT_TRUE(QTest::qWaitFor([&] { return responder.hasPendingDatagrams(); }, 5000));

    auto blocked = MakeServer(server->Bindings.front().Port);
    EXPECT_THROW(blocked->Broadcast("Hello", responder.localPort()), EIdSocketError);
    EXPECT_FALSE(blocked->Active());
}

} // namespace
