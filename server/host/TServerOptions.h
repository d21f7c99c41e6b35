// The command line of vant-server: ports, announced host, computer players and
// the seed of the shuffles. Parsing never exits the program itself, so the
// caller decides how to report and tests can drive it.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

struct TServerOptions
{
    static constexpr quint16 DefaultHttpPort = 16000;
    static constexpr quint16 DefaultPushPort = 211;
    static constexpr quint16 DefaultDiscoveryPort = 15999;
    static constexpr int DefaultBotDelayMs = 800;
    static constexpr int MaxBots = 5;

    quint16 HttpPort = DefaultHttpPort;
    quint16 PushPort = DefaultPushPort;
    quint16 DiscoveryPort = DefaultDiscoveryPort;
    QString Host;                 // announced host; empty: the receiving interface's address
    int Bots = 0;
    int BotDelayMs = DefaultBotDelayMs;
    std::optional<std::uint32_t> Seed;  // none: seeded from the clock
    bool Verbose = false;
};

// What the command line asks for: run with options, show the help, or stop
// with an error message (exit code 2).
struct TServerOptionsResult
{
    TServerOptions Options;
    bool HelpRequested = false;
    QString Error;                // non-empty when the command line is unusable
};

TServerOptionsResult ParseServerOptions(const QStringList &arguments);
QString ServerOptionsHelp();
