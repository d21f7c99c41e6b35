// The table update: the real window, offscreen, drawn from game state
// documents that a scripted stand-in of the server's PlayerUpdate returns.
#include "AppTestSupport.h"

#include "cards/UnitCardHandLayout.h"
#include "cards/UnitPlayerLayout.h"
#include "cards/uPlayerFrame.h"
#include "net/TDSRestConnection.h"
#include "tests/net/TStubRestServer.h"

#include <QThread>
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int TurnMs = 200;

// The window, its REST connection pointed at a stub that answers every call
// with the document last given to Serve.
class UpdateTest : public FormTest
{
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        Form->DSRestConnection1->SetHost(QStringLiteral("127.0.0.1"));
        Form->DSRestConnection1->SetPort(Stub.Port());
        Form->SetPlayerName(QStringLiteral("Ann"));
    }

    void Serve(const std::string &ADocument) { Stub.SetReply({200, R"({"result":[)" + ADocument + "]}"}); }

    // Serves the document and runs one update as a push would.
    void Draw(const std::string &ADocument)
    {
        Serve(ADocument);
        Form->QueueUpdate(TJSONValue(true));
        ASSERT_EQ(Form->UpdateDepth(), 0) << "the batch update is ended";
    }

    // Ann (id 4) in play mode AMode, with whatever else AMembers holds.
    static std::string Ann(int AMode, const std::string &AMembers = {})
    {
        return R"({"playerANN":{"id":4,"mode":)" + std::to_string(AMode) +
               R"(,"displayname":"Ann","hand":{"count":"0","cards":[]}})" + (AMembers.empty() ? "" : ",") + AMembers +
               "}";
    }

    QString Text(QQuickItem *AItem) const { return AItem->property("text").toString(); }

    // Lets a table turn run to its end.
    void WaitForTurn()
    {
        EXPECT_TRUE(QTest::qWaitFor([this] { return !Form->FloatAnimationRotateCards.Running(); }, 5 * TurnMs));
    }

    QStringList LinesFrom(qsizetype AFirst) const { return Log.Texts().mid(AFirst); }

    static std::vector<int> CardIndexes(const TCardHandLayout *ARow)
    {
        std::vector<int> indexes;
        for (QQuickItem *child : ARow->childItems())
            indexes.push_back(static_cast<TCardLayout *>(child)->Card()->CardIndex());
        return indexes;
    }

    static std::vector<TCardLayout *> DeckCards(QQuickItem *ADeck)
    {
        std::vector<TCardLayout *> cards;
        for (QQuickItem *child : ADeck->childItems())
            if (auto *card = qobject_cast<TCardLayout *>(child))
                cards.push_back(card);
        return cards;
    }

    static qsizetype StackIndex(QQuickItem *AItem) { return AItem->parentItem()->childItems().indexOf(AItem); }

    // Card sizes are held as float: equal up to that precision.
    static void ExpectSize(const QSizeF &AActual, const QSizeF &AExpected, const char *AWhat)
    {
        EXPECT_NEAR(AActual.width(), AExpected.width(), 1e-3) << AWhat;
        EXPECT_NEAR(AActual.height(), AExpected.height(), 1e-3) << AWhat;
    }

    TStubRestServer Stub;
};

} // namespace

