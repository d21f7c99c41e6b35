// Registration, push-channel callbacks and discovery of the window, against
// an in-test REST server on loopback (run inside scripts/in-netns).
#include "AppTestSupport.h"
#include "TStubRestServer.h"

#include "app/TVantCallback.h"
#include "cards/UnitPlayerLayout.h"
#include "net/TDSClientCallbackChannelManager.h"
#include "net/TDSRestConnection.h"
#include "net/TIdUDPServer.h"
#include "platform/TRandom.h"
#include "tests/common/TDialogServiceDouble.h"

#include <QColor>
#include <QSet>
#include <QTcpServer>
#include <QUdpSocket>
#include <map>
#include <optional>

namespace {

// Log lines for a failure message.
std::string Joined(const QStringList &ALines)
{
    return ALines.join(u'\n').toStdString();
}

const QColor Red = QColor::fromRgba(0xFFFF0000);
const QColor Green = QColor::fromRgba(0xFF008000);

// The method name of a REST target ".../TServerMethods1/<Method>/...".
std::string MethodOf(const std::string &ATarget)
{
    const std::string marker = "/TServerMethods1/";
    const auto start = ATarget.find(marker);
    if (start == std::string::npos)
        return {};
    const auto from = start + marker.size();
    return ATarget.substr(from, ATarget.find('/', from) - from);
}

// A loopback TCP port where nothing listens.
quint16 ClosedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

} // namespace

// The window with its REST connection on the stub server and its push
// channels at a closed port; replies are scripted by method name.
class ConnectTest : public FormTest
{
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        Dialogs.emplace();
        Stub.SetHandler([this](const std::string &ATarget) {
            const auto found = Replies.find(MethodOf(ATarget));
            return found == Replies.end() ? TScriptedReply{} : found->second;
        });
        Form->DSRestConnection1->SetHost(QStringLiteral("127.0.0.1"));
        Form->DSRestConnection1->SetPort(Stub.Port());
        const QString closed = QString::number(ClosedPort());
        for (auto *manager : {Form->DSChannelVantUpdate.get(), Form->DSChannelVantComm.get()}) {
            manager->SetDSHostname(QStringLiteral("127.0.0.1"));
            manager->SetDSPort(closed);
        }
        // A table update that finds no entry of the player changes nothing.
        Replies["PlayerUpdate"] = {200, R"({"result":[{}]})"};
    }
    void TearDown() override
    {
        Dialogs.reset();
        FormTest::TearDown();
    }

    // The captured lines that begin with APrefix (the push channels, failing
    // to reach the closed port, add their own lines at any moment).
    QStringList Lines(const QString &APrefix) const
    {
        QStringList lines;
        for (const QString &text : Log.Texts())
            if (text.startsWith(APrefix))
                lines.append(text);
        return lines;
    }
    QStringList LinesBut(const QString &AIgnored) const
    {
        QStringList lines;
        for (const QString &text : Log.Texts())
            if (!text.startsWith(AIgnored))
                lines.append(text);
        return lines;
    }
    std::vector<std::string> Calls() const
    {
        std::vector<std::string> methods;
        for (const TRecordedRequest &request : Stub.Requests())
            methods.push_back(MethodOf(request.Target));
        return methods;
    }
    void Announce(const QByteArray &ADatagram)
    {
        Form->IdUDPServer1UDPRead(Form->IdUDPServer1.get(), ADatagram, TIdSocketHandle{});
    }
    QByteArray Announcement() const
    {
        return QStringLiteral(R"({"Application":"VantServer","Host":"127.0.0.1","Port":%1})")
            .arg(Stub.Port())
            .toUtf8();
    }
    QColor Light() const { return Form->ColorButton1->property("color").value<QColor>(); }
    QStringList NameBoxItems() const { return Form->ComboEditPlayers->property("model").toStringList(); }

    TStubRestServer Stub;
    std::map<std::string, TScriptedReply> Replies;
    std::optional<TDialogServiceDouble> Dialogs;
};

// ---- client id and player name ----

