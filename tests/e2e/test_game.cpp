// A whole game end to end: vant-server with one computer player and two
// client windows offscreen, played only through pointer events on the
// windows' screens until both announce the loser.
#include "E2eFixture.h"

#include "cards/UnitCardHandLayout.h"
#include "cards/UnitCardImage.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/TDialogServiceDouble.h"

#include <QDeadlineTimer>
#include <set>
#include <utility>

namespace {

// Refusals the rules give to a move made from an up-to-date screen. Others
// ("You do not hold that card", "That card is not on the table", ...) would
// mean the client sent something it did not show.
const QStringList LegalRefusals = {
    QStringLiteral("That card does not beat it"),
    QStringLiteral("That card is already beaten"),
    QStringLiteral("Only cards of a value already on the table can be added"),
    QStringLiteral("The defender cannot take more cards"),
    QStringLiteral("The defender cannot add cards"),
    QStringLiteral("It is not your turn"),
};

// A refusal text is the reasons of the calls of one drop run together.
bool IsLegalRefusal(QString AText)
{
    while (!AText.isEmpty()) {
        const auto reason = std::find_if(LegalRefusals.begin(), LegalRefusals.end(),
                                         [&](const QString &r) { return AText.startsWith(r); });
        if (reason == LegalRefusals.end())
            return false;
        AText.remove(0, reason->size());
    }
    return true;
}

struct TTableCard
{
    int Card;
    bool Beaten;
    QPoint At; // window coordinates of its centre
};

// One player's window and what its screen shows.
class TSeat
{
public:
    TSeat(std::unique_ptr<TFormRenderGame> AForm, QString AName) : Form(std::move(AForm)), Name(std::move(AName)) {}

    std::unique_ptr<TFormRenderGame> Form;
    QString Name;
    // Moves already tried on the document now shown.
    std::set<std::pair<int, int>> Tried;
    TJSONValuePtr TriedOn;

    QString Loser() const
    {
        const TJSONValuePtr doc = Form->LastData();
        const TJSONValue *loser = doc ? vantjson::FindValue(*doc, QStringLiteral("loser")) : nullptr;
        return loser ? vantjson::ValueText(*loser) : QString();
    }
    std::vector<std::pair<int, QPoint>> Hand() const { return Cards(*Form->CardLayout()); }
    std::vector<TTableCard> Table() const
    {
        std::vector<TTableCard> table;
        const TCardHandLayout &row = *Form->InPlayLayout();
        for (int i = 0; i < row.childItems().size(); ++i) {
            const TCardLayout *card = row.CardAtIndex(i);
            table.push_back({card->Card()->CardIndex(), card->IsDead(), Centre(*card)});
        }
        return table;
    }
    QPoint TableClear() const { return Centre(*Form->LayoutInPlay); }
    bool EndTurnFree() const { return Form->ButtonEndTurn->isVisible() && !Form->RectangleDisableEndTurn->isVisible(); }

private:
    static QPoint Centre(const QQuickItem &AItem)
    {
        return AItem.mapToScene(QPointF(AItem.width() / 2, AItem.height() / 2)).toPoint();
    }
    static std::vector<std::pair<int, QPoint>> Cards(const TCardHandLayout &ARow)
    {
        std::vector<std::pair<int, QPoint>> cards;
        for (int i = 0; i < ARow.childItems().size(); ++i) {
            const TCardLayout *card = ARow.CardAtIndex(i);
            // Pressed near the top-left corner, where no neighbour overlaps.
            cards.emplace_back(card->Card()->CardIndex(), card->mapToScene(QPointF(10, 10)).toPoint());
        }
        return cards;
    }
};

class GameE2eTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(Server.Start(error)) << error.toStdString();
    }

    void ShowAndRegister(TSeat &ASeat)
    {
        ASeat.Form->Show();
        // The panel shows once the window has found this test's server.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return ASeat.Form->LayoutRegister->isVisible()
                       && ASeat.Form->DSRestConnection1->Port() == Server.Ports().Http;
            },
            10000))
            << Log.Texts().join(u'\n').toStdString();
        ASeat.Form->ComboEditPlayers->setProperty("editText", ASeat.Name);
        Click(ASeat, ASeat.Form->ImageRegister->mapToScene(QPointF(20, 20)).toPoint());
        ASSERT_FALSE(ASeat.Form->LayoutRegister->isVisible()) << Log.Texts().join(u'\n').toStdString();
        // The end-turn cover frees the button at its first tick: the game
        // needs no waiting for other players here.
        ASeat.Form->SetEndTurnDelay(0);
    }

    static void Click(TSeat &ASeat, QPoint AAt) { QTest::mouseClick(ASeat.Form->Window(), Qt::LeftButton, {}, AAt); }

    static void Drag(TSeat &ASeat, QPoint AFrom, QPoint ATo)
    {
        QQuickWindow *window = ASeat.Form->Window();
        QTest::mousePress(window, Qt::LeftButton, {}, AFrom);
        QTest::mouseMove(window, (AFrom + ATo) / 2);
        QTest::mouseMove(window, ATo);
        QTest::mouseRelease(window, Qt::LeftButton, {}, ATo);
    }

    // One pointer action of a seat whose screen asks for one: the sender
    // opens on an empty table, the defender beats what it can, then ends the
    // turn. Returns whether it acted.
    bool Act(TSeat &ASeat)
    {
        TFormRenderGame &form = *ASeat.Form;
        if (ASeat.TriedOn != form.LastData()) {
            ASeat.TriedOn = form.LastData();
            ASeat.Tried.clear();
        }
        // While the table turns, its cards are not where they will be.
        if (form.FloatAnimationRotateCards.Running())
            return false;
        const std::vector<TTableCard> table = ASeat.Table();
        const auto hand = ASeat.Hand();
        if (form.PlayMode() == 0 && table.empty()) {
            for (const auto &[card, at] : hand)
                if (ASeat.Tried.insert({card, -1}).second) {
                    Drag(ASeat, at, ASeat.TableClear());
                    return true;
                }
        }
        if (form.PlayMode() != 1 || table.empty())
            return false;
        for (const TTableCard &target : table) {
            if (target.Beaten)
                continue;
            for (const auto &[card, at] : hand)
                if (ASeat.Tried.insert({card, target.Card}).second) {
                    Drag(ASeat, at, target.At);
                    return true;
                }
        }
        // Everything beaten, or nothing more to try: kill or pick up.
        if (!ASeat.EndTurnFree() || !ASeat.Tried.insert({-1, -1}).second)
            return false;
        Click(ASeat, ASeat.Form->ButtonEndTurn->mapToScene(QPointF(42, 26)).toPoint());
        return true;
    }

    TLogCapture Log;
    TVantServerProcess Server{FreeServerPorts(), {"--bots", "1", "--bot-delay", "20", "--seed", "7"}};
    TDialogServiceDouble Dialogs{TModalResult::mrYes};
};

