#include "cards/UnitCardHandLayout.h"
#include "cards/uCardHelper.h"

#include <gtest/gtest.h>

namespace {

struct CardCase
{
    int index;
    const char *description;
    int imagePosition;
};

class CardIdentity : public ::testing::TestWithParam<CardCase> {};

TEST_P(CardIdentity, DescribesAndFindsItsFace)
{
    const CardCase c = GetParam();
    EXPECT_EQ(DescribeCard(c.index), QString::fromUtf8(c.description));
    EXPECT_EQ(TCardHandLayout::TranslateIndexForImage(c.index), c.imagePosition);
}

INSTANTIATE_TEST_SUITE_P(Deck, CardIdentity,
                         ::testing::Values(CardCase{0, "two of clubs [0]", 1},
                                           CardCase{8, "ten of clubs [8]", 9},
                                           CardCase{11, "king of clubs [11]", 12},
                                           CardCase{12, "ace of clubs [12]", 0},
                                           CardCase{13, "two of diamonds [13]", 14},
                                           CardCase{25, "ace of diamonds [25]", 13},
                                           CardCase{37, "king of hearts [37]", 38},
                                           CardCase{51, "ace of spades [51]", 39},
                                           // No card: the ace of clubs' face, and "nil".
                                           CardCase{-1, "nil", 0},
                                           CardCase{-14, "nil", -13},
                                           // Suit 4 has no name: two blanks between "of" and the bracket.
                                           CardCase{52, "two of  [52]", 53}));

TEST(CardHelper, TruncatingDivisionAndNameTables)
{
    EXPECT_EQ(SuitOfIndex(-1), TSuit::Clubs);
    EXPECT_EQ(NumberOfIndex(-1), -1);
    EXPECT_EQ(SuitOfIndex(39), TSuit::Spades);
    EXPECT_EQ(NumberToName(-1), "undefined");
    EXPECT_EQ(NumberToName(13), "undefined");
    EXPECT_EQ(NumberToName(9), "jack");
    EXPECT_EQ(SuitToName(static_cast<TSuit>(4)), QString());
    EXPECT_EQ(SuitToName(TSuit::Hearts), "hearts");
}

} // namespace