TEST(ClientIdTest, RandomStringDrawsOnlyAndEveryCharacterOfTheAlphabet)
{
    TRandom::SetSeed(7);
    const QString text = RandomString(62 * 100, ClientIDAlphabet);
    ASSERT_EQ(text.size(), 62 * 100);
    const QSet<QChar> used(text.begin(), text.end());
    const QSet<QChar> alphabet(ClientIDAlphabet.begin(), ClientIDAlphabet.end());
    EXPECT_EQ(used, alphabet) << "the first and the last character (a, 0) are drawn too";
    EXPECT_EQ(RandomString(0, ClientIDAlphabet), "");
}

TEST_F(ConnectTest, ClientIdNamesBothChannelManagers)
{
    const QString id = Form->ClientID();
    ASSERT_EQ(id.size(), 32);
    EXPECT_EQ(Form->DSChannelVantUpdate->ManagerId(), id + "-Update");
    EXPECT_EQ(Form->DSChannelVantComm->ManagerId(), id + "-Comm");
    for (auto *manager : {Form->DSChannelVantUpdate.get(), Form->DSChannelVantComm.get()})
        EXPECT_EQ(manager->CommunicationProtocol(), "tcp/ip");
    TFormRenderGame other;
    EXPECT_NE(other.ClientID(), id) << "each window makes its own id";
}

TEST_F(ConnectTest, PlayerNameSetterReachesFieldLoggerCaptionAndPlayerRow)
{
    Form->SetPlayerName(QStringLiteral("Ann"));
    EXPECT_EQ(Form->PlayerName(), "Ann");
    EXPECT_EQ(TLogging::Prefix(), "Ann");
    EXPECT_EQ(Form->Caption(), "Ann");
    EXPECT_EQ(Form->PlayerLayout()->CurrentPlayer(), "Ann");
}

// ---- ButtonRegisterClick ----

TEST_F(ConnectTest, RegisterSendsTheTrimmedNameAndReadsTheIdFromTheResultText)
{
    struct TCase
    {
        QString Typed;
        QString Name;
        std::string Result;
        int Id;
        std::string NameSegment;
    };
    for (const TCase &c : {TCase{" \tAnn \n", "Ann", R"("12abc")", 12, "Ann"},
                           {"   ", "", R"("5")", 5, ""},
                           {"Bob", "Bob", R"("abc")", 0, "Bob"},
                           {"Cy", "Cy", "7", 7, "Cy"},
                           {"Di", "Di", R"("  -3x")", -3, "Di"},
                           {"Ed", "Ed", R"("99999999999")", 0, "Ed"}}) {
        SCOPED_TRACE(c.Typed.toStdString());
        Form->LayoutRegister->setVisible(true);
        Form->SetPlayerID(-100);
        Replies["RegisterPlayer"] = {200, R"({"result":[)" + c.Result + "]}"};
        Form->ComboEditPlayers->setProperty("editText", c.Typed);
        const size_t before = Stub.Requests().size();

        Form->ButtonRegisterClick(Form->ImageRegister);

        const std::vector<TRecordedRequest> requests = Stub.Requests();
        ASSERT_GT(requests.size(), before);
        EXPECT_EQ(requests[before].Target, "/datasnap/rest/TServerMethods1/RegisterPlayer/" + c.NameSegment + "/" +
                                               Form->ClientID().toStdString() + "/");
        EXPECT_EQ(MethodOf(requests.back().Target), "PlayerUpdate") << "the table is redrawn";
        EXPECT_EQ(Form->PlayerID(), c.Id);
        EXPECT_EQ(Form->PlayerName(), c.Name);
        EXPECT_FALSE(Form->LayoutRegister->isVisible());
    }
    EXPECT_TRUE(Dialogs->Calls.empty());
}

