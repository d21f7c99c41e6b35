#include "server/host/TServerOptions.h"

#include <gtest/gtest.h>

namespace {

TServerOptionsResult Parse(QStringList arguments)
{
    arguments.prepend(QStringLiteral("vant-server"));
    return ParseServerOptions(arguments);
}

TEST(ServerOptions, DefaultsAreTheGamePorts)
{
    const TServerOptionsResult result = Parse({});
    ASSERT_TRUE(result.Error.isEmpty());
    EXPECT_EQ(result.Options.HttpPort, 16000);
    EXPECT_EQ(result.Options.PushPort, 211);
    EXPECT_EQ(result.Options.DiscoveryPort, 15999);
    EXPECT_EQ(result.Options.Bots, 0);
    EXPECT_FALSE(result.Options.Seed.has_value());
    EXPECT_TRUE(result.Options.Host.isEmpty());
}

TEST(ServerOptions, ReadsEveryOption)
{
    const TServerOptionsResult result =
        Parse({"--http-port", "17000", "--push-port=17001", "--discovery-port", "0", "--host", "10.0.0.5",
               "--bots", "3", "--bot-delay", "50", "--seed", "4294967295", "--verbose"});
    ASSERT_TRUE(result.Error.isEmpty()) << result.Error.toStdString();
    EXPECT_EQ(result.Options.HttpPort, 17000);
    EXPECT_EQ(result.Options.PushPort, 17001);
    EXPECT_EQ(result.Options.DiscoveryPort, 0);
    EXPECT_EQ(result.Options.Host, "10.0.0.5");
    EXPECT_EQ(result.Options.Bots, 3);
    EXPECT_EQ(result.Options.BotDelayMs, 50);
    EXPECT_EQ(result.Options.Seed, 4294967295u);
    EXPECT_TRUE(result.Options.Verbose);
}

TEST(ServerOptions, HelpIsAskedNotRun)
{
    EXPECT_TRUE(Parse({"--help"}).HelpRequested);
    const QString help = ServerOptionsHelp();
    for (const char *option : {"--http-port", "--push-port", "--discovery-port", "--host", "--bots", "--bot-delay",
                               "--seed"})
        EXPECT_TRUE(help.contains(QLatin1String(option))) << option;
}

TEST(ServerOptions, UnusableCommandLinesNameTheProblem)
{
    const struct
    {
        QStringList arguments;
        const char *mentions;
    } cases[] = {
        {{"--http-port", "65536"}, "--http-port"},
        {{"--push-port", "-1"}, "--push-port"},
        {{"--discovery-port", "12ab"}, "--discovery-port"},
        {{"--bots", "6"}, "--bots"},
        {{"--bot-delay", "fast"}, "--bot-delay"},
        {{"--seed", "4294967296"}, "--seed"},
        {{"--host", "  "}, "--host"},
        {{"--colour"}, "colour"},
        {{"--http-port"}, "http-port"},
        {{"extra"}, "extra"},
    };
    for (const auto &c : cases) {
        const TServerOptionsResult result = Parse(c.arguments);
        EXPECT_FALSE(result.HelpRequested);
        EXPECT_TRUE(result.Error.contains(QLatin1String(c.mentions)))
            << c.arguments.join(' ').toStdString() << " -> " << result.Error.toStdString();
    }
}

} // namespace
