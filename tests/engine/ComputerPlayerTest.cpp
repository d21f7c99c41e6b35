// The computer player's choices, and its wait before ending a beaten turn.
#include "server/engine/TComputerPlayer.h"
#include "tests/engine/EngineCards.h"

#include <gtest/gtest.h>

namespace {

using Kind = TGameMove::Kind;
using namespace std::chrono_literals;

TEST(ComputerCheapest, PrefersNonTrumpsThenLowNumbersThenLowIndexes)
{
    const int hearts = 2;
    const struct {
        std::vector<int> cards;
        int cheapest;
    } cases[] = {
        {{}, -1},
        {{H(2), C(9)}, C(9)},
        {{S(5), D(5), C(14)}, D(5)},
        {{H(10), H(3), H(14)}, H(3)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TComputerPlayer::Cheapest(c.cards, hearts), c.cheapest);
}

// Ann sends, Bob defends, Cid adds; trump hearts. Ann and Bob are computers.
class ComputerChoice : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char *name : {"Ann", "Bob", "Cid"})
            ids.push_back(game.AddPlayer(QString::fromLatin1(name)));
    }
    void Arrange(std::vector<std::vector<int>> hands, std::vector<TTableCard> table)
    {
        TGameArrangement a;
        a.hands = std::move(hands);
        a.table = std::move(table);
        a.deck = {S(2), H(9)};
        a.trumpCard = H(9);
        a.defenderSeat = 1;
        ASSERT_EQ(game.Arrange(a), "");
    }
    TVantGame game;
    std::vector<int> ids;
    TComputerPlayer ann{1, 7, 1000ms};
    TComputerPlayer bob{2, 7, 1000ms};
};

TEST_F(ComputerChoice, MovesLikeTheStrategySays)
{
    const struct {
        const char *name;
        std::vector<int> annHand, bobHand;
        std::vector<TTableCard> table;
        std::optional<TGameMove> annMove, bobMove;
    } cases[] = {
        {"opens cheapest non-trump", {H(2), C(9), S(5), D(5)}, {C(3)}, {}, TGameMove{Kind::Play, D(5)}, std::nullopt},
        {"opens lowest trump when only trumps", {H(12), H(4)}, {C(3)}, {}, TGameMove{Kind::Play, H(4)}, std::nullopt},
        {"beats with the cheapest that beats", {D(2)}, {C(14), C(8), H(2), C(5)}, {{C(7), -1}}, std::nullopt,
         TGameMove{Kind::Kill, C(8), C(7)}},
        {"beats the first unbeaten with a trump when it must", {D(2)}, {H(5), H(2), S(3)},
         {{C(7), C(8)}, {D(7), -1}}, std::nullopt, TGameMove{Kind::Kill, H(2), D(7)}},
        {"picks up when nothing beats", {D(2)}, {C(5), S(9)}, {{C(7), -1}}, std::nullopt, TGameMove{Kind::EndTurn}},
        {"ends a beaten turn", {D(2)}, {S(9)}, {{C(7), C(8)}}, std::nullopt, TGameMove{Kind::EndTurn}},
        {"never adds a trump", {H(7)}, {S(9)}, {{C(7), C(8)}}, std::nullopt, TGameMove{Kind::EndTurn}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Arrange({c.annHand, c.bobHand, {}}, c.table);
        EXPECT_EQ(ann.Choose(game), c.annMove);
        EXPECT_EQ(bob.Choose(game), c.bobMove);
    }
}

TEST_F(ComputerChoice, AddsAMatchingCardSometimesAndTossesOncePerPosition)
{
    int added = 0;
    for (std::uint64_t seed = 0; seed < 40; ++seed) {
        Arrange({{D(7), C(2)}, {S(9)}, {}}, {{C(7), C(8)}});
        TComputerPlayer sender(ids[0], seed);
        const std::optional<TGameMove> first = sender.Choose(game);
        // The same position gives the same answer however often it is asked.
        for (int again = 0; again < 5; ++again)
            ASSERT_EQ(sender.Choose(game), first);
        if (first) {
            EXPECT_EQ(*first, (TGameMove{Kind::Play, D(7)}));
            ++added;
        }
    }
    EXPECT_GT(added, 5);
    EXPECT_LT(added, 35);
}

TEST_F(ComputerChoice, WaitsTheDelayWithoutChangeBeforeEndingABeatenTurn)
{
    Arrange({{D(2), D(10)}, {S(9), C(10), H(3)}, {}}, {{C(8), -1}});
    const TComputerPlayer::Clock::time_point start{};
    ASSERT_TRUE(bob.Act(game, start)); // beats at once
    EXPECT_FALSE(bob.Act(game, start));
    EXPECT_FALSE(bob.Act(game, start + 900ms));
    // Ann adds in time: Bob beats it at once, and the wait starts again.
    ASSERT_EQ(game.PlayCard(ids[0], D(10)), "");
    ASSERT_TRUE(bob.Act(game, start + 1000ms));
    EXPECT_EQ(game.Table().back(), (TTableCard{D(10), H(3)}));
    EXPECT_FALSE(bob.Act(game, start + 1000ms));
    EXPECT_FALSE(bob.Act(game, start + 1999ms));
    EXPECT_TRUE(bob.Act(game, start + 2000ms));
    EXPECT_TRUE(game.Table().empty());
    EXPECT_EQ(game.Sender(), ids[1]);
}

} // namespace