TEST_F(ConnectTest, EmptyNameShowsTheErrorDialogAndSendsNothing)
{
    Form->LayoutRegister->setVisible(true);
    Form->ComboEditPlayers->setProperty("editText", QString());
    Form->ButtonRegisterClick(Form->ImageRegister);

    ASSERT_EQ(Dialogs->Calls.size(), 1u);
    EXPECT_EQ(Dialogs->Calls[0].Text, "Please enter your player name");
    EXPECT_EQ(Dialogs->Calls[0].DlgType, TMsgDlgType::mtError);
    EXPECT_EQ(Dialogs->Calls[0].Buttons, TMsgDlgButtons::mbOK);
    EXPECT_EQ(Dialogs->Calls[0].DefaultButton, TMsgDlgBtn::mbOK);
    EXPECT_TRUE(Stub.Requests().empty());
    EXPECT_TRUE(Form->LayoutRegister->isVisible());
}

TEST_F(ConnectTest, FailedRegistrationKeepsNameIdAndPanel)
{
    Form->SetPlayerName(QStringLiteral("Old"));
    Form->SetPlayerID(4);
    Form->LayoutRegister->setVisible(true);
    for (const TScriptedReply &reply : {TScriptedReply{500, R"({"error":"The name Ann is in use on another machine"})"},
                                        TScriptedReply{200, R"({"result":[]})"}}) {
        SCOPED_TRACE(reply.Body);
        Log.Clear();
        Replies["RegisterPlayer"] = reply;
        Form->ComboEditPlayers->setProperty("editText", QStringLiteral("Ann"));
        Form->ButtonRegisterClick(Form->ImageRegister);

        EXPECT_EQ(Form->PlayerName(), "Old");
        EXPECT_EQ(Form->PlayerID(), 4);
        EXPECT_TRUE(Form->LayoutRegister->isVisible());
        const QStringList lines = Lines(QStringLiteral("Form Vant Server "));
        EXPECT_EQ(lines.size(), 1) << Joined(lines);
    }
    EXPECT_EQ(Calls(), (std::vector<std::string>{"RegisterPlayer", "RegisterPlayer"})) << "no table update";
}

// ---- push callbacks ----

TEST_F(ConnectTest, RegisterCallbacksTurnsTheLightGreenBeforeTheServerAnswers)
{
    ShowForm();
    ASSERT_EQ(Light(), Red);
    Form->RegisterCallbacks();

    EXPECT_EQ(Light(), Green);
    EXPECT_FALSE(Form->TimerServerWatchdog->property("running").toBool());
    const QString registered =
        QStringLiteral("VantClient Registered %1 Host 127.0.0.1").arg(Form->ClientID());
    EXPECT_EQ(Form->LabelStatus->property("text").toString(), registered);
    const QString channelError = QStringLiteral("Vant Client DS Callback Channel Error ");
    EXPECT_EQ(LinesBut(channelError), (QStringList{"VantClient Registering Callback", registered}));

    // A second registration while registered only says so.
    Log.Clear();
    Form->RegisterCallbacks();
    EXPECT_EQ(LinesBut(channelError), QStringList{"VantClient Registering Callback"});

    // The tunnel to the closed port fails: one more kind of line, nothing else changes.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Lines(channelError).isEmpty(); }, 5000));
    EXPECT_GT(Lines(channelError).front().size(), channelError.size()) << "the line carries the reason";
    EXPECT_EQ(Light(), Green);
    EXPECT_FALSE(Form->TimerServerWatchdog->property("running").toBool());

    Log.Clear();
    Form->UnregisterCallbacks();
    EXPECT_EQ(Light(), Red);
    EXPECT_EQ(LinesBut(channelError),
              QStringList{QStringLiteral("Vant Client Unregistering Client ") + Form->ClientID() + "-Update"});

    // Unregistered already: nothing at all.
    Log.Clear();
    Form->UnregisterCallbacks();
    EXPECT_TRUE(LinesBut(channelError).isEmpty()) << Joined(Log.Texts());

    // Registering again works: the managers forgot the old callbacks.
    Form->RegisterCallbacks();
    EXPECT_EQ(Light(), Green);
    EXPECT_TRUE(Lines(QStringLiteral("VantClient Registration")).isEmpty()) << Joined(Log.Texts());
}

