// The seeded shuffle and the deal.
#include "server/engine/DeckShuffle.h"
#include "server/engine/TVantGame.h"
#include "tests/engine/EngineCards.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// Whole decks for two seeds, worked out independently of this code (from the
// published MT19937-64 algorithm): a change of generator use, sampling or
// swap order shows here, whatever the standard library.
TEST(DeckShuffle, MatchesGoldenDecks)
{
    const struct {
        std::uint64_t seed;
        std::vector<int> deck;
    } cases[] = {
        {1, {5, 1, 44, 43, 21, 49, 20, 22, 42, 4, 48, 39, 31, 7, 6, 41, 25, 23, 27, 40, 34, 9, 18, 45, 2, 19,
             46, 3, 14, 8, 51, 50, 11, 17, 10, 13, 28, 16, 29, 37, 33, 26, 35, 36, 0, 38, 47, 24, 12, 30, 15, 32}},
        {20261211, {12, 35, 39, 46, 6, 26, 10, 22, 28, 15, 4, 38, 13, 45, 18, 48, 29, 23, 41, 2, 44, 30, 16, 21, 47, 17,
                    31, 19, 24, 43, 20, 9, 5, 7, 37, 40, 14, 3, 1, 32, 34, 50, 8, 51, 33, 42, 36, 0, 11, 27, 25, 49}},
    };
    for (const auto &c : cases) {
        std::mt19937_64 random(c.seed);
        EXPECT_EQ(ShuffledDeck(random), c.deck) << "seed " << c.seed;
    }
}

TEST(DeckShuffle, UniformBelowCoversTheRangeAndStaysInIt)
{
    std::mt19937_64 random(7);
    for (std::uint64_t bound : {1u, 2u, 3u, 52u}) {
        std::set<std::uint64_t> seen;
        for (int i = 0; i < 2000; ++i) {
            const std::uint64_t value = UniformBelow(random, bound);
            ASSERT_LT(value, bound);
            seen.insert(value);
        }
        EXPECT_EQ(seen.size(), bound);
    }
}

class DealTest : public ::testing::Test
{
protected:
    void Register(int count)
    {
        for (int i = 1; i <= count; ++i)
            ids.push_back(game.AddPlayer(QStringLiteral("P%1").arg(i)));
    }
    TVantGame game{42};
    std::vector<int> ids;
};

TEST_F(DealTest, RefusesFewerThanTwoPlayersAndKeepsNoGame)
{
    EXPECT_EQ(game.Deal(), "At least two players are needed to deal");
    Register(1);
    EXPECT_EQ(game.Deal(), "At least two players are needed to deal");
    EXPECT_FALSE(game.HasGame());
}

TEST_F(DealTest, DealsSixEachToTheFirstSixAndTurnsUpTheTrumpAtTheBottom)
{
    Register(7);
    ASSERT_EQ(game.Deal(), "");
    EXPECT_EQ(game.Seats(), std::vector<int>(ids.begin(), ids.begin() + 6));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(game.Hand(ids[i]).size(), 6u);
    EXPECT_TRUE(game.Hand(ids[6]).empty());
    EXPECT_EQ(game.Mode(ids[6]), TPlayMode::Other);
    EXPECT_EQ(game.Deck().size(), 52u - 36u);
    EXPECT_EQ(game.Deck().back(), game.TrumpCard());
    EXPECT_TRUE(game.Discard().empty());
    EXPECT_TRUE(EveryCardOnce(game));
}

TEST_F(DealTest, TheLowestTrumpSendsFirstToTheNextSeat)
{
    // Two hands of six hold no trump now and then: the first seat sends.
    Register(2);
    int withoutTrump = 0;
    for (int round = 0; round < 300; ++round) {
        ASSERT_EQ(game.Deal(), "");
        int expected = ids[0];
        int lowest = 52;
        for (int id : ids)
            for (int card : game.Hand(id))
                if (TVantGame::SuitOf(card) == game.TrumpSuit() && card < lowest) {
                    lowest = card;
                    expected = id;
                }
        withoutTrump += lowest == 52;
        ASSERT_EQ(game.Sender(), expected);
        const auto seat = std::find(ids.begin(), ids.end(), expected) - ids.begin();
        ASSERT_EQ(game.Defender(), ids[(seat + 1) % 2]);
        ASSERT_EQ(game.CurrentPlayer(), expected);
        ASSERT_EQ(game.TableLimit(), 6);
    }
    EXPECT_GT(withoutTrump, 0);
}

TEST_F(DealTest, SameSeedSameGameAndRedealAbandonsTheRunningGame)
{
    Register(3);
    TVantGame twin{42};
    for (int i = 1; i <= 3; ++i)
        twin.AddPlayer(QStringLiteral("P%1").arg(i));
    ASSERT_EQ(game.Deal(), "");
    ASSERT_EQ(twin.Deal(), "");
    EXPECT_EQ(game.Document("P1"), twin.Document("P1"));

    const std::vector<int> firstHand = game.Hand(game.Sender());
    ASSERT_EQ(game.PlayCard(game.Sender(), firstHand.front()), "");
    ASSERT_EQ(game.Deal(), "");
    EXPECT_TRUE(game.Table().empty());
    EXPECT_TRUE(EveryCardOnce(game));
    EXPECT_NE(game.Document("P1"), twin.Document("P1"));
}

} // namespace
