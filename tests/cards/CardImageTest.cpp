#include "cards/TImageList.h"
#include "cards/TPlainLabel.h"
#include "cards/UnitCardImage.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

QImage Face(QColor colour)
{
    QImage image(10, 15, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

TEST(Card, IndexIsSuitAndNumber)
{
    TCard card;
    EXPECT_EQ(card.CardIndex(), 0);
    for (int index : {0, 12, 13, 37, 51, -1}) {
        card.SetCardIndex(index);
        EXPECT_EQ(card.CardIndex(), index);
    }
    EXPECT_EQ(card.CardSuit(), TSuit::Clubs);
    EXPECT_EQ(card.CardNumber(), -1);
    EXPECT_EQ(card.Description(), "nil");
    card.SetCardIndex(37);
    EXPECT_EQ(card.CardName(), "king");
    EXPECT_EQ(card.SuitName(), "hearts");
    EXPECT_EQ(card.acceptedMouseButtons(), Qt::NoButton);
    EXPECT_FALSE(card.acceptTouchEvents());
}

TEST(CardLayout, NewWidgetShowsOnlyItsCard)
{
    TCardLayout widget;
    EXPECT_EQ(widget.size(), QSizeF(100, 150));
    EXPECT_EQ(widget.Card()->position(), QPointF(0, 0));
    EXPECT_EQ(widget.Card()->size(), QSizeF(100, 150));
    EXPECT_TRUE(widget.Card()->isVisible());
    EXPECT_FALSE(widget.KillCard()->isVisible());
    EXPECT_FALSE(widget.CardLabel()->isVisible());
    EXPECT_EQ(widget.KillCard()->position(), QPointF(20, 20));
    EXPECT_FALSE(widget.IsDead());
    EXPECT_EQ(widget.CardDescription(), "two of clubs [0]");
    EXPECT_EQ(widget.CardName(), "two");
    EXPECT_EQ(widget.CardSuitName(), "clubs");
    EXPECT_EQ(widget.acceptedMouseButtons(), Qt::NoButton);
    // Paint order: card, kill card over it, label over both.
    const QList<QQuickItem *> children = widget.childItems();
    ASSERT_EQ(children.size(), 3);
    EXPECT_EQ(children[0], widget.Card());
    EXPECT_EQ(children[1], widget.KillCard());
    EXPECT_GT(widget.CardLabel()->z(), widget.KillCard()->z());
}

TEST(CardLayout, KillReplaceAndUnKill)
{
    TCardLayout widget;
    widget.SetKillCard(5, Face(Qt::red));
    widget.SetKillCard(6, Face(Qt::blue));
    EXPECT_TRUE(widget.IsDead());
    EXPECT_TRUE(widget.KillCard()->isVisible());
    EXPECT_EQ(widget.KillCard()->CardIndex(), 6);
    EXPECT_EQ(widget.KillCard()->Bitmap().pixelColor(0, 0), QColor(Qt::blue));

    widget.UnKill();
    EXPECT_FALSE(widget.IsDead());
    EXPECT_FALSE(widget.KillCard()->isVisible());
    EXPECT_EQ(widget.KillCardDescription(), "eight of clubs [6]");
}

TEST(CardLayout, CardSizeLeavesWidgetSizeAlone)
{
    TCardLayout widget;
    widget.SetCardWidth(70);
    widget.SetCardHeight(105);
    EXPECT_EQ(widget.size(), QSizeF(100, 150));
    EXPECT_EQ(widget.Card()->size(), QSizeF(70, 105));
    EXPECT_EQ(widget.KillCard()->size(), QSizeF(70, 105));
    // The offset is applied at creation only.
    widget.SetKillOffset(40);
    EXPECT_EQ(widget.KillCard()->position(), QPointF(20, 20));
}

} // namespace

namespace {

TEST(ImageList, RendersWholePixelsAndNothingWithoutAPicture)
{
    const TImageList faces(CardImagePaths());
    ASSERT_EQ(faces.Count(), 52);
    const QImage face = faces.Bitmap(51, QSizeF(70.4, 97.6));
    ASSERT_FALSE(face.isNull());
    EXPECT_EQ(face.size(), QSize(70, 98));
    EXPECT_NE(face, faces.Bitmap(50, QSizeF(70, 98)));
    for (int index : {-1, 52})
        EXPECT_TRUE(faces.Bitmap(index, QSizeF(70, 97)).isNull()) << index;
    EXPECT_TRUE(faces.Bitmap(0, QSizeF(0, 97)).isNull());
    EXPECT_TRUE(TImageList({":/no/such.svg"}).Bitmap(0, QSizeF(10, 10)).isNull());
}

} // namespace
