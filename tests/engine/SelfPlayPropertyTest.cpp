// Thousands of seeded games between computer players. After every move the
// 52 cards are each in exactly one place, the document's counts agree, the
// roles are sound, and random probes (mostly illegal moves, some legal) are
// accepted exactly when the rules allow them and change nothing when refused.
#include "server/engine/SelfPlay.h"
#include "server/engine/DeckShuffle.h"
#include "server/engine/TComputerPlayer.h"
#include "tests/engine/EngineCards.h"

#include <gtest/gtest.h>

namespace {

using Kind = TGameMove::Kind;

bool Holds(const TVantGame &game, int player, int card)
{
    const std::vector<int> hand = game.Hand(player);
    return std::find(hand.begin(), hand.end(), card) != hand.end();
}

// The rules, written out once more independently of the engine.
bool IsLegal(const TVantGame &game, int player, const TGameMove &move)
{
    const std::vector<TTableCard> &table = game.Table();
    if (!game.IsRunning())
        return false;
    switch (move.kind) {
    case Kind::Play:
        if (!Holds(game, player, move.card) || player == game.Defender())
            return false;
        if (table.empty())
            return player == game.Sender();
        return std::any_of(table.begin(), table.end(), [&](const TTableCard &p) {
                   return TVantGame::NumberOf(p.card) == TVantGame::NumberOf(move.card)
                       || (p.killingCard >= 0 && TVantGame::NumberOf(p.killingCard) == TVantGame::NumberOf(move.card));
               })
            && static_cast<int>(table.size()) < game.TableLimit();
    case Kind::Kill:
        return player == game.Defender() && Holds(game, player, move.card)
            && std::any_of(table.begin(), table.end(), [&](const TTableCard &p) {
                   return p.card == move.target && p.killingCard < 0
                       && TVantGame::Beats(move.card, move.target, game.TrumpSuit());
               });
    case Kind::EndTurn:
        return player == game.Defender() && !table.empty();
    }
    return false;
}

class Checker
{
public:
    explicit Checker(std::uint64_t seed) : FRandom(seed) {}

    void operator()(TVantGame &game)
    {
        ++FSteps;
        ASSERT_TRUE(EveryCardOnce(game)) << "step " << FSteps;
        CheckCountsAndRoles(game);
        for (int probe = 0; probe < 2; ++probe)
            Probe(game);
        if (FSteps == FLeaveAt)
            CheckLeaving(game);
    }
    void LeaveAt(int step) { FLeaveAt = step; }

private:
    void CheckCountsAndRoles(const TVantGame &game)
    {
        const nlohmann::ordered_json doc = game.Document(game.Players().front().name);
        std::size_t inHands = 0;
        for (const TRegisteredPlayer &p : game.Players())
            inHands += doc["player" + TVantGame::NameKey(p.name).toStdString()]["hand"]["count"].get<std::size_t>();
        std::size_t onTable = 0;
        for (const auto &played : doc["inplay"]["cards"])
            onTable += played["killingcard"].get<int>() >= 0 ? 2 : 1;
        ASSERT_EQ(inHands + onTable + doc["cardsremaining"].get<std::size_t>() + doc["cardsdead"].get<std::size_t>(),
                  52u);
        ASSERT_EQ(doc.contains("loser"), game.IsOver());
        if (!game.IsRunning())
            return;
        ASSERT_NE(game.Sender(), game.Defender());
        ASSERT_EQ(game.Mode(game.Sender()), TPlayMode::Sending);
        ASSERT_EQ(game.Mode(game.Defender()), TPlayMode::Defending);
        ASSERT_TRUE(game.CurrentPlayer() == game.Sender() || game.CurrentPlayer() == game.Defender());
        ASSERT_LE(static_cast<int>(game.Table().size()), game.TableLimit());
        ASSERT_LE(game.TableLimit(), 6);
    }

    int RandomCard() { return static_cast<int>(UniformBelow(FRandom, 54)) - 1; }