TEST_F(ConnectTest, RefusedUpdateCallbackIsReportedAndKeepsTheLightRed)
{
    ShowForm();
    // The manager already holds a callback of that name.
    ASSERT_TRUE(Form->DSChannelVantUpdate->RegisterCallback(
        QString(), new TVantCallback(QStringLiteral("VantUpdate"), *Form)));
    Form->RegisterCallbacks();

    EXPECT_EQ(Light(), Red);
    EXPECT_TRUE(Form->TimerServerWatchdog->property("running").toBool());
    EXPECT_EQ(Lines(QStringLiteral("VantClient Registration Failed ")),
              QStringList{QStringLiteral("VantClient Registration Failed ") + Form->ClientID()});
}

TEST_F(ConnectTest, CallbackQueuesTheUpdateAndAnswersTrue)
{
    TVantCallback callback(QStringLiteral("VantUpdate"), *Form);
    EXPECT_EQ(callback.Name(), "VantUpdate");
    EXPECT_EQ(callback.Execute(TJSONValue{{"event", "update"}}), TJSONValue(true));
}

// ---- discovery: the announcement ----

TEST_F(ConnectTest, AnnouncementPointsRestAndChannelsAtTheHostAndShowsThePanel)
{
    ShowForm();
    Replies["Players"] = {200, R"({"result":[{"player1":{"name":"Ann","id":1},"Player2":{"name":"Bob","id":2},)"
                               R"("count":{"name":"Cy"},"players":{"name":"Di","id":4},"player5":{"id":5}}]})"};
    Form->DSRestConnection1->SetHost(QStringLiteral("localhost"));
    Announce(Announcement());

    EXPECT_EQ(Form->DSRestConnection1->Host(), "127.0.0.1");
    EXPECT_EQ(Form->DSRestConnection1->Port(), Stub.Port());
    EXPECT_EQ(NameBoxItems(), (QStringList{"Ann", "Di"})) << "only members named player..., with a name";
    EXPECT_EQ(Form->ComboEditPlayers->property("editText").toString(), "") << "no name is picked for the player";
    EXPECT_TRUE(Form->LayoutRegister->isVisible());
    EXPECT_EQ(Light(), Green);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"Players", "PlayerUpdate"}));
    const QString found = QStringLiteral("Vant Client Found Server at 127.0.0.1:%1").arg(Stub.Port());
    EXPECT_TRUE(Form->LabelStatus->property("text").toString().startsWith("VantClient Registered "))
        << "registering writes the status line after the found line";
    EXPECT_EQ(Lines(QStringLiteral("Vant Client Received ")),
              QStringList{QStringLiteral("Vant Client Received ") + Announcement()});
    EXPECT_EQ(Lines(QStringLiteral("Vant Client Found ")), QStringList{found});
    EXPECT_TRUE(Lines(QStringLiteral("Vant Client Exception")).isEmpty()) << Joined(Log.Texts());

    // A second announcement while registered: unregister, register, panel again.
    Form->LayoutRegister->setVisible(false);
    Log.Clear();
    Announce(Announcement());
    EXPECT_EQ(Lines(QStringLiteral("Vant Client Unregistering Client ")).size(), 1);
    EXPECT_EQ(Lines(QStringLiteral("VantClient Registered ")).size(), 1);
    EXPECT_EQ(Light(), Green);
    EXPECT_TRUE(Form->LayoutRegister->isVisible());
}

TEST_F(ConnectTest, AnnouncedPortMovesRestButChannelsStayOnTheirTcpIpPort)
{
    // A window as it is made: the channels on "211" over "tcp/ip".
    TFormRenderGame fresh;
    fresh.IdUDPServer1UDPRead(nullptr, R"({"Application":1,"Host":"127.0.0.1","Port":16000})", {});
    EXPECT_EQ(fresh.DSRestConnection1->Host(), "127.0.0.1");
    EXPECT_EQ(fresh.DSRestConnection1->Port(), 16000);
    for (auto *manager : {fresh.DSChannelVantUpdate.get(), fresh.DSChannelVantComm.get()}) {
        EXPECT_EQ(manager->DSHostname(), "127.0.0.1");
        EXPECT_EQ(manager->DSPort(), "211");
    }
    // Only a channel over "http" follows the announced port.
    fresh.DSChannelVantComm->SetCommunicationProtocol(QStringLiteral("http"));
    fresh.IdUDPServer1UDPRead(nullptr, R"({"Application":1,"Host":"127.0.0.1","Port":16001})", {});
    EXPECT_EQ(fresh.DSChannelVantComm->DSPort(), "16001");
    EXPECT_EQ(fresh.DSChannelVantUpdate->DSPort(), "211");
}

