// The window's three rows as the table update drives them: a full table
// laid out in the real window. With VANT_SCREENSHOT_DIR set the test also
// saves what the window shows as table.png, so that it can be looked at.
#include "AppTestSupport.h"

#include "cards/UnitCardHandLayout.h"
#include "cards/UnitCardImage.h"
#include "cards/UnitPlayerLayout.h"

#include <QDir>
#include <QImage>

TEST_F(FormTest, RowsShowAFullTableInTheirContainers)
{
    ShowForm();
    TCardHandLayout &hand = *Form->CardLayout();
    TCardHandLayout &inPlay = *Form->InPlayLayout();
    TPlayerLayout &players = *Form->PlayerLayout();

    hand.StartDataUpdate();
    for (int card : {0, 5, 9, 12, 13, 18, 24, 27, 33, 38, 41, 50})
        hand.AddCard(card);
    hand.EndDataUpdate();
    hand.LayoutCards();

    inPlay.StartDataUpdate();
    inPlay.AddDeadCard(3, 7);
    inPlay.AddCard(16);
    inPlay.AddDeadCard(29, 51);
    inPlay.AddCard(42);
    inPlay.EndDataUpdate();
    inPlay.LayoutCards();

    players.StartDataUpdate();
    players.UpdatePlayer(QStringLiteral("Bob"), QStringLiteral("6"));
    players.UpdatePlayer(QStringLiteral("Robot 1"), QStringLiteral("4"));
    players.UpdatePlayer(QStringLiteral("<b>Eve</b>"), QStringLiteral("12"));
    players.EndDataUpdate();

    ASSERT_EQ(hand.childItems().size(), 12);
    ASSERT_EQ(inPlay.childItems().size(), 4);
    ASSERT_EQ(players.childItems().size(), 3);
    // Every card lies within its row's height; the last one ends at most 5
    // past the row's right edge.
    for (TCardHandLayout *row : {&hand, &inPlay}) {
        for (QQuickItem *card : row->childItems()) {
            EXPECT_GT(card->height(), 0);
            EXPECT_LE(card->y() + card->height(), row->height());
        }
        QQuickItem *last = row->childItems().last();
        EXPECT_LE(last->x() + last->width(), row->width() + 5);
    }
    EXPECT_TRUE(qobject_cast<TCardLayout *>(inPlay.childItems().at(0))->IsDead());
    EXPECT_FALSE(qobject_cast<TCardLayout *>(inPlay.childItems().at(1))->IsDead());

    QTest::qWait(50);
    if (const QString dir = qEnvironmentVariable("VANT_SCREENSHOT_DIR"); !dir.isEmpty()) {
        QDir().mkpath(dir);
        EXPECT_TRUE(Form->Window()->grabWindow().save(dir + QStringLiteral("/table.png")));
    }
}
