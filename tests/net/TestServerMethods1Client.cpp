// The method proxy against a stub server: request layout and encoding, result
// texts, command reuse and result ownership, error replies, cached twins.
#include "TStubRestServer.h"
#include "net/ClientClassesUnitREST.h"
#include "net/ERestError.h"
#include "net/TDSRestConnection.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const std::string Rest = "/datasnap/rest/TServerMethods1/";

// Remembers every command it makes, so tests see when the proxy makes one.
class TRecordingConnection : public TDSRestConnection
{
public:
    std::unique_ptr<TDSRestCommand> CreateCommand() override
    {
        auto command = TDSRestConnection::CreateCommand();
        Created.push_back(command.get());
        return command;
    }
    std::vector<TDSRestCommand *> Created;
};

class ServerMethods1ClientTest : public ::testing::Test
{
protected:
    ServerMethods1ClientTest()
    {
        Connection.SetHost(QStringLiteral("127.0.0.1"));
        Connection.SetPort(Server.Port());
    }

    std::string LastTarget() const { return Server.Requests().back().Target; }

    // Declared first so that it stops after the client's connection closed.
    TStubRestServer Server;
    TRecordingConnection Connection;
    TServerMethods1Client Proxy{Connection};
};

TEST_F(ServerMethods1ClientTest, EveryMethodSendsItsInputsInOrderAsPathSegments)
{
    struct Case
    {
        std::function<void(TServerMethods1Client &)> Call;
        std::string Target;
    };
    const std::vector<Case> cases = {
        {[](auto &p) { p.Players(); }, Rest + "Players/"},
        {[](auto &p) { p.RegisterPlayer("Ann", "c1D"); }, Rest + "RegisterPlayer/Ann/c1D/"},
        {[](auto &p) { p.DeletePlayer("Ann"); }, Rest + "DeletePlayer/Ann/"},
        {[](auto &p) { p.KillCard(1, 37, -1); }, Rest + "KillCard/1/37/-1/"},
        {[](auto &p) { p.PlayCard(2, 51); }, Rest + "PlayCard/2/51/"},
        {[](auto &p) { p.EndTurn(3); }, Rest + "EndTurn/3/"},
        {[](auto &p) { p.NewGame(); }, Rest + "NewGame/"},
        {[](auto &p) { p.PlayerUpdate(""); }, Rest + "PlayerUpdate//"},
        {[](auto &p) { p.PlayerSetClientID("", "c2"); }, Rest + "PlayerSetClientID//c2/"},
        {[](auto &p) { p.Deal(); }, Rest + "Deal/"},
        {[](auto &p) { p.StateChange(); }, Rest + "StateChange/"},
        {[](auto &p) { p.EndTurn(4, "ss.c=1&a b#"); }, Rest + "EndTurn/4/?ss.c=1&a%20b%23"},
    };
    for (const Case &c : cases) {
        c.Call(Proxy);
        EXPECT_EQ(LastTarget(), c.Target);
        EXPECT_EQ(Server.Requests().back().Accept.find("application/rest"), std::string::npos) << c.Target;
    }
    // One command per method, the filtered call reusing EndTurn's.
    EXPECT_EQ(Connection.Created.size(), 11u);
}

TEST_F(ServerMethods1ClientTest, TextsArePercentEncodedUtf8WithUpperCaseHex)
{
    const std::vector<std::pair<QString, std::string>> cases = {
        {"Ann Lee", "Ann%20Lee"},
        {".", "%2E"},
        {"/", "%2F"},
        {"%", "%25"},
        {":", "%3A"},
        {"?", "%3F"},
        {"#", "%23"},
        {"|\\{}^", "%7C%5C%7B%7D%5E"},
        {"\"<>`", "%22%3C%3E%60"},
        {"+&=,;@$!*'()~[]", "+&=,;@$!*'()~[]"},
        {"-_azAZ09", "-_azAZ09"},
        {QString::fromUtf8("J\xc3\xb6rg \xe2\x82\xac"), "J%C3%B6rg%20%E2%82%AC"},
        {"a\r\nb\t", "a%0D%0Ab%09"},
        {"", ""},
    };
    for (const auto &[text, segment] : cases) {
        Proxy.DeletePlayer(text);
        EXPECT_EQ(LastTarget(), Rest + "DeletePlayer/" + segment + "/") << text.toStdString();
    }
}

