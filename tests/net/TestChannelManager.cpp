// The push-channel manager against an in-test push hub on loopback.
#include "net/TDSClientCallbackChannelManager.h"
#include "tests/net/PushHub.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMutex>
#include <QSemaphore>
#include <QTcpServer>
#include <QTest>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// What a callback saw, readable from the test thread.
struct CallLog
{
    QMutex Mutex;
    std::vector<TJSONValue> Args;
    std::vector<QThread *> Threads;
    std::atomic<bool> Destroyed{false};

    std::size_t Count()
    {
        QMutexLocker lock(&Mutex);
        return Args.size();
    }
};

class RecordingCallback : public TDBXNamedCallback
{
public:
    RecordingCallback(const QString &AName, CallLog &ALog, bool AThrows = false)
        : TDBXNamedCallback(AName), FLog(ALog), FThrows(AThrows)
    {
    }
    ~RecordingCallback() override { FLog.Destroyed = true; }

    TJSONValue Execute(const TJSONValue &Arg) override
    {
        {
            QMutexLocker lock(&FLog.Mutex);
            FLog.Args.push_back(Arg);
            FLog.Threads.push_back(QThread::currentThread());
        }
        if (FThrows)
            throw std::runtime_error("callback broke");
        return TJSONValue{{"answeredBy", Name().toStdString()}};
    }

private:
    CallLog &FLog;
    const bool FThrows;
};

class ChannelManagerTest : public ::testing::Test
{
protected:
    // A manager aimed at APort, counting its connection-error events.
    std::unique_ptr<TDSClientCallbackChannelManager> MakeManager(quint16 APort)
    {
        auto manager = std::make_unique<TDSClientCallbackChannelManager>();
        manager->SetChannelName(QStringLiteral("VantUpdate"));
        manager->SetManagerId(QStringLiteral("abc123-Update"));
        manager->SetDSHostname(QStringLiteral("127.0.0.1"));
        manager->SetDSPort(QString::number(APort));
        manager->SetOnServerConnectionError([this, raw = manager.get()](QObject *ASender) {
            EXPECT_EQ(ASender, raw);
            ErrorThread = QThread::currentThread();
            ++Errors;
        });
        return manager;
    }

    static TJSONValue Push(int AId, const char *AChannel, const TJSONValue &ACallback)
    {
        return {{"type", "push"}, {"id", AId}, {"channel", AChannel}, {"callback", ACallback}, {"value", {{"event", "update"}}}};
    }

    static auto AnswerTo(int AId)
    {
        return [AId](const TJSONValue &AMessage) { return AMessage["id"] == AId; };
    }

    static TJSONValue AnswerValue(const PushHub &AHub, int AId)
    {
        for (const TJSONValue &answer : AHub.OfType("answer"))
            if (answer["id"] == AId)
                return answer["value"];
        return "no answer";
    }

    std::atomic<int> Errors{0};
    std::atomic<QThread *> ErrorThread{nullptr};
};

TEST_F(ChannelManagerTest, RegisterReturnsBeforeTheServerAnswersAndRefusesAHeldName)
{
    PushHub hub;
    auto manager = MakeManager(hub.Port());
    CallLog first, duplicate;

    EXPECT_TRUE(manager->RegisterCallback(QStringLiteral("VantUpdate"), new RecordingCallback("VantUpdate", first)));
    // The hub runs on this thread: nothing can have reached it yet.
    EXPECT_TRUE(hub.Messages().empty());
    EXPECT_FALSE(manager->RegisterCallback(QStringLiteral("VantUpdate"), new RecordingCallback("VantUpdate", duplicate)));
    EXPECT_TRUE(duplicate.Destroyed) << "a refused callback is owned, and freed, by the manager";
    EXPECT_FALSE(manager->RegisterCallback(QStringLiteral("VantUpdate"), nullptr));

    ASSERT_TRUE(hub.WaitFor("register"));
    EXPECT_EQ(hub.OfType("register").front(),
              (TJSONValue{{"type", "register"}, {"channel", "VantUpdate"}, {"callback", "VantUpdate"}}));
    EXPECT_EQ(hub.RequestQueries(), QStringList{QStringLiteral("managerId=abc123-Update")});
    QTest::qWait(50);
    EXPECT_EQ(hub.OfType("register").size(), 1u);
    EXPECT_EQ(Errors, 0);
}

