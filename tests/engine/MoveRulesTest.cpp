// Every move rule and every refusal, as a table of positions: seats Ann,
// Bob and Cid (plus Dan, registered but not dealt in), trump hearts; Ann
// sends, Bob defends, Cid is an other player unless a case says otherwise.
#include "server/engine/TComputerPlayer.h"
#include "server/engine/TVantGame.h"
#include "tests/engine/EngineCards.h"

#include <gtest/gtest.h>

namespace {

enum Seat { Ann, Bob, Cid, Dan };

using Kind = TGameMove::Kind;

struct TMoveCase
{
    const char *name;
    std::vector<TTableCard> table;
    Seat mover;
    TGameMove move;
    const char *answer;              // empty: accepted
    std::vector<TTableCard> after{}; // the table after an accepted move
    int defenderStartCount = -1;
};

const TMoveCase moveCases[] = {
    // Opening
    {"sender opens with any card", {}, Ann, {Kind::Play, C(9)}, "", {{C(9), -1}}},
    {"sender may open with a trump", {}, Ann, {Kind::Play, H(3)}, "", {{H(3), -1}}},
    {"other cannot open", {}, Cid, {Kind::Play, D(9)}, "It is not your turn"},
    {"defender cannot open", {}, Bob, {Kind::Play, C(8)}, "It is not your turn"},
    {"card not held", {}, Ann, {Kind::Play, S(2)}, "You do not hold that card"},
    {"not a card", {}, Ann, {Kind::Play, 52}, "You do not hold that card"},
    {"negative card", {}, Ann, {Kind::Play, -1}, "You do not hold that card"},
    {"player not dealt in", {}, Dan, {Kind::Play, C(9)}, "You are not playing in this game"},
    // Adding
    {"other adds the number of a played card", {{C(7), C(8)}}, Cid, {Kind::Play, S(7)}, "",
     {{C(7), C(8)}, {S(7), -1}}},
    {"sender adds the number of a beating card", {{C(7), C(8)}}, Ann, {Kind::Play, D(8)}, "",
     {{C(7), C(8)}, {D(8), -1}}},
    {"adding to an unbeaten card", {{C(7), -1}}, Ann, {Kind::Play, D(7)}, "", {{C(7), -1}, {D(7), -1}}},
    {"other number refused", {{C(7), C(8)}}, Ann, {Kind::Play, C(9)},
     "Only cards of a value already on the table can be added"},
    {"defender cannot add", {{C(7), -1}}, Bob, {Kind::Play, C(8)}, "The defender cannot add cards"},
    {"no more than the defender held", {{C(7), -1}}, Ann, {Kind::Play, D(7)},
     "The defender cannot take more cards", {}, 1},
    {"never more than six", {{C(7), C(8)}, {D(7), -1}, {S(7), -1}, {C(4), -1}, {D(4), -1}, {S(4), -1}}, Ann,
     {Kind::Play, D(8)}, "The defender cannot take more cards", {}, 9},
    // Beating
    {"higher card of the suit beats", {{C(7), -1}}, Bob, {Kind::Kill, C(10), C(7)}, "", {{C(7), C(10)}}},
    {"trump beats another suit", {{C(7), -1}}, Bob, {Kind::Kill, H(2), C(7)}, "", {{C(7), H(2)}}},
    {"higher trump beats a trump", {{H(3), -1}}, Bob, {Kind::Kill, H(5), H(3)}, "", {{H(3), H(5)}}},
    {"the second card beaten with a trump", {{C(7), C(8)}, {D(7), -1}}, Bob, {Kind::Kill, H(2), D(7)}, "",
     {{C(7), C(8)}, {D(7), H(2)}}},
    {"lower card of the suit", {{C(7), -1}}, Bob, {Kind::Kill, C(5), C(7)}, "That card does not beat it"},
    {"equal number of another suit", {{D(10), -1}}, Bob, {Kind::Kill, C(10), D(10)}, "That card does not beat it"},
    {"lower trump", {{H(3), -1}}, Bob, {Kind::Kill, H(2), H(3)}, "That card does not beat it"},
    {"non-trump against a trump", {{H(3), -1}}, Bob, {Kind::Kill, S(14), H(3)}, "That card does not beat it"},
    {"only the defender beats", {{C(7), -1}}, Cid, {Kind::Kill, C(2), C(7)}, "Only the defender can beat cards"},
    {"sender cannot beat", {{C(7), -1}}, Ann, {Kind::Kill, C(9), C(7)}, "Only the defender can beat cards"},
    {"beating card not held", {{C(7), -1}}, Bob, {Kind::Kill, C(12), C(7)}, "You do not hold that card"},
    {"target not on the table", {{C(7), -1}}, Bob, {Kind::Kill, C(10), C(6)}, "That card is not on the table"},
    {"a beating card cannot be beaten", {{C(7), C(8)}}, Bob, {Kind::Kill, C(10), C(8)},
     "That card is not on the table"},
    {"each card is beaten once", {{C(7), C(8)}}, Bob, {Kind::Kill, C(10), C(7)}, "That card is already beaten"},
    // Ending
    {"only the defender ends", {{C(7), C(8)}}, Ann, {Kind::EndTurn}, "Only the defender can end the turn"},
    {"other cannot end", {{C(7), -1}}, Cid, {Kind::EndTurn}, "Only the defender can end the turn"},
    {"empty table cannot end", {}, Bob, {Kind::EndTurn}, "There are no cards on the table"},
};

class MoveRules : public ::testing::TestWithParam<TMoveCase>
{
protected:
    void SetUp() override
    {
        for (const char *name : {"Ann", "Bob", "Cid", "Dan"})
            ids.push_back(game.AddPlayer(QString::fromLatin1(name)));
    }
    // Hands without the cards the case put on the table.
    void Arrange(const TMoveCase &c)
    {
        std::vector<std::vector<int>> hands = {
            {C(9), D(7), D(8), H(3), C(4)},
            {C(8), C(10), C(5), H(2), H(5), S(14)},
            {D(9), S(7), C(2), S(4), D(4)},
        };
        for (const TTableCard &played : c.table)
            for (std::vector<int> &hand : hands)
                std::erase_if(hand, [&](int card) { return card == played.card || card == played.killingCard; });
        TGameArrangement a;
        a.hands = hands;
        a.deck = {S(2), S(3), H(9)};
        a.trumpCard = H(9);
        a.table = c.table;
        a.defenderStartCount = c.defenderStartCount;
        ASSERT_EQ(game.Arrange(a), "");
    }
    TVantGame game;
    std::vector<int> ids;
};

TEST_P(MoveRules, AnswersAndChangesTheTableAsTheRulesSay)
{
    const TMoveCase &c = GetParam();
    Arrange(c);
    const int mover = ids[c.mover];
    const std::vector<int> handBefore = game.Hand(mover);
    const nlohmann::ordered_json documentBefore = game.Document(QStringLiteral("Ann"));
    const std::uint64_t revisionBefore = game.Revision();

    EXPECT_EQ(TComputerPlayer::Apply(game, mover, c.move), QString::fromUtf8(c.answer));
    if (*c.answer) {
        EXPECT_EQ(game.Revision(), revisionBefore);
        EXPECT_EQ(game.Document(QStringLiteral("Ann")), documentBefore);
        EXPECT_EQ(game.Hand(mover), handBefore);
    } else if (c.move.kind != Kind::EndTurn) {
        EXPECT_EQ(game.Revision(), revisionBefore + 1);
        EXPECT_EQ(game.Table(), c.after);
        std::vector<int> expectedHand = handBefore;
        std::erase(expectedHand, c.move.card);
        EXPECT_EQ(game.Hand(mover), expectedHand);
        EXPECT_EQ(expectedHand.size() + 1, handBefore.size());
    }
    EXPECT_TRUE(EveryCardOnce(game));
}

INSTANTIATE_TEST_SUITE_P(Table, MoveRules, ::testing::ValuesIn(moveCases),
    [](const ::testing::TestParamInfo<TMoveCase> &info) {
        std::string name = info.param.name;
        for (char &ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

TEST(MoveRulesOutsideAGame, EveryMoveIsRefusedBeforeADealAndAfterTheEnd)
{
    TVantGame game;
    const int ann = game.AddPlayer(QStringLiteral("Ann"));
    const int bob = game.AddPlayer(QStringLiteral("Bob"));
    for (const char *expected : {"There is no game running", "The game is over"}) {
        EXPECT_EQ(game.PlayCard(ann, C(2)), expected);
        EXPECT_EQ(game.KillCard(bob, C(3), C(2)), expected);
        const TEndTurnResult end = game.EndTurn(bob);
        EXPECT_FALSE(end);
        EXPECT_EQ(end.reason, expected);
        // Bob beats Ann's last card with his last card: nobody holds cards.
        TGameArrangement a;
        a.hands = {{}, {C(3)}};
        a.table = {{C(2), -1}};
        a.trumpCard = H(9);
        ASSERT_EQ(game.Arrange(a), "");
        ASSERT_EQ(game.KillCard(bob, C(3), C(2)), "");
        ASSERT_TRUE(game.EndTurn(bob));
        ASSERT_TRUE(game.IsOver());
    }
}

TEST(MoveRulesCurrentPlayer, IsTheDefenderWhileACardIsUnbeatenElseTheSender)
{
    TVantGame game;
    const int ann = game.AddPlayer(QStringLiteral("Ann"));
    const int bob = game.AddPlayer(QStringLiteral("Bob"));
    TGameArrangement a;
    a.hands = {{C(2), D(2)}, {C(3), D(3)}};
    a.trumpCard = H(9);
    ASSERT_EQ(game.Arrange(a), "");
    EXPECT_EQ(game.CurrentPlayer(), ann);
    ASSERT_EQ(game.PlayCard(ann, C(2)), "");
    EXPECT_EQ(game.CurrentPlayer(), bob);
    ASSERT_EQ(game.KillCard(bob, C(3), C(2)), "");
    EXPECT_EQ(game.CurrentPlayer(), ann);
    ASSERT_EQ(game.PlayCard(ann, D(2)), "");
    EXPECT_EQ(game.CurrentPlayer(), bob);
}

TEST(MoveRulesArrange, RefusesPositionsThatCannotExist)
{
    TVantGame game;
    game.AddPlayer(QStringLiteral("Ann"));
    game.AddPlayer(QStringLiteral("Bob"));
    const auto arrange = [&game](std::vector<std::vector<int>> hands, std::vector<TTableCard> table, int defender) {
        TGameArrangement a;
        a.hands = std::move(hands);
        a.table = std::move(table);
        a.trumpCard = H(9);
        a.defenderSeat = defender;
        return game.Arrange(a);
    };
    EXPECT_EQ(arrange({{C(2)}, {C(2)}}, {}, -1), "Card 0 is not a card or is placed twice");
    EXPECT_EQ(arrange({{C(2)}, {60}}, {}, -1), "Card 60 is not a card or is placed twice");
    EXPECT_EQ(arrange({{C(2)}}, {}, -1), "Two to six seats of registered players are needed");
    EXPECT_EQ(arrange({{C(2)}, {C(3)}, {C(4)}}, {}, -1), "Two to six seats of registered players are needed");
    EXPECT_EQ(arrange({{C(2)}, {C(3)}}, {{C(5), C(4)}}, -1), "Card 2 does not beat card 3");
    EXPECT_EQ(arrange({{C(2)}, {C(3)}}, {}, 0), "The defender's seat is not valid");
    EXPECT_FALSE(game.HasGame());
}

} // namespace
