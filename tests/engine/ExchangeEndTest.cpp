// The defender's EndTurn: discarding or picking up, drawing in order, who
// sends next, players finishing, and the end of the game.
#include "server/engine/TVantGame.h"
#include "tests/engine/EngineCards.h"

#include <gtest/gtest.h>

namespace {

enum Seat { Ann, Bob, Cid };

struct TEndCase
{
    const char *name;
    TGameArrangement position; // trump hearts unless set
    std::vector<std::vector<int>> handsAfter;
    std::size_t discardAdded;
    int sender; // seat, or -1 once the game is over
    int defender;
    const char *loser;
};

TGameArrangement Position(std::vector<std::vector<int>> hands, std::vector<int> deck, std::vector<TTableCard> table,
                          int senderSeat = Ann, int defenderSeat = -1)
{
    TGameArrangement a;
    a.hands = std::move(hands);
    a.deck = std::move(deck);
    a.table = std::move(table);
    a.trumpCard = H(9);
    a.senderSeat = senderSeat;
    a.defenderSeat = defenderSeat;
    return a;
}

const TEndCase endCases[] = {
    {"beaten table is discarded and the defender sends next; sender draws first, defender last",
     Position({{C(2), C(3), C(4), C(5)}, {D(2), D(3), D(4)}, {S(2), S(3), S(4)}}, {S(5), S(6), S(7), S(8), S(9)},
              {{C(7), C(8)}, {D(7), D(8)}}),
     {{C(2), C(3), C(4), C(5), S(5), S(6)}, {D(2), D(3), D(4)}, {S(2), S(3), S(4), S(7), S(8), S(9)}}, 4, Bob, Cid,
     ""},
    {"unbeaten table is picked up and the seat after the defender sends",
     Position({{C(2), C(3), C(4), C(5), C(6)}, {D(2), D(3), D(4), D(5)}, {S(2), S(3), S(4), S(5), S(6), S(7)}},
              {S(8), S(9)}, {{C(7), C(8)}, {D(7), -1}}),
     {{C(2), C(3), C(4), C(5), C(6), S(8)}, {D(2), D(3), D(4), D(5), C(7), C(8), D(7)}, {S(2), S(3), S(4), S(5), S(6), S(7)}},
     0, Cid, Ann, ""},
    {"picking up wraps round the seats",
     Position({{C(2)}, {D(2)}, {S(2)}}, {}, {{S(5), -1}}, Bob, Cid),
     {{C(2)}, {D(2)}, {S(2), S(5)}}, 0, Ann, Bob, ""},
    {"the trump at the bottom of the deck is drawn last",
     Position({{C(2), C(3), C(4), C(5), C(6)}, {D(2), D(3), D(4), D(5), D(6)}, {S(2), S(3), S(4), S(5), S(6), S(7)}},
              {H(2), H(9)}, {{C(7), C(8)}}),
     {{C(2), C(3), C(4), C(5), C(6), H(2)}, {D(2), D(3), D(4), D(5), D(6), H(9)}, {S(2), S(3), S(4), S(5), S(6), S(7)}},
     2, Bob, Cid, ""},
    {"a defender out of cards with the deck empty has finished: the next seat sends",
     Position({{C(2), C(3)}, {}, {S(2), S(3)}}, {}, {{C(7), C(8)}}, Ann, Bob),
     {{C(2), C(3)}, {}, {S(2), S(3)}}, 2, Cid, Ann, ""},
    {"finished players are skipped as defenders",
     Position({{C(2), C(3)}, {}, {S(2)}}, {}, {{C(7), C(8)}}, Cid, Ann),
     {{C(2), C(3)}, {}, {S(2)}}, 2, Ann, Cid, ""},
    {"the one player still holding cards has lost",
     Position({{}, {D(2)}, {}}, {}, {{C(7), -1}}),
     {{}, {D(2), C(7)}, {}}, 0, -1, -1, "Bob lost the game"},
    {"the last cards leaving every hand at once is a draw",
     Position({{}, {}, {}}, {}, {{C(7), C(8)}}, Ann, Bob),
     {{}, {}, {}}, 2, -1, -1, "Nobody lost: a draw"},
    {"the sender out of cards with others still holding goes on",
     Position({{}, {D(2)}, {S(2)}}, {}, {{C(7), C(8)}}),
     {{}, {D(2)}, {S(2)}}, 2, Bob, Cid, ""},
};

class ExchangeEnd : public ::testing::TestWithParam<TEndCase>
{
protected:
    void SetUp() override
    {
        for (const char *name : {"Ann", "Bob", "Cid"})
            ids.push_back(game.AddPlayer(QString::fromLatin1(name)));
    }
    TVantGame game;
    std::vector<int> ids;
};

TEST_P(ExchangeEnd, SettlesTheTableDrawsAndPassesTheTurn)
{
    const TEndCase &c = GetParam();
    ASSERT_EQ(game.Arrange(c.position), "");
    const std::size_t discardBefore = game.Discard().size();
    const int defender = game.Defender();

    const TEndTurnResult result = game.EndTurn(defender);
    ASSERT_TRUE(result) << result.reason.toStdString();
    EXPECT_TRUE(result.reason.isEmpty());
    for (int seat = 0; seat < 3; ++seat)
        EXPECT_EQ(game.Hand(ids[seat]), c.handsAfter[seat]) << "seat " << seat;
    EXPECT_TRUE(game.Table().empty());
    EXPECT_EQ(game.Discard().size(), discardBefore + c.discardAdded);
    EXPECT_EQ(game.Sender(), c.sender < 0 ? 0 : ids[c.sender]);
    EXPECT_EQ(game.Defender(), c.defender < 0 ? 0 : ids[c.defender]);
    EXPECT_EQ(game.IsOver(), c.sender < 0);
    EXPECT_EQ(game.Loser(), QString::fromUtf8(c.loser));
    if (!game.IsOver()) {
        EXPECT_EQ(game.TableLimit(), std::min<int>(6, static_cast<int>(game.Hand(game.Defender()).size())));
    }
    EXPECT_TRUE(EveryCardOnce(game));
}

INSTANTIATE_TEST_SUITE_P(Table, ExchangeEnd, ::testing::ValuesIn(endCases),
    [](const ::testing::TestParamInfo<TEndCase> &info) { return "case" + std::to_string(info.index); });

} // namespace