TEST_F(ChannelManagerTest, BroadcastPushRunsExecuteOnTheManagersThreadAndAnswersWithItsValue)
{
    PushHub hub;
    auto manager = MakeManager(hub.Port());
    CallLog log;
    manager->RegisterCallback(QStringLiteral("VantUpdate"), new RecordingCallback("VantUpdate", log));
    ASSERT_TRUE(hub.WaitFor("register"));

    hub.SendToAll(Push(17, "VantUpdate", nullptr));
    hub.SendToAll(Push(18, "VantUpdate", nullptr));
    ASSERT_TRUE(hub.WaitFor("answer", AnswerTo(18)));

    EXPECT_EQ(AnswerValue(hub, 17), (TJSONValue{{"answeredBy", "VantUpdate"}}));
    QMutexLocker lock(&log.Mutex);
    ASSERT_EQ(log.Args.size(), 2u);
    EXPECT_EQ(log.Args[0], (TJSONValue{{"event", "update"}}));
    EXPECT_NE(log.Threads[0], QCoreApplication::instance()->thread());
    EXPECT_NE(log.Threads[0], nullptr);
    EXPECT_EQ(log.Threads[0], log.Threads[1]) << "every push runs on the one thread of the manager";
}

TEST_F(ChannelManagerTest, PushesReachOnlyTheCallbacksTheyAreMeantFor)
{
    PushHub hub;
    auto manager = MakeManager(hub.Port());
    CallLog a, b;
    manager->RegisterCallback(QStringLiteral("VantUpdate"), new RecordingCallback("A", a));
    manager->RegisterCallback(QStringLiteral(""), new RecordingCallback("B", b)); // the manager's channel
    ASSERT_TRUE(hub.WaitFor("register", [](const TJSONValue &m) { return m["callback"] == "B"; }));
    EXPECT_EQ(hub.OfType("register").back()["channel"], "VantUpdate");

    hub.SendToAll(Push(1, "VantUpdate", "B"));
    hub.SendToAll(Push(2, "VantComm", nullptr));
    hub.SendToAll(Push(3, "VantUpdate", "Unknown"));
    ASSERT_TRUE(hub.WaitFor("answer", AnswerTo(3)));

    EXPECT_EQ(a.Count(), 0u);
    EXPECT_EQ(b.Count(), 1u);
    EXPECT_EQ(AnswerValue(hub, 1), (TJSONValue{{"answeredBy", "B"}}));
    EXPECT_EQ(AnswerValue(hub, 2), nullptr) << "a push for no held callback is still answered";
    EXPECT_EQ(AnswerValue(hub, 3), nullptr);
}

TEST_F(ChannelManagerTest, AFailingCallbackIsAnsweredWithNullAndTheManagerCarriesOn)
{
    PushHub hub;
    auto manager = MakeManager(hub.Port());
    CallLog log;
    manager->RegisterCallback(QStringLiteral("VantUpdate"), new RecordingCallback("VantUpdate", log, true));
    ASSERT_TRUE(hub.WaitFor("register"));

    hub.SendToAll(Push(5, "VantUpdate", nullptr));
    hub.SendToAll(TJSONValue("not a message"));
    hub.SendToAll(Push(6, "VantUpdate", nullptr));
    ASSERT_TRUE(hub.WaitFor("answer", AnswerTo(6)));
    EXPECT_EQ(AnswerValue(hub, 5), nullptr);
    EXPECT_EQ(log.Count(), 2u);
}

