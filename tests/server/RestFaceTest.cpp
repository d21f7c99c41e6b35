// The REST face against the method contract and against bad requests, without
// sockets: each request goes straight to the face's handler.
#include "server/engine/TVantGame.h"
#include "server/host/TPlayerRegistry.h"
#include "server/host/TRestFace.h"
#include "server/host/TServerMethods1.h"

#include <QSet>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

const QString Here = QStringLiteral("192.168.1.20");
const QString There = QStringLiteral("192.168.1.21");
const QByteArray Base = "/datasnap/rest/TServerMethods1/";

bool IsPureAscii(const QByteArray &bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 32 && c <= 126; });
}

class RestFace : public ::testing::Test
{
protected:
    TVantGame game{7};
    QSet<QString> connected;
    TPlayerRegistry registry{game, [this](const QString &id) { return connected.contains(id); }};
    TServerMethods1 methods{game, registry};
    TRestFace face{methods.Methods(), {}};

    TRestReply Get(const QByteArray &path, const QString &address = Here, const QByteArray &accept = {})
    {
        const TRestReply reply = face.Handle("GET", path, accept, {address});
        EXPECT_TRUE(IsPureAscii(reply.Body)) << reply.Body.constData();
        return reply;
    }

    // The whole body of a successful call.
    TJSONValue Body(const QByteArray &path, const QString &address = Here, const QByteArray &accept = {})
    {
        const TRestReply reply = Get(path, address, accept);
        EXPECT_EQ(reply.Status, 200) << path.constData() << " " << reply.Body.constData();
        EXPECT_EQ(reply.ContentType, "application/json");
        return vantjson::Parse(reply.Body.toStdString());
    }

    // The one result value of a successful method call.
    TJSONValue Result(const QByteArray &methodAndParams, const QString &address = Here)
    {
        const TJSONValue body = Body(Base + methodAndParams, address);
        EXPECT_EQ(body["result"].size(), 1u) << body.dump();
        return body["result"][0];
    }

    // Ann (here) and Bob (there) dealt into a game; returns {sender, defender} ids.
    std::pair<int, int> DealTwo()
    {
        Result("RegisterPlayer/Ann/ann-client/");
        Result("RegisterPlayer/Bob/bob-client/", There);
        EXPECT_EQ(Result("Deal/"), true);
        return {game.Sender(), game.Defender()};
    }

    QString AddressOf(int playerId) const { return registry.Holder(playerId)->AddressKey; }
};

TEST_F(RestFace, EveryMethodAnswersAsTheContractSays)
{
    EXPECT_EQ(Result("RegisterPlayer/Ann/ann-client/"), "1");
    EXPECT_EQ(Result("RegisterPlayer/Bob/bob-client/", There), "2");
    EXPECT_EQ(Result("Players/").dump(), R"({"player1":{"name":"Ann","id":1},"player2":{"name":"Bob","id":2}})");
    EXPECT_EQ(Result("Deal/"), true);

    const TJSONValue document = Result("PlayerUpdate/ann/");
    EXPECT_EQ(document["playerANN"]["id"], 1);
    EXPECT_EQ(document["playerANN"]["hand"]["cards"].size(), 6u);
    EXPECT_FALSE(document["playerBOB"].contains("id"));

    const auto [sender, defender] = std::pair{game.Sender(), game.Defender()};
    const int card = game.Hand(sender).front();
    const QByteArray senderId = QByteArray::number(sender);
    const QByteArray defenderId = QByteArray::number(defender);
    EXPECT_EQ(Result("PlayCard/" + senderId + "/" + QByteArray::number(card) + "/", AddressOf(sender)), "");
    EXPECT_EQ(game.Table().size(), 1u);
    // A refusal is the reason, as text.
    const TJSONValue refused = Result("KillCard/" + defenderId + "/" + QByteArray::number(card) + "/" +
                                          QByteArray::number(card) + "/",
                                      AddressOf(defender));
    ASSERT_TRUE(refused.is_string());
    EXPECT_FALSE(refused.get<std::string>().empty());
    EXPECT_TRUE(Result("EndTurn/" + senderId + "/", AddressOf(sender)).is_string());
    EXPECT_EQ(Result("EndTurn/" + defenderId + "/", AddressOf(defender)), true);  // picks the card up

    EXPECT_EQ(Result("PlayerSetClientID/Ann/new-client/"), true);
    EXPECT_EQ(registry.Holder(1)->ClientId, "new-client");
    EXPECT_EQ(Result("NewGame/"), true);
    EXPECT_FALSE(game.HasGame());
    EXPECT_EQ(Result("DeletePlayer/BOB/"), true);
    EXPECT_FALSE(game.FindPlayer(QStringLiteral("Bob")));
    EXPECT_EQ(Body(Base + "StateChange/").dump(), R"({"result":[]})");
}