TEST_F(GameE2eTest, TwoWindowsAndAComputerPlayerPlayAWholeGameByPointer)
{
    TSeat ann(MakeClientWindow(Server.Ports()), QStringLiteral("Ann"));
    TSeat bob(MakeClientWindow(Server.Ports()), QStringLiteral("Bob"));
    // The windows install their own dialog services; ours answers for the player.
    TDialogService::TInstall answersForThePlayer(Dialogs);
    ASSERT_NO_FATAL_FAILURE(ShowAndRegister(ann));
    ASSERT_NO_FATAL_FAILURE(ShowAndRegister(bob));

    Click(ann, ann.Form->ImageDeal->mapToScene(QPointF(46, 45)).toPoint());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ann.Hand().empty() && !bob.Hand().empty(); }, 10000))
        << "the deal reaches both screens: " << Log.Texts().join(u'\n').toStdString();

    const QDeadlineTimer deadline(50000);
    int moves = 0;
    while (!deadline.hasExpired() && (ann.Loser().isEmpty() || bob.Loser().isEmpty())) {
        bool acted = false;
        for (TSeat *seat : {&ann, &bob}) {
            const TJSONValuePtr before = seat->Form->LastData();
            const size_t dialogs = Dialogs.Calls.size();
            if (seat->Loser().isEmpty() && Act(*seat)) {
                acted = true;
                ++moves;
                // A refusal answers at once; an accepted move redraws on its push.
                const bool answered = QTest::qWaitFor(
                    [&] { return Dialogs.Calls.size() > dialogs || seat->Form->LastData() != before; }, 5000);
                // A drop that sends nothing (released off the table) waits here in vain.
                EXPECT_TRUE(answered) << seat->Name.toStdString() << " got no answer to move " << moves;
            }
        }
        if (!acted)
            QTest::qWait(20);
    }

    ASSERT_FALSE(ann.Loser().isEmpty()) << "no loser after " << moves << " moves; Ann mode " << ann.Form->PlayMode()
                                        << " turned " << ann.Form->LayoutInPlay->rotation() << ", Bob mode "
                                        << bob.Form->PlayMode() << " turned " << bob.Form->LayoutInPlay->rotation()
                                        << ", last dialog " << Dialogs.Calls.back().Text.toStdString();
    EXPECT_EQ(ann.Loser(), bob.Loser());
    for (TSeat *seat : {&ann, &bob}) {
        EXPECT_TRUE(seat->Form->LabelWinner->isVisible());
        EXPECT_EQ(seat->Form->LabelWinner->property("text").toString(), seat->Loser());
    }
    ASSERT_FALSE(Dialogs.Calls.empty());
    EXPECT_EQ(Dialogs.Calls.front().Text, "Start a new game?");
    for (size_t i = 1; i < Dialogs.Calls.size(); ++i)
        EXPECT_TRUE(IsLegalRefusal(Dialogs.Calls[i].Text)) << Dialogs.Calls[i].Text.toStdString();
}

} // namespace