TEST_F(ServerMethods1ClientTest, ResultTextFollowsTheValueRules)
{
    const std::vector<std::pair<std::string, QString>> cases = {
        {R"({"result":["5"]})", "5"},
        {R"({"result":[5]})", "5"},
        {R"({"result":[{"a":1}]})", ""},
        {R"({"result":[[1,2]]})", ""},
        {R"({"result":[true]})", "true"},
        {R"({"result":[null]})", "null"},
        {R"({"result":[""]})", ""},
        {R"({"result":["J\u00f6rg \ud83c\udca1 a\/b"]})", QString::fromUtf8("J\xc3\xb6rg \xf0\x9f\x82\xa1 a/b")},
        {"{\"result\":[\"J\xc3\xb6rg\"]}", QString::fromUtf8("J\xc3\xb6rg")},
    };
    for (const auto &[body, text] : cases) {
        Server.SetReply({200, body});
        const TJSONValuePtr result = Proxy.PlayCard(1, 2);
        ASSERT_NE(result, nullptr) << body;
        EXPECT_EQ(vantjson::ValueText(*result), text) << body;
    }
}

TEST_F(ServerMethods1ClientTest, CommandIsMadeOnFirstCallAndKeptWhileResultsAreReleased)
{
    Server.SetReply({200, R"({"result":[{"n":1}]})"});
    const TJSONValuePtr first = Proxy.PlayerUpdate("Ann");
    ASSERT_EQ(Connection.Created.size(), 1u);
    TDSRestCommand &command = *Connection.Created[0];
    EXPECT_EQ(command.RequestType(), "GET");
    EXPECT_EQ(command.Text(), "TServerMethods1.PlayerUpdate");
    EXPECT_EQ(first.use_count(), 2) << "the proxy keeps its own reference";

    Server.SetReply({200, R"({"result":[{"n":2}]})"});
    const TJSONValuePtr second = Proxy.PlayerUpdate("Ann");
    EXPECT_EQ(Connection.Created.size(), 1u);
    EXPECT_EQ(first.use_count(), 1) << "the second call releases the proxy's reference";
    EXPECT_EQ((*first)["n"], 1) << "a result the caller kept stays valid";
    EXPECT_EQ((*second)["n"], 2);

    // Another method has its own command and leaves this result alone.
    Proxy.Players();
    EXPECT_EQ(Connection.Created.size(), 2u);
    EXPECT_EQ(second.use_count(), 2);
}

TEST_F(ServerMethods1ClientTest, WithoutInstanceOwnerTheCallerAloneHoldsTheResult)
{
    TServerMethods1Client proxy(Connection, false);
    EXPECT_EQ(proxy.Deal().use_count(), 1);
}

TEST_F(ServerMethods1ClientTest, CommandsAreDeclaredWithTheMethodsParameters)
{
    Proxy.KillCard(1, 2, 3);
    Proxy.RegisterPlayer_Cache("Ann", "c1");
    Proxy.StateChange();
    ASSERT_EQ(Connection.Created.size(), 3u);

    using M = TDSRestParameterMetaData;
    const auto expect = [](TDSRestCommand &ACommand, const std::vector<M> &AExpected) {
        ASSERT_EQ(ACommand.ParameterCount(), static_cast<int>(AExpected.size())) << ACommand.Text().toStdString();
        for (int i = 0; i < ACommand.ParameterCount(); ++i) {
            const M &actual = ACommand.Parameters(i).MetaData();
            const M &expected = AExpected[static_cast<std::size_t>(i)];
            EXPECT_EQ(actual.Name, expected.Name);
            EXPECT_EQ(actual.Direction, expected.Direction);
            EXPECT_EQ(actual.DBXType, expected.DBXType);
            EXPECT_EQ(actual.TypeName, expected.TypeName);
        }
    };
    expect(*Connection.Created[0], {{"APlayerID", 1, 6, "Integer"},
                                    {"ACard", 1, 6, "Integer"},
                                    {"ATarget", 1, 6, "Integer"},
                                    {"", 4, 37, "TJSONValue"}});
    expect(*Connection.Created[1], {{"AName", 1, 26, "string"}, {"AClientID", 1, 26, "string"}, {"", 4, 26, "String"}});
    EXPECT_EQ(Connection.Created[1]->Text(), "TServerMethods1.RegisterPlayer");
    EXPECT_FALSE(Connection.Created[2]->Prepared());
    EXPECT_EQ(Connection.Created[2]->ParameterCount(), 0);
}