TEST_F(UpdateTest, NoNameOrNoDocumentDrawsNothing)
{
    struct TCase
    {
        const char *Name;
        const char *Reply;
        const char *Target;
    };
    for (const TCase &c :
         {TCase{"", R"({"result":[{"playerANN":{"id":4}}]})", "/datasnap/rest/TServerMethods1/PlayerUpdate//"},
          TCase{"Ann", R"({"result":[]})", "/datasnap/rest/TServerMethods1/PlayerUpdate/Ann/"}}) {
        SCOPED_TRACE(c.Name);
        Form->SetPlayerName(QString::fromUtf8(c.Name));
        const QString caption = Form->Caption();
        const qsizetype lines = Log.Texts().size();
        const qsizetype requests = Stub.Requests().size();
        Form->SetLastDataTime(QDateTime::fromMSecsSinceEpoch(0));
        Stub.SetReply({200, c.Reply});
        Form->QueueUpdate(TJSONValue(true));

        ASSERT_EQ(Stub.Requests().size(), requests + 1) << "the fetch runs even so";
        EXPECT_EQ(Stub.Requests().back().Target, c.Target);
        EXPECT_EQ(LinesFrom(lines), QStringList{"Vant Client Render invalid data"});
        EXPECT_EQ(Form->Caption(), caption);
        EXPECT_EQ(Form->PlayerID(), 0);
        EXPECT_LE(QDateTime::currentDateTime().toMSecsSinceEpoch() - Form->LastDataTime().toMSecsSinceEpoch(), 60000);
        EXPECT_EQ(Form->UpdateDepth(), 0);
    }
    EXPECT_EQ(Form->LastData(), nullptr) << "the last fetch brought no document";
}

TEST_F(UpdateTest, LocalPlayerIsFoundByTheUpperCaseName)
{
    struct TCase
    {
        const char *Name;
        bool Found;
    };
    // The server names the member with the upper-cased name; a full stop
    // splits the path, so that name is never found.
    for (const TCase &c : {TCase{"ann", true}, TCase{"aNn", true}, TCase{"A.nn", false}}) {
        SCOPED_TRACE(c.Name);
        const QString name = QString::fromUtf8(c.Name);
        const QString member = QStringLiteral("player") + name.toUpper();
        Form->SetPlayerName(name);
        const qsizetype lines = Log.Texts().size();
        Draw(QStringLiteral(R"({"%1":{"id":4,"displayname":"%2","hand":{"count":"0"}}})")
                 .arg(member, name)
                 .toStdString());

        const QString idKey = member + QStringLiteral(".id");
        if (c.Found) {
            EXPECT_EQ(LinesFrom(lines), QStringList{"Updating " + idKey});
            EXPECT_EQ(Form->Caption(), "4:" + name + " [Unknown]");
        } else {
            EXPECT_EQ(LinesFrom(lines),
                      (QStringList{"Updating " + idKey, "Vant client update reregistering " + name}));
            EXPECT_EQ(Form->Caption(), name) << "nothing is drawn";
        }
        EXPECT_NE(Form->LastData(), nullptr);
    }
}

TEST_F(UpdateTest, PlayModesSetCaptionPanelsAndTableTurn)
{
    QQuickItem *table = Form->LayoutInPlay;
    struct TStep
    {
        int Mode;
        const char *Caption; // names the previous document's mode
        bool Play, Kill, Send, EndTurn;
        qreal Rotation;
    };
    const TStep steps[] = {
        {1, "4:Ann [Unknown]", false, true, false, true, 0},
        {1, "4:Ann [Defending]", false, true, false, true, 0},
        {2, "4:Ann [Defending]", true, false, false, false, 180},
        {1, "4:Ann [Other Player]", false, true, false, true, 0},
        {2, "4:Ann [Defending]", true, false, false, false, 180},
        {0, "4:Ann [Other Player]", false, false, true, false, 0},
        {7, "4:Ann [Sending]", false, false, false, false, 0},
        {-1, "4:Ann [Unknown]", false, false, false, false, 0},
    };
    for (const TStep &s : steps) {
        SCOPED_TRACE(s.Mode);
        const qreal before = table->rotation();
        Draw(Ann(s.Mode));
        EXPECT_EQ(Form->Caption(), s.Caption);
        EXPECT_EQ(Form->PlayMode(), s.Mode);
        EXPECT_EQ(Form->LayoutPlay->isVisible(), s.Play);
        EXPECT_EQ(Form->LayoutKill->isVisible(), s.Kill);
        EXPECT_EQ(Form->LayoutSend->isVisible(), s.Send);
        EXPECT_EQ(Form->ButtonEndTurn->isVisible(), s.EndTurn);
        // A turn of the table is animated, never a jump.
        EXPECT_EQ(Form->FloatAnimationRotateCards.Running(), before != s.Rotation);
        if (before != s.Rotation) {
            EXPECT_EQ(table->rotation(), before);
        }
        WaitForTurn();
        EXPECT_EQ(table->rotation(), s.Rotation);
    }
}