// Blocks in Execute until the test lets it go.
class BlockingCallback : public RecordingCallback
{
public:
    BlockingCallback(CallLog &ALog, QSemaphore &AEntered, QSemaphore &ARelease)
        : RecordingCallback("VantUpdate", ALog), FEntered(AEntered), FRelease(ARelease)
    {
    }

    TJSONValue Execute(const TJSONValue &Arg) override
    {
        FEntered.release();
        FRelease.acquire();
        return RecordingCallback::Execute(Arg);
    }

private:
    QSemaphore &FEntered;
    QSemaphore &FRelease;
};

TEST_F(ChannelManagerTest, UnregisteringDuringExecuteFreesTheCallbackOnlyAfterItReturns)
{
    PushHub hub;
    auto manager = MakeManager(hub.Port());
    CallLog log;
    QSemaphore entered, release;
    manager->RegisterCallback(QStringLiteral("VantUpdate"), new BlockingCallback(log, entered, release));
    ASSERT_TRUE(hub.WaitFor("register"));

    hub.SendToAll(Push(8, "VantUpdate", nullptr));
    ASSERT_TRUE(QTest::qWaitFor([&] { return entered.tryAcquire(); }, 5000));
    EXPECT_TRUE(manager->UnregisterCallback(QStringLiteral("VantUpdate")));
    EXPECT_FALSE(log.Destroyed) << "still running on the manager's thread";
    release.release();

    ASSERT_TRUE(hub.WaitFor("answer", AnswerTo(8)));
    EXPECT_EQ(AnswerValue(hub, 8), (TJSONValue{{"answeredBy", "VantUpdate"}}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return log.Destroyed.load(); }, 5000));
}

TEST_F(ChannelManagerTest, UnregisteringTheLastCallbackClosesTheTunnel)
{
    PushHub hub;
    auto manager = MakeManager(hub.Port());
    CallLog a, b;
    manager->RegisterCallback(QStringLiteral("VantUpdate"), new RecordingCallback("A", a));
    manager->RegisterCallback(QStringLiteral("VantUpdate"), new RecordingCallback("B", b));
    ASSERT_TRUE(hub.WaitFor("register", [](const TJSONValue &m) { return m["callback"] == "B"; }));

    EXPECT_TRUE(manager->UnregisterCallback(QStringLiteral("A")));
    EXPECT_FALSE(manager->UnregisterCallback(QStringLiteral("A")));
    ASSERT_TRUE(hub.WaitFor("unregister", [](const TJSONValue &m) { return m["callback"] == "A"; }));
    EXPECT_TRUE(a.Destroyed);
    EXPECT_EQ(hub.OpenConnections(), 1);

    EXPECT_TRUE(manager->UnregisterCallback(QStringLiteral("B")));
    ASSERT_TRUE(hub.WaitFor("unregister", [](const TJSONValue &m) { return m["callback"] == "B"; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return hub.OpenConnections() == 0; }, 5000));
    QTest::qWait(300); // longer than the first retry delay
    EXPECT_EQ(hub.RequestQueries().size(), 1) << "a tunnel closed on purpose stays closed";
    EXPECT_EQ(Errors, 0);
}

TEST_F(ChannelManagerTest, ANewHostTakesEffectAtTheNextConnection)
{
    PushHub first, second;
    auto manager = MakeManager(first.Port());
    CallLog log1, log2;
    manager->RegisterCallback(QStringLiteral("VantUpdate"), new RecordingCallback("VantUpdate", log1));
    ASSERT_TRUE(first.WaitFor("register"));

    // What the window does on a server announcement.
    manager->SetDSPort(QString::number(second.Port()));
    manager->UnregisterCallback(QStringLiteral("VantUpdate"));
    manager->RegisterCallback(QStringLiteral("VantUpdate"), new RecordingCallback("VantUpdate", log2));

    ASSERT_TRUE(second.WaitFor("register"));
    EXPECT_TRUE(first.WaitFor("unregister"));
    second.SendToAll(Push(9, "VantUpdate", nullptr));
    ASSERT_TRUE(second.WaitFor("answer", AnswerTo(9)));
    EXPECT_EQ(log2.Count(), 1u);
}

