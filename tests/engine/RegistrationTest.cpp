// Registering, finding and removing players, also in the middle of a game.
#include "server/engine/TVantGame.h"
#include "tests/engine/EngineCards.h"

#include <gtest/gtest.h>

namespace {

TEST(Registration, TrimsNamesRefusesEmptyAndCaseTwinsAndNeverReusesIds)
{
    TVantGame game;
    EXPECT_EQ(game.AddPlayer(QStringLiteral("  Ann\t\x01")), 1);
    EXPECT_EQ(game.PlayerName(1), "Ann");
    const struct {
        QString name;
        int id;
    } cases[] = {
        {QString(), 0},
        {QStringLiteral(" \t\n"), 0},
        {QStringLiteral("ANN"), 0},
        {QStringLiteral("ann "), 0},
        {QStringLiteral("Bob"), 2},
        {QStringLiteral("Zoë"), 3},
        {QStringLiteral("ZOË"), 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(game.AddPlayer(c.name), c.id) << c.name.toStdString();

    EXPECT_EQ(game.FindPlayer(QStringLiteral(" aNN ")), 1);
    EXPECT_EQ(game.FindPlayer(QStringLiteral("zoë")), 3);
    EXPECT_EQ(game.FindPlayer(QStringLiteral("Cid")), std::nullopt);

    EXPECT_TRUE(game.RemovePlayer(2));
    EXPECT_FALSE(game.RemovePlayer(2));
    EXPECT_EQ(game.AddPlayer(QStringLiteral("Bob")), 4);
    ASSERT_EQ(game.Players().size(), 3u);
    EXPECT_EQ(game.Players()[2].name, "Bob");
}

TEST(Registration, EveryChangeMovesTheRevisionAndCallsTheHandlerRefusalsDoNot)
{
    TVantGame game;
    int calls = 0;
    game.SetChangeHandler([&calls] { ++calls; });
    game.AddPlayer(QStringLiteral("Ann"));
    game.AddPlayer(QStringLiteral("Bob"));
    game.AddPlayer(QStringLiteral("ann"));
    game.RemovePlayer(99);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(game.Revision(), 2u);
    game.Deal();
    game.PlayCard(game.Defender(), game.Hand(game.Defender()).front());
    game.EndTurn(game.Sender());
    game.NewGame();
    EXPECT_EQ(calls, 4);
    EXPECT_EQ(game.Revision(), 4u);
}

// Three seats: Ann sends, Bob defends, Cid is an other player; trump hearts.
class RemovalTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char *name : {"Ann", "Bob", "Cid"})
            ids.push_back(game.AddPlayer(QString::fromLatin1(name)));
        TGameArrangement a;
        a.hands = {{C(9), D(3), S(5)}, {C(10), D(12), H(4)}, {S(9), D(9), C(3), C(4)}};
        a.deck = {S(2), S(3), S(4), H(6)};
        a.trumpCard = H(6);
        a.table = {{C(7), C(8)}, {D(7), -1}};
        ASSERT_EQ(game.Arrange(a), "");
    }
    TVantGame game;
    std::vector<int> ids;
};

TEST_F(RemovalTest, LeavingOtherPlayerDiscardsItsHandAndTheExchangeGoesOn)
{
    ASSERT_TRUE(game.RemovePlayer(ids[2]));
    EXPECT_EQ(game.Seats(), (std::vector<int>{ids[0], ids[1]}));
    EXPECT_EQ(game.Table().size(), 2u);
    EXPECT_EQ(game.Sender(), ids[0]);
    EXPECT_EQ(game.Defender(), ids[1]);
    EXPECT_TRUE(EveryCardOnce(game));
    EXPECT_EQ(game.Discard().size(), 35u + 4u); // Cid's four cards joined the 35 unplaced ones
}

TEST_F(RemovalTest, LeavingDefenderCallsOffTheExchangeAndTheSenderSendsAgain)
{
    const std::size_t discardBefore = game.Discard().size();
    ASSERT_TRUE(game.RemovePlayer(ids[1]));
    EXPECT_TRUE(game.Table().empty());
    EXPECT_EQ(game.Discard().size(), discardBefore + 3 + 3);
    EXPECT_EQ(game.Sender(), ids[0]);
    EXPECT_EQ(game.Defender(), ids[2]);
    // The sender drew first: three cards from the top.
    EXPECT_EQ(game.Hand(ids[0]), (std::vector<int>{C(9), D(3), S(5), S(2), S(3), S(4)}));
    EXPECT_EQ(game.Hand(ids[2]), (std::vector<int>{S(9), D(9), C(3), C(4), H(6)}));
    EXPECT_TRUE(EveryCardOnce(game));
}

TEST_F(RemovalTest, LeavingSenderPassesTheLeadToTheSeatAfterIt)
{
    ASSERT_TRUE(game.RemovePlayer(ids[0]));
    EXPECT_TRUE(game.Table().empty());
    EXPECT_EQ(game.Sender(), ids[1]);
    EXPECT_EQ(game.Defender(), ids[2]);
    EXPECT_EQ(game.Mode(ids[1]), TPlayMode::Sending);
    EXPECT_TRUE(EveryCardOnce(game));
}

TEST_F(RemovalTest, GameOfTwoEndsWhenOneLeaves)
{
    ASSERT_TRUE(game.RemovePlayer(ids[2]));
    ASSERT_TRUE(game.RemovePlayer(ids[1]));
    EXPECT_TRUE(game.IsOver());
    EXPECT_EQ(game.Loser(), "Nobody lost: too few players left");
    EXPECT_EQ(game.PlayCard(ids[0], C(9)), "The game is over");
    EXPECT_TRUE(EveryCardOnce(game));
    // A registered spectator leaving changes nothing of the game.
    const int dan = game.AddPlayer(QStringLiteral("Dan"));
    EXPECT_TRUE(game.RemovePlayer(dan));
    EXPECT_TRUE(EveryCardOnce(game));
}

} // namespace