TEST_F(UpdateTest, SameModeLeavesPanelsAndTurnAsTheyAre)
{
    Draw(Ann(2));
    WaitForTurn();
    Form->LayoutPlay->setVisible(false);
    Form->LayoutInPlay->setRotation(90);

    Draw(Ann(2));
    EXPECT_FALSE(Form->LayoutPlay->isVisible());
    EXPECT_FALSE(Form->FloatAnimationRotateCards.Running());
    EXPECT_EQ(Form->LayoutInPlay->rotation(), 90);
}

TEST_F(UpdateTest, ModeChangeDuringATurnEndsWithTheTableWhereTheNewModeWantsIt)
{
    Draw(Ann(1));
    Draw(Ann(2)); // starts turning the table to 180
    ASSERT_TRUE(Form->FloatAnimationRotateCards.Running());
    Draw(Ann(0)); // before the turn has moved it
    WaitForTurn();
    EXPECT_EQ(Form->LayoutInPlay->rotation(), 0) << "the sender's table is not left turned";
}

TEST_F(UpdateTest, LoserPutsTheTableBackAtOnceAndInFront)
{
    Draw(Ann(1));
    // The change to mode 2 starts a turn that the loser must cut short.
    Draw(Ann(2, R"("loser":"Bob lost")"));
    EXPECT_EQ(Form->LayoutInPlay->rotation(), 0);
    EXPECT_EQ(Text(Form->LabelWinner), "Bob lost");
    EXPECT_TRUE(Form->LabelWinner->isVisible());
    EXPECT_GT(StackIndex(Form->LabelWinner), StackIndex(Form->InPlayLayout())) << "in front of the cards";
    WaitForTurn();
    EXPECT_EQ(Form->LayoutInPlay->rotation(), 0) << "no turn goes on after the loser";

    Draw(Ann(2, R"("currentplayer":"Bob")"));
    EXPECT_FALSE(Form->FloatAnimationRotateCards.Running());
    EXPECT_EQ(Form->LayoutInPlay->rotation(), 0) << "the unchanged mode does not turn the table";
    EXPECT_EQ(Text(Form->LabelWinner), "Bob's turn");
    EXPECT_LT(StackIndex(Form->LabelWinner), StackIndex(Form->InPlayLayout())) << "behind the cards";
}

TEST_F(UpdateTest, TurnTextNamesThePlayerOrYou)
{
    struct TCase
    {
        int Mode;
        const char *Current;
        const char *Text;
    };
    for (const TCase &c : {TCase{2, R"("currentplayer":"Bob")", "Bob's turn"},
                           TCase{0, R"("currentplayer":"Bob")", "Your turn"},
                           TCase{1, R"("currentplayer":"Bob")", "Your turn"},
                           TCase{2, "", "Your turn"}, // the previous turn name stays
                           TCase{2, R"("currentplayer":"You")", "Your turn"},
                           TCase{2, R"("currentplayer":"<b>Eve</b>")", "<b>Eve</b>'s turn"}}) {
        SCOPED_TRACE(c.Text);
        Draw(Ann(c.Mode, c.Current));
        EXPECT_EQ(Text(Form->LabelWinner), c.Text);
        EXPECT_TRUE(Form->LabelWinner->isVisible());
    }
    EXPECT_EQ(Form->LabelWinner->property("textFormat").toInt(), 0) << "plain text";
}

