// The player list panel: opening, filling from the server and deleting.
#include "test_play_support.h"

#include "app/TPlayerListModel.h"

namespace {

class PlayerListTest : public PlayTest
{
protected:
    void SetUp() override
    {
        PlayTest::SetUp();
        ShowForm();
    }

    QStringList Rows() const
    {
        QStringList rows;
        for (int i = 0; i < Form->PlayerListModel()->Count(); ++i)
            rows << Form->PlayerListModel()->Text(i);
        return rows;
    }

    // The strip above the table, clear of the deal button.
    QPoint Strip(int AX) const { return Form->LayoutTop->mapToScene(QPointF(AX, 50)).toPoint(); }

    void Swipe(int AFromX, int AToX)
    {
        QTest::mousePress(Form->Window(), Qt::LeftButton, {}, Strip(AFromX));
        QTest::mouseMove(Form->Window(), Strip((AFromX + AToX) / 2));
        QTest::mouseRelease(Form->Window(), Qt::LeftButton, {}, Strip(AToX));
    }
};

// Delegates are items of the view, not its QObject children: search the items.
QList<QQuickItem *> DeleteControls(QQuickItem *ARoot)
{
    QList<QQuickItem *> found;
    for (QQuickItem *child : ARoot->childItems()) {
        if (child->objectName() == QLatin1String("PlayerRowDelete") && child->isVisible())
            found << child;
        found << DeleteControls(child);
    }
    return found;
}

const std::string FourPlayers =
    R"({"player1":{"name":"Ann","id":1},"player2":{"name":"Bob","id":2},)"
    R"("player3":{"name":"Cy Ng","id":3},"player4":{"name":"Dee","id":4}})";

TEST_F(PlayerListTest, EachOpeningRefillsTheListFromTheServer)
{
    Script("Players",
           {Result(FourPlayers),
            // Skipped: no name, and a member not named player*; "players" is listed.
            Result(R"({"player1":{"name":"Ann","id":1},"player2":{"id":2},"count":{"name":"X","id":9},)"
                   R"("players":{"name":"Eve","id":5}})")});
    QTest::mouseDClick(Form->Window(), Qt::LeftButton, {}, Strip(300));
    EXPECT_TRUE(Form->LayoutPlayerList->isVisible());
    EXPECT_EQ(Rows(), QStringList({"Ann", "Bob", "Cy Ng", "Dee"}));
    EXPECT_EQ(Form->PlayerListModel()->Tag(2), 3);

    // The dimmed background around the list.
    QTest::mouseClick(Form->Window(), Qt::LeftButton, {}, Form->Rectangle6->mapToScene(QPointF(10, 10)).toPoint());
    EXPECT_FALSE(Form->LayoutPlayerList->isVisible());

    Swipe(500, 350);
    EXPECT_TRUE(Form->LayoutPlayerList->isVisible());
    EXPECT_EQ(Rows(), QStringList({"Ann", "Eve"}));
    EXPECT_EQ(Calls(), std::vector<std::string>({"Players", "Players"}));
}

TEST_F(PlayerListTest, SwipesOtherThanLeftwardOpenNothing)
{
    Script("Players", {Result(FourPlayers)});
    Swipe(300, 500);
    QTest::mousePress(Form->Window(), Qt::LeftButton, {}, Strip(300));
    QTest::mouseRelease(Form->Window(), Qt::LeftButton, {}, Form->LayoutTop->mapToScene(QPointF(300, 95)).toPoint());
    Form->LayoutTopGesture(Form->LayoutTop, 2);
    EXPECT_FALSE(Form->LayoutPlayerList->isVisible());
    EXPECT_TRUE(Calls().empty());
}

TEST_F(PlayerListTest, DeletingTheThirdRowDeletesThatNameOnly)
{
    Script("Players", {Result(FourPlayers)});
    Form->ShowPlayerList();
    // The rows' delete controls, top to bottom.
    QQuickItem *list = Form->ListViewPlayerList;
    QList<QQuickItem *> buttons;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (buttons = DeleteControls(list)).size() == 4; }, 2000));
    std::sort(buttons.begin(), buttons.end(),
              [](QQuickItem *a, QQuickItem *b) { return a->mapToScene({}).y() < b->mapToScene({}).y(); });
    Click(buttons[2]);
    EXPECT_EQ(Calls().back(), "DeletePlayer/Cy%20Ng");
    EXPECT_EQ(Rows(), QStringList({"Ann", "Bob", "Dee"}));

    // Out of range: nothing sent, nothing removed.
    EXPECT_FALSE(Form->ListViewPlayerListDeletingItem(list, 3));
    EXPECT_EQ(Calls().size(), 2u);
}

TEST_F(PlayerListTest, UnreadableListIsLoggedAndNotShown)
{
    for (const std::string &players : {std::string(R"([1,2])"), std::string(R"({"player1":{"name":"Ann"}})"),
                                       std::string(R"({"player1":{"name":"Ann","id":"x"}})")}) {
        SCOPED_TRACE(players);
        Script("Players", {Result(players)});
        const qsizetype before = Log.Texts().size();
        Form->LayoutTopDblClick(Form->LayoutTop);
        EXPECT_FALSE(Form->LayoutPlayerList->isVisible());
        EXPECT_EQ(Log.Texts().size(), before + 1);
        EXPECT_TRUE(Log.Texts().last().startsWith("Form Vant Server ")) << Log.Texts().join(u'\n').toStdString();
    }
}

TEST_F(PlayerListTest, FailedDeleteKeepsTheRow)
{
    Script("Players", {Result(FourPlayers)});
    Script("DeletePlayer", {ServerError()});
    Form->ShowPlayerList();
    EXPECT_FALSE(Form->ListViewPlayerListDeletingItem(Form->ListViewPlayerList, 0));
    EXPECT_EQ(Rows().size(), 4);
}

} // namespace
