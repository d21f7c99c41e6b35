// Each player's game state document, member for member, against expected JSON.
#include "server/engine/TVantGame.h"
#include "tests/engine/EngineCards.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

using json = nlohmann::ordered_json;

// Compares texts, so that member order counts and a failure shows both.
void ExpectDocument(const TVantGame &game, const QString &name, const char *expected)
{
    EXPECT_EQ(game.Document(name).dump(), json::parse(expected).dump()) << "document for " << name.toStdString();
}

TEST(Document, BeforeAnyDealEveryRegisteredPlayerGetsAnEmptyTableAndHowToBegin)
{
    TVantGame game;
    game.AddPlayer(QStringLiteral("Ann"));
    game.AddPlayer(QStringLiteral("Bob"));
    ExpectDocument(game, QStringLiteral("ann"), R"({
        "playerANN": {"id": 1, "displayname": "Ann", "mode": -1, "hand": {"count": 0, "cards": []}},
        "playerBOB": {"displayname": "Bob", "hand": {"count": 0}},
        "inplay": {"cards": []}, "cardsremaining": 0, "cardsdead": 0,
        "loser": "Press Deal to start a game"})");
    // A name nobody registered (the client asks with an empty one at first)
    // finds no member of its own.
    ExpectDocument(game, QString(), R"({
        "playerANN": {"displayname": "Ann", "hand": {"count": 0}},
        "playerBOB": {"displayname": "Bob", "hand": {"count": 0}},
        "inplay": {"cards": []}, "cardsremaining": 0, "cardsdead": 0,
        "loser": "Press Deal to start a game"})");
}

class DocumentInGame : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Non-ASCII names: their members use the locale's upper case.
        for (const char *name : {"Ærne", "zoë", "Straße"})
            game.AddPlayer(QString::fromUtf8(name));
        TGameArrangement a;
        a.hands = {{C(2), S(14)}, {H(3), D(5), C(9)}};
        a.deck = {S(2), H(9)};
        a.trumpCard = H(9);
        a.table = {{C(7), C(8)}, {D(7), -1}};
        ASSERT_EQ(game.Arrange(a), "");
    }
    TVantGame game;
};

TEST_F(DocumentInGame, ShowsOnlyTheAskersCardsAndTheSpectatorWatches)
{
    ExpectDocument(game, QString::fromUtf8("ZOË"), R"({
        "playerÆRNE": {"displayname": "Ærne", "hand": {"count": 2}},
        "playerZOË": {"id": 2, "displayname": "zoë", "mode": 1,
                      "hand": {"count": 3, "cards": [{"card": 27}, {"card": 16}, {"card": 7}]}},
        "playerSTRASSE": {"displayname": "Straße", "hand": {"count": 0}},
        "currentplayer": "zoë",
        "inplay": {"cards": [{"card": 5, "killingcard": 6}, {"card": 18, "killingcard": -1}]},
        "cardsremaining": 2, "cardsdead": 42, "trumpcard": 33})");
    ExpectDocument(game, QString::fromUtf8("straße"), R"({
        "playerÆRNE": {"displayname": "Ærne", "hand": {"count": 2}},
        "playerZOË": {"displayname": "zoë", "hand": {"count": 3}},
        "playerSTRASSE": {"id": 3, "displayname": "Straße", "mode": 2, "hand": {"count": 0, "cards": []}},
        "currentplayer": "zoë",
        "inplay": {"cards": [{"card": 5, "killingcard": 6}, {"card": 18, "killingcard": -1}]},
        "cardsremaining": 2, "cardsdead": 42, "trumpcard": 33})");
}

TEST_F(DocumentInGame, CarriesTheLoserOnceTheGameIsOver)
{
    const int zoe = *game.FindPlayer(QString::fromUtf8("Zoë"));
    ASSERT_TRUE(game.EndTurn(zoe)); // picks up; the deck refills the sender
    ASSERT_TRUE(game.RemovePlayer(*game.FindPlayer(QString::fromUtf8("Ærne"))));
    ExpectDocument(game, QString::fromUtf8("Straße"), R"({
        "playerZOË": {"displayname": "zoë", "hand": {"count": 6}},
        "playerSTRASSE": {"id": 3, "displayname": "Straße", "mode": 2, "hand": {"count": 0, "cards": []}},
        "inplay": {"cards": []}, "cardsremaining": 0, "cardsdead": 46, "trumpcard": 33,
        "loser": "zoë lost the game"})");
}

TEST(DocumentNames, MemberNamesFollowTheLocalesCasing)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    TVantGame game;
    game.AddPlayer(QStringLiteral("ilke"));
    const bool hasMember = game.Document(QStringLiteral("ILKE")).contains(QString::fromUtf8("playerİLKE").toStdString());
    QLocale::setDefault(before);
    EXPECT_TRUE(hasMember);
}

} // namespace