TEST_F(UpdateTest, CardsInPlaySetTheEndTurnFaceAndCover)
{
    struct TCase
    {
        const char *InPlay;
        std::vector<int> Cards;
        const char *Label;
        bool PickUp;
    };
    for (const TCase &c : {
             TCase{R"([{"card":3,"killingcard":-1},{"card":20,"killingcard":0}])", {3, 20}, "Pick Up", true},
             TCase{R"([{"card":3,"killingcard":9},{"card":20,"killingcard":0}])", {3, 20}, "Kill", false},
             TCase{R"([{"card":"7","killingcard":"-1"}])", {7}, "Pick Up", true},
             TCase{"[]", {}, "Kill", false},
         }) {
        SCOPED_TRACE(c.InPlay);
        // The previous document's cover has counted down and gone.
        Form->RectangleDisableEndTurn->setVisible(false);
        Form->LabelEndTurnTimer->setProperty("text", "1");
        Form->TimerEndTurnClock->setProperty("running", false);

        Draw(Ann(1, std::string(R"("inplay":{"cards":)") + c.InPlay + "}"));
        EXPECT_EQ(CardIndexes(Form->InPlayLayout()), c.Cards);
        EXPECT_EQ(Text(Form->LabelEndTurn), c.Label);
        EXPECT_EQ(Form->ImagePickUp->isVisible(), c.PickUp);
        EXPECT_EQ(Form->ImageKill->isVisible(), !c.PickUp);
        EXPECT_TRUE(Form->RectangleDisableEndTurn->isVisible());
        EXPECT_EQ(Text(Form->LabelEndTurnTimer), "5");
        EXPECT_TRUE(Form->TimerEndTurnClock->property("running").toBool());
    }
    // Without inplay.cards the table, the face and the cover stay.
    Draw(Ann(1, R"("inplay":{"cards":[{"card":3,"killingcard":0}]})"));
    Form->RectangleDisableEndTurn->setVisible(false);
    Draw(Ann(1));
    EXPECT_EQ(CardIndexes(Form->InPlayLayout()), std::vector<int>{3});
    EXPECT_TRUE(Form->InPlayLayout()->FindCard(3)->IsDead());
    EXPECT_EQ(Form->InPlayLayout()->FindCard(3)->KillCard()->CardIndex(), 0);
    EXPECT_FALSE(Form->RectangleDisableEndTurn->isVisible());
}

TEST_F(UpdateTest, PlayerRowHandAndCounts)
{
    Draw(R"({"playerBOB":{"displayname":"Bob","hand":{"count":"6"}},)"
         R"("playerANN":{"id":4,"mode":1,"displayname":"Ann","hand":{"count":"3",)"
         R"("cards":[{"card":51},{"card":"0"},{"card":17}]}},)"
         R"("players":{"displayname":"Cy"},"cardsremaining":20,"cardsdead":"7"})");

    QStringList names, counts;
    for (const TFramePlayer *frame : Form->PlayerLayout()->Frames()) {
        names << frame->PlayerName();
        counts << frame->CardsLeft();
    }
    EXPECT_EQ(names, (QStringList{"Bob", "Cy"})) << "document order, the local player left out";
    EXPECT_EQ(counts, (QStringList{"6", ""})) << "a missing count is empty, never another player's";
    EXPECT_EQ(CardIndexes(Form->CardLayout()), (std::vector<int>{51, 0, 17}));
    EXPECT_EQ(Text(Form->LabelDeckCount), "20");
    EXPECT_EQ(Text(Form->LabelBoneyardCount), "7");

    // Bob left; the hand keeps the widgets of the cards that stayed.
    TCardLayout *kept = Form->CardLayout()->FindCard(17);
    Draw(R"({"playerANN":{"id":4,"displayname":"Ann","hand":{"count":"2","cards":[{"card":17},{"card":5}]}}})");
    EXPECT_TRUE(Form->PlayerLayout()->Frames().isEmpty());
    EXPECT_EQ(CardIndexes(Form->CardLayout()), (std::vector<int>{17, 5}));
    EXPECT_EQ(Form->CardLayout()->FindCard(17), kept);
    EXPECT_EQ(Text(Form->LabelDeckCount), "20") << "a missing count stays";
}