    // Tries a random move on a copy of the game.
    void Probe(const TVantGame &game)
    {
        const std::vector<TRegisteredPlayer> &players = game.Players();
        const int player = players[UniformBelow(FRandom, players.size())].id;
        const std::vector<int> hand = game.Hand(player);
        const std::vector<TTableCard> &table = game.Table();
        TGameMove move{static_cast<Kind>(UniformBelow(FRandom, 3))};
        // Half the probes use a card the player holds, so that legal moves
        // and the subtler refusals come up too.
        move.card = !hand.empty() && UniformBelow(FRandom, 2) ? hand[UniformBelow(FRandom, hand.size())] : RandomCard();
        move.target = !table.empty() && UniformBelow(FRandom, 2) ? table[UniformBelow(FRandom, table.size())].card
                                                                 : RandomCard();
        TVantGame copy = game;
        const QString answer = TComputerPlayer::Apply(copy, player, move);
        const bool legal = IsLegal(game, player, move);
        ASSERT_EQ(answer.isEmpty(), legal) << "kind " << int(move.kind) << " card " << move.card << " target "
                                           << move.target << ": " << answer.toStdString();
        if (legal) {
            ASSERT_TRUE(EveryCardOnce(copy));
            ASSERT_EQ(copy.Revision(), game.Revision() + 1);
        } else {
            ASSERT_EQ(copy.Revision(), game.Revision());
            ASSERT_EQ(copy.Table(), game.Table());
            ASSERT_EQ(copy.Hand(player), hand);
        }
    }

    // A player leaving at any moment leaves a consistent, playable game.
    void CheckLeaving(const TVantGame &game)
    {
        TVantGame copy = game;
        const std::vector<int> seats = copy.Seats();
        ASSERT_TRUE(copy.RemovePlayer(seats[UniformBelow(FRandom, seats.size())]));
        ASSERT_TRUE(EveryCardOnce(copy));
        if (!copy.IsRunning())
            return;
        ASSERT_NE(copy.Sender(), copy.Defender());
        // A fresh exchange (the one left was called off) starts between two
        // players holding cards.
        if (copy.Table().empty()) {
            ASSERT_FALSE(copy.Hand(copy.Sender()).empty());
            ASSERT_FALSE(copy.Hand(copy.Defender()).empty());
        }
    }

    std::mt19937_64 FRandom;
    int FSteps = 0;
    int FLeaveAt = 0;
};

TEST(SelfPlayProperty, ThousandsOfGamesKeepEveryCardOnceAndEndWithALoserOrADraw)
{
    constexpr int gamesPerSize = 600;
    constexpr int maxMoves = 1000;
    int draws = 0;
    for (int players = 2; players <= 6; ++players)
        for (std::uint64_t seed = 1; seed <= gamesPerSize; ++seed) {
            Checker checker(seed);
            checker.LeaveAt(static_cast<int>(seed % 60) + 1);
            const TSelfPlayResult result = PlaySelfGame(seed, players, maxMoves, std::ref(checker));
            ASSERT_TRUE(result.over) << players << " players, seed " << seed << ", " << result.moves << " moves";
            ASSERT_FALSE(HasFailure()) << players << " players, seed " << seed;
            ASSERT_TRUE(result.loser.endsWith(" lost the game") || result.loser == "Nobody lost: a draw")
                << result.loser.toStdString();
            draws += result.loser == "Nobody lost: a draw";
        }
    // Both endings occur among so many games.
    EXPECT_GT(draws, 0);
}

TEST(SelfPlayProperty, TheSameSeedPlaysTheSameGame)
{
    const TSelfPlayResult first = PlaySelfGame(99, 4, 1000);
    const TSelfPlayResult second = PlaySelfGame(99, 4, 1000);
    EXPECT_EQ(first.moves, second.moves);
    EXPECT_EQ(first.loser, second.loser);
}

} // namespace