TEST_F(ServerMethods1ClientTest, ReplyWithoutAResultIsNoValue)
{
    Server.SetReply({200, R"({"result":[]})"});
    EXPECT_EQ(Proxy.PlayerUpdate("Ann"), nullptr);
}

TEST_F(ServerMethods1ClientTest, ErrorRepliesAndUnusableRepliesThrowWithAMessage)
{
    struct Case
    {
        TScriptedReply Reply;
        std::string Message; // what() holds this
    };
    const std::vector<Case> cases = {
        {{500, R"({"error":"Unknown player Zed"})"}, "Unknown player Zed"},
        {{404, "Not Found"}, "HTTP 404: Not Found"},
        {{500, R"({"error":42})"}, "HTTP 500"},
        {{200, "<html>"}, "not a JSON object"},
        {{200, R"({"result":"5"})"}, "not an array"},
        {{200, R"({"answer":[1]})"}, "no \"result\""},
        {{200, "{\"result\":[\"\xff\"]}"}, "not a JSON object"},
    };
    for (const Case &c : cases) {
        Server.SetReply(c.Reply);
        try {
            Proxy.EndTurn(1);
            ADD_FAILURE() << "no exception for " << c.Reply.Body;
        } catch (const ERestError &e) {
            EXPECT_NE(std::string(e.what()).find(c.Message), std::string::npos) << e.what();
            EXPECT_EQ(e.Status(), c.Reply.Status);
        }
    }
    EXPECT_EQ(std::string(ERestError("x").what()), "x");

    // The command stays and serves the next call.
    Server.SetReply({200, R"({"result":[true]})"});
    EXPECT_EQ(vantjson::ValueText(*Proxy.EndTurn(1)), "true");
    EXPECT_EQ(Connection.Created.size(), 1u);
}

TEST_F(ServerMethods1ClientTest, CachedTwinReturnsThePathAndFetchesTheKeptValue)
{
    Server.SetHandler([](const std::string &ATarget) -> TScriptedReply {
        if (ATarget.rfind("/datasnap/cache/", 0) == 0)
            return {200, R"({"result":{"currentplayer":"Ann"}})"};
        return {200, R"({"result":["0/1 ?/2"],"cacheId":0,"cmdIndex":0})"};
    });
    const IDSRestCachedJSONValuePtr cached = Proxy.PlayerUpdate_Cache("Ann");
    ASSERT_NE(cached, nullptr);
    EXPECT_EQ(cached->ItemPath(), "0/1 ?/2");
    ASSERT_EQ(Server.Requests().size(), 1u);
    EXPECT_EQ(Server.Requests()[0].Target, Rest + "PlayerUpdate/Ann/");
    EXPECT_EQ(Server.Requests()[0].Accept, "application/rest");

    const TJSONValuePtr value = cached->GetValue();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ((*value)["currentplayer"], "Ann");
    EXPECT_EQ(LastTarget(), "/datasnap/cache/0/1%20%3F/2");

    Server.SetReply({500, R"({"error":"Cache item expired"})"});
    EXPECT_THROW(cached->GetValue(), ERestError);
}

} // namespace