TEST_F(ChannelManagerTest, AServerRestartRaisesTheErrorThenReconnectsAndRegistersAgain)
{
    auto hub = std::make_unique<PushHub>();
    const quint16 port = hub->Port();
    auto manager = MakeManager(port);
    CallLog log;
    manager->RegisterCallback(QStringLiteral("VantUpdate"), new RecordingCallback("VantUpdate", log));
    ASSERT_TRUE(hub->WaitFor("register"));
    EXPECT_TRUE(manager->StateError().isEmpty());

    hub.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Errors > 0; }, 5000));
    EXPECT_FALSE(manager->StateError().isEmpty());
    EXPECT_NE(ErrorThread.load(), QCoreApplication::instance()->thread()) << "the event runs on the manager's thread";

    hub = std::make_unique<PushHub>(port);
    ASSERT_TRUE(hub->WaitFor("register", {}, 10000));
    hub->SendToAll(Push(21, "VantUpdate", nullptr));
    ASSERT_TRUE(hub->WaitFor("answer", AnswerTo(21)));
    EXPECT_EQ(log.Count(), 1u);
}

TEST_F(ChannelManagerTest, AServerErrorMessageRaisesTheEventAndKeepsTheTunnel)
{
    PushHub hub;
    auto manager = MakeManager(hub.Port());
    CallLog log;
    manager->RegisterCallback(QStringLiteral("VantUpdate"), new RecordingCallback("VantUpdate", log));
    ASSERT_TRUE(hub.WaitFor("register"));

    hub.SendToAll({{"type", "error"}, {"message", "Unknown message type"}});
    ASSERT_TRUE(QTest::qWaitFor([&] { return Errors > 0; }, 5000));
    EXPECT_EQ(manager->StateError(), QStringLiteral("Unknown message type"));
    hub.SendToAll(Push(4, "VantUpdate", nullptr));
    EXPECT_TRUE(hub.WaitFor("answer", AnswerTo(4)));
    EXPECT_EQ(hub.RequestQueries().size(), 1);
}

TEST_F(ChannelManagerTest, WithNoServerItRaisesTheErrorAndRetriesWithBackOff)
{
    quint16 port;
    {
        QTcpServer probe; // a port nobody listens on afterwards
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        port = probe.serverPort();
    }
    auto manager = MakeManager(port);
    CallLog log;
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(manager->RegisterCallback(QStringLiteral("VantUpdate"), new RecordingCallback("VantUpdate", log)));
    EXPECT_LT(clock.elapsed(), 100);

    QTest::qWait(1300);
    // Attempts at about 0, 0.25, 0.75 s (then 1.75 s): one event each.
    EXPECT_GE(Errors, 2);
    EXPECT_LE(Errors, 4);
    EXPECT_FALSE(manager->StateError().isEmpty());
}

TEST_F(ChannelManagerTest, SettingsKeepTheirDefaultsAndRefuseAnUnknownProtocol)
{
    TDSClientCallbackChannelManager manager;
    EXPECT_EQ(manager.DSPort(), QStringLiteral("211"));
    EXPECT_EQ(manager.CommunicationProtocol(), QStringLiteral("tcp/ip"));
    manager.SetCommunicationProtocol(QStringLiteral("http"));
    EXPECT_EQ(manager.CommunicationProtocol(), QStringLiteral("http"));
    EXPECT_THROW(manager.SetCommunicationProtocol(QStringLiteral("carrier pigeon")), std::invalid_argument);
    EXPECT_EQ(manager.CommunicationProtocol(), QStringLiteral("http"));
}

} // namespace
