// End to end with the real vant-server: the window finds the server,
// registers, and redraws on pushes, also across a server restart.
#include "E2eFixture.h"

#include "tests/app/AppTestSupport.h"

#include <QColor>

namespace {

// Log lines for a failure message.
std::string Joined(const QStringList &ALines)
{
    return ALines.join(u'\n').toStdString();
}

const QColor Green = QColor::fromRgba(0xFF008000);

QColor Light(const TFormRenderGame &AForm)
{
    return AForm.ColorButton1->property("color").value<QColor>();
}

// Pushes on VantUpdate (StateChange) until the window has redrawn from a
// fresh document: proves the push tunnel is open end to end.
bool RedrawsOnPush(TFormRenderGame &AForm, TBareClient &AOther, int AMilliseconds)
{
    const QDeadlineTimer deadline(AMilliseconds);
    while (!deadline.hasExpired()) {
        const TJSONValuePtr before = AForm.LastData();
        AOther.Server().StateChange();
        if (QTest::qWaitFor([&] { return AForm.LastData() != before; }, 300))
            return true;
    }
    return false;
}

} // namespace

class ConnectE2eTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(Server.Start(error)) << error.toStdString();
    }

    // Shows the window and registers it as AName through the panel, as a
    // player would.
    void DiscoverAndRegister(const QString &AName)
    {
        Form->Show();
        // The panel is visible at design until the window is shown: wait for
        // what only an announcement brings.
        ASSERT_TRUE(QTest::qWaitFor([&] { return Light(*Form) == Green && Form->LayoutRegister->isVisible(); },
                                    10000))
            << Joined(Log.Texts());
        Form->ComboEditPlayers->setProperty("editText", AName);
        Form->ButtonRegisterClick(Form->ImageRegister);
        ASSERT_FALSE(Form->LayoutRegister->isVisible()) << Joined(Log.Texts());
    }

    TLogCapture Log;
    TVantServerProcess Server;
    TBareClient Bob{Server.Ports()};
    std::unique_ptr<TFormRenderGame> Form = MakeClientWindow(Server.Ports());
};

TEST_F(ConnectE2eTest, FindsTheServerRegistersAndRedrawsOnAnotherPlayersDeal)
{
    ASSERT_TRUE(Bob.Server().RegisterPlayer(QStringLiteral("Bob"), QStringLiteral("bobclient")));
    DiscoverAndRegister(QStringLiteral("Ann"));

    EXPECT_EQ(Form->ComboEditPlayers->property("model").toStringList(), QStringList{"Bob"})
        << "the known names at discovery";
    EXPECT_GT(Form->PlayerID(), 0);
    EXPECT_EQ(Form->PlayerName(), "Ann");
    EXPECT_TRUE(Log.Texts().contains(
        QStringLiteral("Vant Client Found Server at 127.0.0.1:%1").arg(Server.Ports().Http)));
    ASSERT_TRUE(RedrawsOnPush(*Form, Bob, 10000)) << "the push tunnel opens";

    // Bob deals; Ann's window redraws from Ann's own document, by itself.
    const TJSONValuePtr before = Form->LastData();
    ASSERT_TRUE(Bob.Server().Deal());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const TJSONValuePtr doc = Form->LastData();
            return doc != before && doc && vantjson::FindValue(*doc, QStringLiteral("playerANN.hand.cards"));
        },
        10000));
    const TJSONValue &doc = *Form->LastData();
    const auto &cards = *vantjson::FindValue(doc, QStringLiteral("playerANN.hand.cards"));
    EXPECT_EQ(cards.size(), 6u);
    EXPECT_EQ(Form->LabelDeckCount->property("text").toString(),
              vantjson::ValueText(*vantjson::FindValue(doc, QStringLiteral("cardsremaining"))));
}

TEST_F(ConnectE2eTest, ServerRestartCostsTheClientNothingButAFewSeconds)
{
    DiscoverAndRegister(QStringLiteral("Ann"));
    ASSERT_TRUE(RedrawsOnPush(*Form, Bob, 10000));

    Server.Kill();
    const QString channelError = QStringLiteral("Vant Client DS Callback Channel Error ");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return std::any_of(Log.Texts().begin(), Log.Texts().end(),
                                 [&](const QString &t) { return t.startsWith(channelError); }); },
        10000));
    EXPECT_EQ(Light(*Form), Green) << "a dropped tunnel changes nothing on the window";

    QString error;
    ASSERT_TRUE(Server.Start(error)) << error.toStdString();
    // The new server knows nobody: the players come back (Ann from her own
    // machine, under her client id), and the window redraws on the next push.
    ASSERT_TRUE(Bob.Server().RegisterPlayer(QStringLiteral("Ann"), Form->ClientID()));
    ASSERT_TRUE(Bob.Server().RegisterPlayer(QStringLiteral("Bob"), QStringLiteral("bobclient")));
    ASSERT_TRUE(RedrawsOnPush(*Form, Bob, 15000)) << "the tunnels reconnect without a restart";
    ASSERT_NE(Form->LastData(), nullptr);
    EXPECT_NE(vantjson::FindValue(*Form->LastData(), QStringLiteral("playerANN.id")), nullptr);
}
