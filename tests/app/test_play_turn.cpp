// The turn controls: end turn, the end-turn clock, dealing and the status layers.
#include "test_play_support.h"

#include <QDateTime>

namespace {

using TurnTest = PlayTest;

TEST_F(TurnTest, EndTurnShowsEveryAnswerButExactlyTrue)
{
    Form->SetPlayerID(4);
    struct TCase
    {
        std::string Answer;
        std::optional<QString> Dialog;
    };
    for (const TCase &c : {TCase{"true", std::nullopt},
                           {R"("")", QString()},
                           {R"("True")", QStringLiteral("True")},
                           {R"("You are not defending")", QStringLiteral("You are not defending")}}) {
        SCOPED_TRACE(c.Answer);
        Dialogs->Calls.clear();
        Script("EndTurn", {Result(c.Answer)});
        Form->ButtonEndTurn2Click(Form->ButtonEndTurn);
        EXPECT_EQ(Calls().back(), "EndTurn/4");
        ASSERT_EQ(Dialogs->Calls.size(), c.Dialog ? 1u : 0u);
        if (c.Dialog) {
            EXPECT_EQ(Dialogs->Calls[0].Text, *c.Dialog);
            EXPECT_EQ(Dialogs->Calls[0].DlgType, TMsgDlgType::mtWarning);
        }
    }
    EXPECT_EQ(Calls().size(), 4u);
}

TEST_F(TurnTest, ClickOnTheBlockedButtonOnlyAsksForPatience)
{
    ShowForm();
    Form->ButtonEndTurn->setVisible(true);
    Form->RectangleDisableEndTurn->setVisible(true);
    Click(Form->ButtonEndTurn);
    EXPECT_EQ(DialogTexts(), std::vector<QString>{"Please give the other players time to respond"});
    EXPECT_TRUE(Calls().empty());

    // Once free, the same click ends the turn.
    Form->RectangleDisableEndTurn->setVisible(false);
    Script("EndTurn", {Result("true")});
    Click(Form->ButtonEndTurn);
    EXPECT_EQ(Calls(), std::vector<std::string>{"EndTurn/0"});
}

TEST_F(TurnTest, ClockCountsDownFromTheLatestDocumentThenFreesTheButton)
{
    QObject &timer = *Form->TimerEndTurnClock;
    // Milliseconds since the last document -> the count shown, or "" once free.
    // Offsets sit mid-second so the test's own run time cannot cross a second.
    struct TCase
    {
        qint64 Since;
        const char *Shown;
    };
    for (const TCase &c : {TCase{200, "5"}, {1500, "4"}, {2500, "3"}, {3500, "2"}, {4500, "1"}, {5500, ""},
                           // A later document restarts the count.
                           {300, "5"}, {3300, "2"}}) {
        SCOPED_TRACE(c.Since);
        Form->RectangleDisableEndTurn->setVisible(true);
        timer.setProperty("running", true);
        Form->SetLastDataTime(QDateTime::currentDateTime().addMSecs(-c.Since));
        Form->TimerEndTurnClockTimer(&timer);
        const bool free = *c.Shown == '\0';
        EXPECT_EQ(Form->RectangleDisableEndTurn->isVisible(), !free);
        EXPECT_EQ(timer.property("running").toBool(), !free);
        if (!free) {
            EXPECT_EQ(Form->LabelEndTurnTimer->property("text").toString(), c.Shown);
        }
    }
}

TEST_F(TurnTest, BeforeAnyDocumentTheFirstTickFreesTheButton)
{
    Form->TimerEndTurnClockTimer(Form->TimerEndTurnClock);
    EXPECT_FALSE(Form->RectangleDisableEndTurn->isVisible());
    EXPECT_FALSE(Form->TimerEndTurnClock->property("running").toBool());
}

TEST_F(TurnTest, DealAsksFirstAndDealsOnlyOnYes)
{
    ShowForm();
    for (TModalResult answer : {TModalResult::mrNo, TModalResult::mrYes}) {
        Form->LabelWinner->setVisible(true);
        Dialogs->Answer = answer;
        Click(Form->ImageDeal);
        const bool yes = answer == TModalResult::mrYes;
        EXPECT_EQ(Calls(), yes ? std::vector<std::string>{"Deal"} : std::vector<std::string>{});
        EXPECT_EQ(Form->LabelWinner->isVisible(), !yes);
    }
    ASSERT_EQ(Dialogs->Calls.size(), 2u);
    EXPECT_EQ(Dialogs->Calls[0].Text, "Start a new game?");
    EXPECT_EQ(Dialogs->Calls[0].DlgType, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(Dialogs->Calls[0].Buttons, TMsgDlgButtons::mbYesNo);
    EXPECT_EQ(Dialogs->Calls[0].DefaultButton, TMsgDlgBtn::mbNo);
}

TEST_F(TurnTest, FailingEndTurnIsLoggedAndShowsNothing)
{
    Script("EndTurn", {ServerError()});
    Form->ButtonEndTurn2Click(Form->ButtonEndTurn);
    EXPECT_TRUE(Dialogs->Calls.empty());
    EXPECT_TRUE(std::any_of(Log.Texts().begin(), Log.Texts().end(),
                            [](const QString &t) { return t.startsWith("Form Vant Server "); }))
        << Log.Texts().join(u'\n').toStdString();
}

TEST_F(TurnTest, MessagesAndStatusLayerSwapAndTheSwatchFadesTheStatus)
{
    ShowForm();
    Form->LayoutKill->setVisible(true);
    Click(Form->LayoutMessages);
    EXPECT_TRUE(Form->LayoutStatus->isVisible());
    EXPECT_EQ(Form->Layout2->childItems().last(), Form->LayoutStatus.data()) << "status over the messages";
    Click(Form->LayoutStatus);
    EXPECT_FALSE(Form->LayoutStatus->isVisible());
    EXPECT_EQ(Form->Rectangle5->parentItem()->childItems().last(), Form->LabelStatus.data());

    Form->LayoutStatus->setVisible(true);
    Click(Form->ColorButton1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Form->LayoutStatus->opacity() == 1.0; }, 2000));
    Click(Form->ColorButton1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Form->LayoutStatus->opacity() == 0.0; }, 2000));
}

} // namespace
