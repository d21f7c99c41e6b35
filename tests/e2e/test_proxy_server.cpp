// The client's method proxy against the real vant-server: every method
// round-trips with the answers the client reads, and a proxy that found no
// server works as soon as one listens.
#include "E2eFixture.h"

#include "net/ERestError.h"
#include "net/TDSRestCachedJSONValue.h"
#include "platform/TJSONValue.h"

#include <gtest/gtest.h>

namespace {

QString Text(const TJSONValuePtr &AValue)
{
    return AValue ? vantjson::ValueText(*AValue) : QStringLiteral("<no value>");
}

QString Member(const TJSONValuePtr &ADocument, const char *APath)
{
    const TJSONValue *value = ADocument ? vantjson::FindValue(*ADocument, QLatin1String(APath)) : nullptr;
    return value ? vantjson::ValueText(*value) : QStringLiteral("<missing>");
}

// The names of the player members of a Players result, in order.
QStringList Names(const TJSONValue &APlayers)
{
    QStringList names;
    for (auto it = APlayers.begin(); it != APlayers.end(); ++it)
        if (QString::fromStdString(it.key()).startsWith(QLatin1String("player")))
            names << vantjson::ValueText(it.value().at("name"));
    return names;
}

} // namespace

TEST(ProxyE2eTest, EveryMethodRoundTripsAgainstTheServer)
{
    TVantServerProcess server;
    QString error;
    ASSERT_TRUE(server.Start(error)) << error.toStdString();
    TBareClient client(server.Ports());
    TServerMethods1Client &proxy = client.Server();

    const QString annId = Text(proxy.RegisterPlayer(QStringLiteral("Ann"), QStringLiteral("client-ann")));
    const QString bobId = Text(proxy.RegisterPlayer(QStringLiteral(" Bob "), QStringLiteral("client-bob")));
    ASSERT_GT(annId.toInt(), 0) << annId.toStdString();
    ASSERT_GT(bobId.toInt(), 0) << bobId.toStdString();
    EXPECT_NE(annId, bobId);

    const TJSONValuePtr players = proxy.Players();
    ASSERT_TRUE(players && players->is_object());
    EXPECT_EQ(Names(*players), (QStringList{"Ann", "Bob"})) << "names trimmed, in seat order";
    EXPECT_EQ(Text(proxy.PlayerSetClientID(QStringLiteral("Ann"), QStringLiteral("client-ann-2"))), "true");

    // Before a deal: Ann's own member, no cards, the text over the table.
    TJSONValuePtr doc = proxy.PlayerUpdate(QStringLiteral("ann"));
    EXPECT_EQ(Member(doc, "playerANN.id"), annId);
    EXPECT_EQ(Member(doc, "playerBOB.displayname"), "Bob");
    EXPECT_EQ(Member(doc, "playerBOB.id"), "<missing>") << "only the asker's member has an id";

    EXPECT_EQ(Text(proxy.Deal()), "true");
    doc = proxy.PlayerUpdate(QStringLiteral("Ann"));
    ASSERT_TRUE(doc);
    EXPECT_EQ(Member(doc, "playerANN.hand.count"), "6");
    EXPECT_EQ(vantjson::FindValue(*doc, QStringLiteral("playerANN.hand.cards"))->size(), 6u);
    EXPECT_EQ(Member(doc, "loser"), "<missing>");

    // Moves answer a reason the player reads when refused (here: a card
    // nobody holds twice, and ending a turn with an empty table).
    const int annCard = vantjson::ReadInteger(doc->at("playerANN").at("hand").at("cards").at(0).at("card"));
    const int stranger = (annCard + 26) % 52;
    EXPECT_FALSE(Text(proxy.KillCard(annId.toInt(), annCard, stranger)).isEmpty());
    EXPECT_FALSE(Text(proxy.EndTurn(annId.toInt())).isEmpty());
    EXPECT_NE(Text(proxy.EndTurn(annId.toInt())), "true");
    // Opening is accepted (empty text) exactly when Ann sends.
    const bool annSends = Member(doc, "playerANN.mode") == "0";
    const QString played = Text(proxy.PlayCard(annId.toInt(), annCard));
    EXPECT_EQ(played.isEmpty(), annSends) << played.toStdString();

    proxy.StateChange();

    // A cached twin keeps the value on the server and fetches it by path.
    const IDSRestCachedJSONValuePtr cached = proxy.Players_Cache();
    ASSERT_TRUE(cached);
    EXPECT_FALSE(cached->ItemPath().isEmpty());
    const TJSONValuePtr fromCache = cached->GetValue();
    ASSERT_TRUE(fromCache && fromCache->is_object());
    EXPECT_EQ(Names(*fromCache), (QStringList{"Ann", "Bob"}));

    EXPECT_EQ(Text(proxy.NewGame()), "true");
    EXPECT_EQ(Member(proxy.PlayerUpdate(QStringLiteral("Ann")), "playerANN.hand.count"), "0");

    proxy.DeletePlayer(QStringLiteral("BOB"));
    EXPECT_EQ(Names(*proxy.Players()), QStringList{"Ann"});

    // A refusal of the server arrives as an exception carrying its message.
    try {
        proxy.RegisterPlayer(QStringLiteral("a.b"), QStringLiteral("client-x"));
        ADD_FAILURE() << "a name with a full stop was accepted";
    } catch (const ERestError &e) {
        EXPECT_FALSE(QString::fromUtf8(e.what()).isEmpty());
    }
}

TEST(ProxyE2eTest, NoServerFailsAndTheNextCallWorksOnceItIsUp)
{
    TVantServerProcess server;
    TBareClient client(server.Ports());
    EXPECT_THROW(client.Server().Players(), ERestError);

    QString error;
    ASSERT_TRUE(server.Start(error)) << error.toStdString();
    const TJSONValuePtr players = client.Server().Players();
    ASSERT_TRUE(players);
    EXPECT_TRUE(players->is_object());
}
