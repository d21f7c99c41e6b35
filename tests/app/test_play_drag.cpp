// Dragging a card from the hand onto the table, driven by synthesised mouse
// and touch events on the real window offscreen.
#include "test_play_support.h"

#include "cards/UnitCardHandLayout.h"
#include "cards/UnitCardImage.h"

#include <QPointingDevice>

namespace {

class DragTest : public PlayTest
{
protected:
    void SetUp() override
    {
        PlayTest::SetUp();
        ShowForm();
        Form->SetPlayerID(7);
    }

    static void Fill(TCardHandLayout &ARow, std::initializer_list<int> ACards)
    {
        ARow.StartDataUpdate();
        for (int card : ACards)
            ARow.AddCard(card);
        ARow.EndDataUpdate();
        ARow.LayoutCards();
    }

    // The hand 2♣ 3♣ 4♣ (indexes 0, 1, 2) and the given cards in play.
    void Table(std::initializer_list<int> AInPlay)
    {
        Fill(*Form->CardLayout(), {0, 1, 2});
        Fill(*Form->InPlayLayout(), AInPlay);
    }

    QPoint HandCard(int APosition) const
    {
        const TCardLayout *card = Form->CardLayout()->CardAtIndex(APosition);
        return card->mapToScene(QPointF(card->width() / 2, card->height() / 2)).toPoint();
    }
    QPoint InPlay(QPointF ALocal) const { return Form->InPlayLayout()->mapToScene(ALocal).toPoint(); }

    QPointF DragCardCentre() const
    {
        const TCard *card = Form->DragCard();
        return card->mapToScene(QPointF(card->width() / 2, card->height() / 2));
    }

    void Press(QPoint AAt) { QTest::mousePress(Form->Window(), Qt::LeftButton, {}, AAt); }
    void Move(QPoint ATo) { QTest::mouseMove(Form->Window(), ATo); }
    void Release(QPoint AAt) { QTest::mouseRelease(Form->Window(), Qt::LeftButton, {}, AAt); }
    void Drag(QPoint AFrom, QPoint ATo)
    {
        Press(AFrom);
        Move(ATo);
        Release(ATo);
    }