TEST_F(UpdateTest, TrumpCardIsReplacedOnlyWhenItChanges)
{
    ShowForm();
    QQuickItem *deck = Form->ImageCardDeck;
    const QSizeF deckSize = deck->size();
    ASSERT_FALSE(deckSize.isEmpty());

    Draw(Ann(1, R"("trumpcard":12)"));
    std::vector<TCardLayout *> cards = DeckCards(deck);
    ASSERT_EQ(cards.size(), 1u);
    TCardLayout *trump = cards.front();
    EXPECT_EQ(trump->Card()->CardIndex(), 12);
    EXPECT_EQ(trump->position(), QPointF(10, 10));
    ExpectSize(trump->size(), deckSize, "widget");
    ExpectSize(QSizeF(trump->CardWidth(), trump->CardHeight()), deckSize, "card");
    ExpectSize(QSizeF(Form->CardWidth(), Form->CardHeight()), deckSize, "the drag card takes the deck's size");
    const QList<QQuickItem *> stack = deck->childItems();
    EXPECT_EQ(stack.mid(stack.size() - 2), (QList<QQuickItem *>{Form->Rectangle2, Form->LabelDeckCount}))
        << "the deck count stays over the trump card";

    Form->SetCardWidth(1);
    Draw(Ann(1, R"("trumpcard":"12")"));
    EXPECT_EQ(DeckCards(deck), std::vector<TCardLayout *>{trump});
    EXPECT_EQ(Form->CardWidth(), 1) << "the same card changes nothing";

    // The deck area grows: the card fills the picture where it was placed.
    Form->Window()->resize(Form->Window()->size() + QSize(200, 100));
    ASSERT_TRUE(QTest::qWaitFor([&] { return deck->size() != deckSize; }, 2000));
    ExpectSize(trump->size(), deck->size(), "widget after resize");
    ExpectSize(QSizeF(trump->CardWidth(), trump->CardHeight()), deck->size(), "card after resize");
    EXPECT_EQ(trump->position(), QPointF(10, 10));

    QPointer<TCardLayout> old(trump);
    Draw(Ann(1, R"("trumpcard":40)"));
    cards = DeckCards(deck);
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards.front()->Card()->CardIndex(), 40);
    ExpectSize(QSizeF(Form->CardWidth(), Form->CardHeight()), deck->size(), "drag card after the change");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(old.isNull()) << "the old trump card is freed";
}

TEST_F(UpdateTest, MalformedDocumentStopsWhereItFailsWithOneLine)
{
    // Each document draws the caption, fails part-way and must leave the
    // parts after the failure as they were.
    struct TCase
    {
        const char *Why;
        std::string Document;
        bool HandDrawn;
        const char *DeckCount;
    };
    const std::string hand = R"("playerANN":{"id":4,"mode":1,"displayname":"Ann","hand":{"count":"1","cards":)";
    for (const TCase &c : {
             TCase{"hand not an array", "{" + hand + R"({"card":1}}},"cardsremaining":9})", false, "0"},
             TCase{"card not whole", "{" + hand + R"([{"card":1.5}]}},"cardsremaining":9})", false, "0"},
             TCase{"card missing", "{" + hand + R"([{"kard":1}]}},"cardsremaining":9})", false, "0"},
             TCase{"no killingcard",
                   "{" + hand + R"([{"card":1}]}},"inplay":{"cards":[{"card":2}]},"cardsremaining":9})", true, "0"},
             TCase{"trump not whole",
                   "{" + hand + R"([{"card":1}]}},"trumpcard":"x","cardsremaining":9,"loser":"Z"})", true, "9"},
         }) {
        SCOPED_TRACE(c.Why);
        Form->SetPlayMode(-1);
        Form->SetCaption(QStringLiteral("before"));
        Form->CardLayout()->StartDataUpdate();
        Form->CardLayout()->EndDataUpdate();
        Form->LabelDeckCount->setProperty("text", "0");
        Form->LabelWinner->setProperty("text", "");
        const qsizetype lines = Log.Texts().size();

        Draw(c.Document);
        EXPECT_EQ(Form->Caption(), "4:Ann [Unknown]") << "drawn before the failure";
        EXPECT_EQ(CardIndexes(Form->CardLayout()), c.HandDrawn ? std::vector<int>{1} : std::vector<int>{});
        EXPECT_EQ(Text(Form->LabelDeckCount), c.DeckCount) << "the count comes before the trump card";
        EXPECT_EQ(Text(Form->LabelWinner), "") << "nothing after the failure";
        const QStringList logged = LinesFrom(lines);
        ASSERT_EQ(logged.size(), 2) << logged.join(u'\n').toStdString();
        EXPECT_EQ(logged[0], "Updating playerANN.id");
        EXPECT_TRUE(logged[1].startsWith("Form Vant Server TMainThreadQueue ")) << logged[1].toStdString();
    }
}

