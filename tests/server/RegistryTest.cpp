// The rules of registering, reconnecting and removing players, with addresses
// given directly (on one machine every socket is loopback).
#include "server/engine/TVantGame.h"
#include "server/host/TAddressKey.h"
#include "server/host/TPlayerRegistry.h"

#include <QHostAddress>
#include <QSet>
#include <gtest/gtest.h>

namespace {

const QString Here = QStringLiteral("192.168.1.20");
const QString There = QStringLiteral("192.168.1.21");

class Registry : public ::testing::Test
{
protected:
    TVantGame game{1};
    QSet<QString> connected;  // client ids whose push channels are open
    TPlayerRegistry registry{game, [this](const QString &id) { return connected.contains(id); }};

    QString Refusal(const QString &name, const QString &clientId, const QString &address)
    {
        try {
            registry.Register(name, clientId, address);
        } catch (const ERegistryError &e) {
            return QString::fromUtf8(e.what());
        }
        return {};
    }
};

TEST_F(Registry, TrimsNamesAndMatchesThemIgnoringCase)
{
    const int id = registry.Register(QStringLiteral("  J\u00f6rg \t"), QStringLiteral("c1"), Here);
    EXPECT_EQ(game.PlayerName(id), QStringLiteral("J\u00f6rg"));
    EXPECT_EQ(registry.FindPlayer(QStringLiteral("J\u00d6RG")), id);
    EXPECT_EQ(registry.Register(QStringLiteral("j\u00f6rg"), QStringLiteral("c2"), Here), id);
    EXPECT_EQ(registry.Holder(id)->ClientId, "c2");
    EXPECT_EQ(game.Players().size(), 1u);
}

TEST_F(Registry, RefusesUnusableNames)
{
    const struct
    {
        QString name;
        const char *reason;
    } cases[] = {
        {QString(), "required"},
        {QStringLiteral(" \t "), "required"},
        {QString(33, QLatin1Char('x')), "at most 32"},
        {QStringLiteral("Ann.B"), "full stop"},
        {QStringLiteral("An\x01n"), "control"},
        {QStringLiteral("An\nn"), "control"},
        {QStringLiteral("An\u0085n"), "control"},
    };
    for (const auto &c : cases)
        EXPECT_TRUE(Refusal(c.name, QStringLiteral("c"), Here).contains(QLatin1String(c.reason)))
            << c.name.toStdString();
    EXPECT_TRUE(game.Players().empty());
    // 32 characters, counted as characters not UTF-16 units.
    EXPECT_TRUE(Refusal(QString(32, QLatin1Char('x')), QStringLiteral("c"), Here).isEmpty());
    EXPECT_TRUE(Refusal(QString(16, QLatin1Char('y')) + QString(16, QChar(0x00e9)), QStringLiteral("c"), Here).isEmpty());
    EXPECT_TRUE(Refusal(QString::fromUcs4(U"\U0001F600").repeated(32), QStringLiteral("c"), Here).isEmpty());
}

TEST_F(Registry, RefusesANewNameWhenTheTableIsFullButStillReconnects)
{
    for (int i = 0; i < TPlayerRegistry::MaxPlayers; ++i)
        registry.Register(QStringLiteral("P%1").arg(i), QStringLiteral("c%1").arg(i), Here);
    EXPECT_TRUE(Refusal(QStringLiteral("Late"), QStringLiteral("x"), Here).contains(QLatin1String("full")));
    EXPECT_TRUE(Refusal(QStringLiteral("p3"), QStringLiteral("x"), Here).isEmpty());
}

TEST_F(Registry, ASeatInUseElsewhereIsOnlyTakenOnceItsChannelsDropped)
{
    const int id = registry.Register(QStringLiteral("Ann"), QStringLiteral("ann-client"), Here);
    connected.insert(QStringLiteral("ann-client"));

    EXPECT_TRUE(Refusal(QStringLiteral("ANN"), QStringLiteral("thief"), There).contains(QLatin1String("in use")));
    EXPECT_EQ(registry.Holder(id)->ClientId, "ann-client");
    EXPECT_EQ(registry.Holder(id)->AddressKey, Here);

    // Same machine, channels still open: a reconnect with the new client id.
    EXPECT_EQ(registry.Register(QStringLiteral("Ann"), QStringLiteral("ann-client-2"), Here), id);
    // Its channels (under the new client id) are closed: anyone may take it.
    EXPECT_EQ(registry.Register(QStringLiteral("Ann"), QStringLiteral("ann-laptop"), There), id);
    EXPECT_EQ(registry.Holder(id)->AddressKey, There);
}

TEST_F(Registry, AComputerPlayersSeatIsNeverTaken)
{
    const int id = registry.Register(QStringLiteral("Robot 1"), QString(), ServerAddressKey(), true);
    EXPECT_FALSE(Refusal(QStringLiteral("robot 1"), QStringLiteral("c"), AddressKey(QHostAddress::LocalHost)).isEmpty());
    EXPECT_EQ(registry.Holder(id)->AddressKey, ServerAddressKey());
}

TEST_F(Registry, OnlyTheSeatsAddressChangesItsClientId)
{
    const int id = registry.Register(QStringLiteral("Ann"), QStringLiteral("a"), Here);
    connected.insert(QStringLiteral("a"));
    // Otherwise another machine could make the seat look disconnected, then take it.
    EXPECT_THROW(registry.SetClientId(QStringLiteral("Ann"), QStringLiteral("b"), There), ERegistryError);
    EXPECT_EQ(registry.Holder(id)->ClientId, "a");
    registry.SetClientId(QStringLiteral(" ann "), QStringLiteral("b"), Here);
    EXPECT_EQ(registry.Holder(id)->ClientId, "b");
    EXPECT_THROW(registry.SetClientId(QStringLiteral("Nobody"), QStringLiteral("b"), Here), ERegistryError);
}

TEST_F(Registry, DeleteRemovesThePlayerAndItsSeatHolder)
{
    const int ann = registry.Register(QStringLiteral("Ann"), QStringLiteral("a"), Here);
    const int bob = registry.Register(QStringLiteral("Bob"), QStringLiteral("b"), There);
    registry.Delete(QStringLiteral("ANN"));
    EXPECT_EQ(registry.Holder(ann), nullptr);
    EXPECT_FALSE(game.FindPlayer(QStringLiteral("Ann")));
    EXPECT_THROW(registry.Delete(QStringLiteral("Ann")), ERegistryError);
    EXPECT_EQ(registry.PlayersDocument().dump(),
              R"({"player)" + std::to_string(bob) + R"(":{"name":"Bob","id":)" + std::to_string(bob) + "}}");
    // A new registration gets a new id, never the deleted one.
    EXPECT_NE(registry.Register(QStringLiteral("Ann"), QStringLiteral("a"), Here), ann);
}

} // namespace