TEST_F(RestFace, MovesAndPrivateViewsBelongToTheSeatsAddress)
{
    const auto [sender, defender] = DealTwo();
    const QString stranger = AddressOf(sender) == Here ? There : Here;
    const QByteArray play = "PlayCard/" + QByteArray::number(sender) + "/" +
                            QByteArray::number(game.Hand(sender).front()) + "/";
    EXPECT_EQ(Result(play, stranger), "Not your seat");
    EXPECT_EQ(Result("EndTurn/" + QByteArray::number(sender) + "/", stranger), "Not your seat");
    EXPECT_EQ(Result("KillCard/" + QByteArray::number(sender) + "/1/2/", stranger), "Not your seat");
    EXPECT_EQ(Result("PlayCard/99/1/"), "Unknown player 99");
    EXPECT_TRUE(game.Table().empty());

    // Another machine asking for Ann's view sees what an onlooker sees.
    const TJSONValue view = Result("PlayerUpdate/Ann/", There);
    EXPECT_FALSE(view["playerANN"].contains("id"));
    EXPECT_FALSE(view["playerANN"]["hand"].contains("cards"));
    EXPECT_EQ(view["playerANN"]["hand"]["count"], 6);
    EXPECT_EQ(view, Result("PlayerUpdate/"));
}

TEST_F(RestFace, ParametersAreSegmentsDecodedOneByOne)
{
    // An encoded slash stays in the name; "+" is not a blank; the missing
    // trailing client id reads as empty text.
    EXPECT_EQ(Result("RegisterPlayer/J%C3%B6rg%2Fa+b"), "1");
    EXPECT_EQ(game.PlayerName(1), QStringLiteral("J\u00f6rg/a+b"));
    EXPECT_EQ(registry.Holder(1)->ClientId, "");
    EXPECT_EQ(Get(Base + "Players/").Body, R"({"result":[{"player1":{"name":"J\u00f6rg\/a+b","id":1}}]})");
    // Names of contexts, class and method ignore case; the slash after the method is optional.
    EXPECT_EQ(Body("/DataSnap/REST/tservermethods1/PLAYERS")["result"][0].size(), 1u);
    EXPECT_EQ(Result("PlayerUpdate//")["playerJ\u00d6RG/A+B"]["displayname"], "J\u00f6rg/a+b");
}

TEST_F(RestFace, CachedTwinsKeepTheValueForItsPath)
{
    Result("RegisterPlayer/Ann/a/");
    const TJSONValue handle = Body(Base + "Players/", Here, "application/rest");
    EXPECT_EQ(handle.dump(), R"({"result":["0/0/0"],"cacheId":0,"cmdIndex":0})");
    EXPECT_EQ(Body("/datasnap/cache/0/0/0").dump(), R"({"result":{"player1":{"name":"Ann","id":1}}})");

    // Only the newest few stay.
    for (std::size_t i = 0; i < TResultCache::Capacity; ++i)
        Body(Base + "NewGame/", Here, "text/plain, application/rest");
    EXPECT_EQ(Get("/datasnap/cache/0/0/0").Status, 500);
    EXPECT_EQ(Body("/datasnap/cache/8/0/0/").dump(), R"({"result":true})");
}

TEST_F(RestFace, BadRequestsGetAClearErrorAndChangeNothing)
{
    Result("RegisterPlayer/Ann/a/");
    const std::uint64_t revision = game.Revision();
    const struct
    {
        QByteArray path;
        int status;
        const char *error;  // part of the error text, or of the plain-text body
    } cases[] = {
        {Base + "Nope/", 500, "Unknown method Nope"},
        {"/datasnap/rest/TOther/Players/", 500, "Unknown class TOther"},
        {"/datasnap/rest/TServerMethods1/", 500, "method name"},
        {Base + "Deal/x/", 500, "Deal takes 0 parameters, not 1"},
        {Base + "PlayerUpdate/Ann/x/", 500, "takes 1 parameters"},
        {Base + "PlayCard/1/x/", 500, "ACard must be a 32-bit integer"},
        {Base + "PlayCard/1/2147483648/", 500, "ACard"},
        {Base + "PlayCard/1/%201/", 500, "ACard"},
        {Base + "PlayCard/1/0x10/", 500, "ACard"},
        {Base + "PlayCard/1/", 500, "ACard"},
        {Base + "EndTurn/", 500, "APlayerID"},
        {Base + "PlayerUpdate/%ZZ/", 500, "percent-encoding"},
        {Base + "RegisterPlayer/A.B/c/", 500, "full stop"},
        {Base + "RegisterPlayer/%0A/c/", 500, "required"},
        {Base + "RegisterPlayer/A%00B/c/", 500, "control"},
        {Base + "DeletePlayer/Nobody/", 500, "No player is named Nobody"},
        {Base + "Deal/", 500, "At least two players"},
        {"/datasnap/cache/5/0/0", 500, "No cached value"},
        {"/", 404, "Not Found"},
        {"/index.html", 404, "Not Found"},
        {"/datasnap/other/x", 404, "Not Found"},
        {Base + "Players/" + QByteArray(9000, 'a'), 414, "Request too long"},
    };
    for (const auto &c : cases) {
        const TRestReply reply = Get(c.path);
        EXPECT_EQ(reply.Status, c.status) << c.path.left(80).constData();
        EXPECT_TRUE(reply.Body.contains(c.error)) << c.path.left(80).constData() << " -> " << reply.Body.constData();
        if (reply.Status == 500) {
            EXPECT_TRUE(vantjson::Parse(reply.Body.toStdString()).contains("error"));
        }
    }
    EXPECT_EQ(face.Handle("POST", Base + "Deal/", {}, {Here}).Status, 501);
    EXPECT_EQ(game.Revision(), revision);
    EXPECT_EQ(Result("Players/").size(), 1u);
}

} // namespace