TEST_F(UpdateTest, FailedFetchOrBadIdLeavesTheTable)
{
    struct TCase
    {
        const char *Why;
        TScriptedReply Reply;
        int Lines;
    };
    for (const TCase &c : {TCase{"server error", {500, R"({"error":"no game"})"}, 1},
                           TCase{"id not whole", {200, R"({"result":[{"playerANN":{"id":"four"}}]})"}, 2},
                           TCase{"mode not a number",
                                 {200, R"({"result":[{"playerANN":{"id":4,"mode":"one"}}]})"}, 2}}) {
        SCOPED_TRACE(c.Why);
        Form->SetCaption(QStringLiteral("before"));
        const qsizetype lines = Log.Texts().size();
        Stub.SetReply(c.Reply);
        Form->QueueUpdate(TJSONValue(true));

        EXPECT_EQ(Form->UpdateDepth(), 0);
        EXPECT_EQ(Form->PlayMode(), -1);
        const QStringList logged = LinesFrom(lines);
        ASSERT_EQ(logged.size(), c.Lines) << logged.join(u'\n').toStdString();
        EXPECT_TRUE(logged.back().startsWith("Form Vant Server TMainThreadQueue ")) << logged.back().toStdString();
    }
    EXPECT_EQ(Form->Caption(), "4:Ann [Unknown]") << "the id was read before the mode failed";
}

TEST_F(UpdateTest, QueuedFromManyThreadsRunsOnTheMainThreadOneAtATime)
{
    std::atomic<int> inFlight{0};
    std::atomic<int> mostInFlight{0};
    Stub.SetHandler([&](const std::string &) {
        const int now = ++inFlight;
        mostInFlight = std::max(mostInFlight.load(), now);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        --inFlight;
        return TScriptedReply{200, R"({"result":[)" + Ann(1) + "]}"};
    });
    std::mutex mutex;
    std::vector<QThread *> updateThreads;
    TLogging::SetDebugSink([&](const QString &AText) {
        if (AText.contains(QLatin1String("Updating ")) || AText.contains(QLatin1String("Form Vant Server"))) {
            const std::lock_guard lock(mutex);
            updateThreads.push_back(QThread::currentThread());
        }
    });

    constexpr int Threads = 4;
    constexpr int PerThread = 5;
    std::vector<std::thread> pushers;
    for (int t = 0; t < Threads; ++t)
        pushers.emplace_back([this] {
            for (int i = 0; i < PerThread; ++i)
                Form->QueueUpdate(TJSONValue(i));
        });
    for (std::thread &pusher : pushers)
        pusher.join();
    EXPECT_TRUE(Stub.Requests().empty()) << "QueueUpdate from another thread returns before the update runs";

    EXPECT_TRUE(QTest::qWaitFor([&] { return Stub.Requests().size() == Threads * PerThread; }, 10000));
    QCoreApplication::processEvents();
    EXPECT_EQ(mostInFlight.load(), 1);
    const std::lock_guard lock(mutex);
    ASSERT_EQ(updateThreads.size(), size_t(Threads * PerThread)) << "every update ran once, without failure";
    for (QThread *thread : updateThreads)
        EXPECT_EQ(thread, QCoreApplication::instance()->thread());
}

TEST_F(UpdateTest, UpdateQueuedForAClosedWindowDoesNothing)
{
    Serve(Ann(1));
    std::thread([this] { Form->QueueUpdate(TJSONValue(true)); }).join();
    Form.reset();
    QCoreApplication::processEvents();
    for (const TRecordedRequest &request : Stub.Requests())
        EXPECT_EQ(request.Target.find("PlayerUpdate"), std::string::npos) << request.Target;
}