TEST_F(ConnectTest, DatagramsThatAreNotAnnouncementsOnlyLogTheirText)
{
    ShowForm();
    for (const QByteArray &datagram : {QByteArray("Hello"), QByteArray(R"({"Host":"127.0.0.1","Port":1})"),
                                       QByteArray(R"(["Application"])"), QByteArray("{\"Application\"")}) {
        Log.Clear();
        Announce(datagram);
        EXPECT_EQ(Log.Texts(), QStringList{QStringLiteral("Vant Client Received ") + QString::fromUtf8(datagram)});
    }
    EXPECT_TRUE(Stub.Requests().empty());
    EXPECT_FALSE(Form->LayoutRegister->isVisible());
}

TEST_F(ConnectTest, BrokenAnnouncementUnregistersAndKeepsTheOldRestHost)
{
    ShowForm();
    struct TCase
    {
        QByteArray Datagram;
        QString Error;
    };
    for (const TCase &c :
         {TCase{R"({"Application":1,"Port":16001})", QStringLiteral("Vant Client Exception Vant Client Invalid JSON ")},
          {R"({"Application":1,"Host":"10.0.0.9"})", QStringLiteral("Vant Client Exception Vant Client Invalid JSON ")},
          {R"({"Application":1,"Host":"10.0.0.9","Port":"x"})", QStringLiteral("Vant Client Exception ")},
          {R"({"Application":1,"Host":"10.0.0.9","Port":70000})", QStringLiteral("Vant Client Exception ")},
          {R"({"Application":1,"Host":"evil/x?y","Port":16001})", QStringLiteral("Vant Client Exception ")}}) {
        SCOPED_TRACE(c.Datagram.toStdString());
        Form->RegisterCallbacks();
        ASSERT_EQ(Light(), Green);
        Log.Clear();
        Announce(c.Datagram);

        EXPECT_EQ(Light(), Red) << "already unregistered when rejected";
        EXPECT_EQ(Form->DSRestConnection1->Host(), "127.0.0.1");
        EXPECT_EQ(Form->DSRestConnection1->Port(), Stub.Port());
        EXPECT_EQ(Form->DSChannelVantUpdate->DSHostname(), "127.0.0.1");
        const QStringList errors = Lines(QStringLiteral("Vant Client Exception "));
        ASSERT_EQ(errors.size(), 1) << Joined(Log.Texts());
        EXPECT_TRUE(errors[0].startsWith(c.Error)) << errors[0].toStdString();
        EXPECT_FALSE(Form->LayoutRegister->isVisible());
    }
    EXPECT_TRUE(Stub.Requests().empty());
}

TEST_F(ConnectTest, PlayersThatIsNotAnObjectIsRejectedAfterReregistering)
{
    ShowForm();
    Form->ComboEditPlayers->setProperty("model", QStringList{"Old"});
    Replies["Players"] = {200, R"({"result":[[{"name":"Ann"}]]})"};
    Announce(Announcement());

    EXPECT_EQ(Light(), Green) << "the callbacks were registered again first";
    EXPECT_EQ(NameBoxItems(), QStringList{"Old"});
    EXPECT_FALSE(Form->LayoutRegister->isVisible());
    EXPECT_EQ(Calls(), std::vector<std::string>{"Players"}) << "no table update";
    EXPECT_EQ(Lines(QStringLiteral("Vant Client Exception ")).size(), 1) << Joined(Log.Texts());

    // No value at all leaves the items as they were and goes on.
    Replies["Players"] = {200, R"({"result":[]})"};
    Announce(Announcement());
    EXPECT_EQ(NameBoxItems(), QStringList{"Old"});
    EXPECT_TRUE(Form->LayoutRegister->isVisible());
}