    bool DragEnded() const { return !Form->IsDragging() && Form->DragCard() && !Form->DragCard()->isVisible(); }
};

// Drag card 100 x 150 centred on the drop point; cards in play 100 x 150 at
// x = 5 and 125, y = 5 (in-play coordinates).
const QPointF ClearOfCards(600, 80);
const QPointF AcrossTwoCards(115, 80);
const QPointF OnlyTouchingFirstCardsRightEdge(155, 80);

TEST_F(DragTest, PressInAGapOrBelowTheCardsStartsNothing)
{
    Table({});
    const TCardLayout *first = Form->CardLayout()->CardAtIndex(0);
    const QPointF gap = first->mapToScene(QPointF(first->width() + 10, 20));
    const QPointF below = first->mapToScene(QPointF(10, first->height() + 5));
    for (QPointF at : {gap, below}) {
        Press(at.toPoint());
        Release(at.toPoint());
    }
    EXPECT_EQ(Form->DragCard(), nullptr);
    EXPECT_FALSE(Form->IsDragging());
    EXPECT_TRUE(Calls().empty());
}

TEST_F(DragTest, DragCardIsACopyCentredOnThePointerThatFollowsItOverBothRows)
{
    Table({});
    const QPoint start = HandCard(1) + QPoint(7, -9);
    Press(start);
    ASSERT_NE(Form->DragCard(), nullptr);
    const TCard *dragCard = Form->DragCard();
    EXPECT_TRUE(Form->IsDragging());
    EXPECT_TRUE(dragCard->isVisible());
    EXPECT_EQ(dragCard->CardIndex(), 1);
    EXPECT_EQ(dragCard->size(), QSizeF(100, 150));
    EXPECT_EQ(dragCard->Bitmap().size(), QSize(100, 150)) << "the face is rendered at the drag size";
    EXPECT_EQ(DragCardCentre(), QPointF(start));
    EXPECT_EQ(Form->CardLayout()->childItems().size(), 3) << "the pressed card stays in the hand";
    EXPECT_TRUE(Logged("Found card index 1"));

    const QPoint overHand = HandCard(2);
    Move(overHand);
    EXPECT_EQ(DragCardCentre(), QPointF(overHand));
    const QPoint overTable = InPlay(ClearOfCards);
    Move(overTable);
    EXPECT_EQ(DragCardCentre(), QPointF(overTable));
    // Over the deck the card stays where it was last placed.
    const QPoint overDeck = Form->ImageCardDeck->mapToScene(QPointF(10, 10)).toPoint();
    Move(overDeck);
    EXPECT_EQ(DragCardCentre(), QPointF(overTable));

    Release(overHand);
    EXPECT_TRUE(DragEnded());
    EXPECT_TRUE(Calls().empty()) << "a release on the hand cancels the move";

    // The same drag card serves the next press; it is made once.
    Press(HandCard(0));
    EXPECT_EQ(Form->DragCard(), dragCard);
    EXPECT_EQ(dragCard->CardIndex(), 0);
    Release(HandCard(0));
    EXPECT_EQ(Log.Texts().count("Create Drag Card Width 100 Height 150"), 1);
}

struct TDropCase
{
    const char *Name;
    std::initializer_list<int> InPlay;
    QPointF DropAt;
    std::vector<TScriptedReply> Answers; // of PlayCard or KillCard
    std::vector<std::string> Calls;
    std::vector<QString> Dialogs;
};

TEST_F(DragTest, DropSendsAPlayOrOneKillPerOverlappedCardAndShowsOnlyRefusals)
{
    // The dragged card is 3♣ (index 1); 2♦ is 13, 3♦ is 14.
    const TDropCase cases[] = {
        {"clear, accepted", {13, 14}, ClearOfCards, {Result(R"("")")}, {"PlayCard/7/1"}, {}},
        {"clear, refused", {13}, ClearOfCards, {Result(R"("Not your turn")")}, {"PlayCard/7/1"}, {"Not your turn"}},
        {"edge only", {13}, OnlyTouchingFirstCardsRightEdge, {Result(R"("")")}, {"PlayCard/7/1"}, {}},
        {"two, one accepted",
         {13, 14},
         AcrossTwoCards,
         {Result(R"("Too low")"), Result(R"("")")},
         {"KillCard/7/1/13", "KillCard/7/1/14"},
         {}},
        {"two, both refused",
         {13, 14},
         AcrossTwoCards,
         {Result(R"("Too low.")"), Result(R"("Wrong suit.")")},
         {"KillCard/7/1/13", "KillCard/7/1/14"},
         {"Too low.Wrong suit."}},
    };
    for (const TDropCase &c : cases) {
        SCOPED_TRACE(c.Name);
        Table(c.InPlay);
        Script("PlayCard", c.Answers);
        Script("KillCard", c.Answers);
        const size_t callsBefore = Calls().size();
        Dialogs->Calls.clear();

        Drag(HandCard(1), InPlay(c.DropAt));

        const std::vector<std::string> all = Calls();
        EXPECT_EQ(std::vector<std::string>(all.begin() + static_cast<long>(callsBefore), all.end()), c.Calls);
        EXPECT_EQ(DialogTexts(), c.Dialogs);
        for (const auto &call : Dialogs->Calls) {
            EXPECT_EQ(call.DlgType, TMsgDlgType::mtWarning);
            EXPECT_EQ(call.Buttons, TMsgDlgButtons::mbOK);
        }
        EXPECT_TRUE(DragEnded());
    }
}

TEST_F(DragTest, WhileTheTableIsTurnedEveryDropIsAPlay)
{
    Table({13, 14});
    Form->LayoutInPlay->setRotation(180);
    Drag(HandCard(1), InPlay(AcrossTwoCards));
    EXPECT_EQ(Calls(), std::vector<std::string>{"PlayCard/7/1"});
}

TEST_F(DragTest, FailingServerCallLogsOnceSkipsTheRestAndStillEndsTheDrag)
{
    Table({13, 14});
    Script("KillCard", {ServerError()});
    Drag(HandCard(1), InPlay(AcrossTwoCards));
    EXPECT_EQ(Calls(), std::vector<std::string>{"KillCard/7/1/13"});
    EXPECT_EQ(std::count_if(Log.Texts().begin(), Log.Texts().end(),
                            [](const QString &t) { return t.startsWith("LayoutInPlayMouseUp Exception "); }),
              1)
        << Log.Texts().join(u'\n').toStdString();
    EXPECT_FALSE(Logged("Inplay mouse up turning off drag card"));
    EXPECT_TRUE(Dialogs->Calls.empty());
    EXPECT_TRUE(DragEnded());
}

TEST_F(DragTest, ReleaseAwayFromBothRowsEndsTheDragAndAClickOnTheTableOnlyLogs)
{
    Table({13});
    const QPoint overDeck = Form->ImageCardDeck->mapToScene(QPointF(10, 10)).toPoint();
    Drag(HandCard(1), overDeck);
    EXPECT_TRUE(DragEnded());

    const QPoint table = InPlay(ClearOfCards);
    Press(table);
    Release(table);
    const QPointF local = Form->InPlayLayout()->mapFromScene(QPointF(table));
    EXPECT_TRUE(Logged(QStringLiteral("Mouse up at [%1,%2] card undefined").arg(local.x()).arg(local.y())))
        << Log.Texts().join(u'\n').toStdString();
    EXPECT_TRUE(Calls().empty());
}

TEST_F(DragTest, TouchDragsLikeTheMouse)
{
    Table({});
    QPointingDevice *touchScreen = QTest::createTouchDevice();
    const QPoint from = HandCard(2);
    const QPoint to = InPlay(ClearOfCards);
    QTest::touchEvent(Form->Window(), touchScreen).press(0, from, Form->Window());
    EXPECT_TRUE(Form->IsDragging());
    QTest::touchEvent(Form->Window(), touchScreen).move(0, to, Form->Window());
    // Qt Quick delivers touch moves with the next frame.
    EXPECT_TRUE(QTest::qWaitFor([&] { return DragCardCentre() == QPointF(to); }, 2000));
    QTest::touchEvent(Form->Window(), touchScreen).release(0, to, Form->Window());
    EXPECT_EQ(Calls(), std::vector<std::string>{"PlayCard/7/2"});
    EXPECT_TRUE(DragEnded());
}

} // namespace