// ---- discovery: the socket ----

TEST_F(ConnectTest, HelloGoesToTheDiscoveryPortFromTheBoundPort)
{
    Replies["Players"] = {200, R"({"result":[{}]})"};
    QUdpSocket server;
    ASSERT_TRUE(server.bind(QHostAddress::AnyIPv4, 0));
    Form->DiscoveryPort = server.localPort();
    Form->Show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.hasPendingDatagrams(); }, 5000));
    QHostAddress sender;
    quint16 senderPort = 0;
    QByteArray data(64, '\0');
    data.resize(server.readDatagram(data.data(), data.size(), &sender, &senderPort));
    EXPECT_EQ(data, "Hello");
    EXPECT_GE(senderPort, 14982);
    EXPECT_LE(senderPort, 15899);
    EXPECT_EQ(Form->IdUDPServer1->Bindings.front().Port, senderPort);
    EXPECT_EQ(Lines(QStringLiteral("Vant Client Sending Hello")),
              QStringList{QStringLiteral("Vant Client Sending Hello to %1").arg(server.localPort())});
    EXPECT_EQ(Form->LabelStatus->property("text").toString(), "Pinged server");

    // The server's answer reaches the read handler on the main thread.
    server.writeDatagram(Announcement(), sender, senderPort);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form->LayoutRegister->isVisible(); }, 5000));

    // The watchdog pings only while unregistered; the icon always.
    Form->UnregisterCallbacks();
    Log.Clear();
    Form->TimerServerWatchdogTimer(Form->TimerServerWatchdog);
    EXPECT_EQ(Lines(QStringLiteral("Vant Client Sending Hello")).size(), 1);
    Form->RegisterCallbacks();
    Log.Clear();
    Form->TimerServerWatchdogTimer(Form->TimerServerWatchdog);
    EXPECT_TRUE(Lines(QStringLiteral("Vant Client Sending Hello")).isEmpty());
    Form->Image1Click(Form->Image1);
    EXPECT_EQ(Lines(QStringLiteral("Vant Client Sending Hello")).size(), 1);
}

TEST_F(ConnectTest, TakenStartPortFallsToTheNextLowerWithOneBindErrorLine)
{
    QUdpSocket listener;
    ASSERT_TRUE(listener.bind(QHostAddress::AnyIPv4, 0));
    Form->DiscoveryPort = listener.localPort();
    // The start port the set-up will draw, held by someone else.
    const std::uint64_t seed = 12345;
    TRandom::SetSeed(seed);
    const int start = 15000 + TRandom::Random(900);
    TRandom::SetSeed(seed);
    QUdpSocket taker;
    ASSERT_TRUE(taker.bind(QHostAddress::AnyIPv4, start));
    Form->Show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Form->IdUDPServer1->Bindings.empty(); }, 5000));

    EXPECT_EQ(Form->IdUDPServer1->Bindings.front().Port, start - 1);
    const QStringList errors = Lines(QStringLiteral("VantClient UDP Bind error "));
    ASSERT_EQ(errors.size(), 1) << Joined(Log.Texts());
    EXPECT_TRUE(errors[0].endsWith(QStringLiteral(" %1").arg(start))) << errors[0].toStdString();
    EXPECT_EQ(Lines(QStringLiteral("Vant Client Exception")), QStringList{"Vant Client ExceptionBound."});
    EXPECT_TRUE(QTest::qWaitFor([&] { return listener.hasPendingDatagrams(); }, 5000));
}

TEST_F(ConnectTest, SocketEventsAreLoggedAsTheyCome)
{
    Form->IdUDPServer1UDPException(Form->IdUDPServer1.get(), {}, QStringLiteral("Connection refused"),
                                   QStringLiteral("EIdSocketError"));
    Form->IdUDPServer1Status(Form->IdUDPServer1.get(), 1, QStringLiteral("Disconnected."));
    EXPECT_EQ(Log.Texts(), (QStringList{"Vant Client ExceptionConnection refused", "Vant Client ExceptionDisconnected."}));
}
