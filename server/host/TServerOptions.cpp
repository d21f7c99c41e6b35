#include "server/host/TServerOptions.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace {

struct TParserSetup
{
    QCommandLineParser Parser;
    QCommandLineOption HttpPort{QStringLiteral("http-port"),
        QStringLiteral("TCP port of the REST methods (default 16000)."), QStringLiteral("port")};
    QCommandLineOption PushPort{QStringLiteral("push-port"),
        QStringLiteral("TCP port of the WebSocket push channels (default 211; below 1024 needs root "
                       "or CAP_NET_BIND_SERVICE)."), QStringLiteral("port")};
    QCommandLineOption DiscoveryPort{QStringLiteral("discovery-port"),
        QStringLiteral("UDP port answering \"Hello\" (default 15999)."), QStringLiteral("port")};
    QCommandLineOption Host{QStringLiteral("host"),
        QStringLiteral("Host announced to clients (default: the address of the interface the "
                       "request came in on)."), QStringLiteral("address")};
    QCommandLineOption Bots{QStringLiteral("bots"),
        QStringLiteral("Number of computer players that join, 0 to 5 (default 0)."), QStringLiteral("n")};
    QCommandLineOption BotDelay{QStringLiteral("bot-delay"),
        QStringLiteral("Milliseconds a computer player waits before it moves (default 800)."),
        QStringLiteral("ms")};
    QCommandLineOption Seed{QStringLiteral("seed"),
        QStringLiteral("Seed of the shuffles, for repeatable games (default: from the clock)."),
        QStringLiteral("n")};
    QCommandLineOption Verbose{QStringLiteral("verbose"),
        QStringLiteral("Write one line per request and event to standard error.")};

    TParserSetup()
    {
        Parser.setApplicationDescription(QStringLiteral("Vant game server: REST methods, discovery "
                                                        "and push channels on one event loop."));
        Parser.addHelpOption();
        Parser.addOptions({HttpPort, PushPort, DiscoveryPort, Host, Bots, BotDelay, Seed, Verbose});
    }
};

// A whole decimal number in [low, high]; the error names the option.
std::optional<qint64> ReadNumber(const QString &text, qint64 low, qint64 high, const QString &option,
                                 QString &error)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok, 10);
    if (!ok || text.trimmed() != text || value < low || value > high) {
        error = QStringLiteral("--%1 needs a whole number from %2 to %3, not \"%4\"")
                    .arg(option).arg(low).arg(high).arg(text);
        return std::nullopt;
    }
    return value;
}

} // namespace

TServerOptionsResult ParseServerOptions(const QStringList &arguments)
{
    TParserSetup setup;
    TServerOptionsResult result;
    QCommandLineParser &parser = setup.Parser;
    if (!parser.parse(arguments)) {
        result.Error = parser.errorText();
        return result;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        result.HelpRequested = true;
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.Error = QStringLiteral("Unexpected argument \"%1\"").arg(parser.positionalArguments().first());
        return result;
    }

    TServerOptions &options = result.Options;
    QString &error = result.Error;
    const auto port = [&](const QCommandLineOption &option, quint16 &target) {
        if (!error.isEmpty() || !parser.isSet(option))
            return;
        if (const auto value = ReadNumber(parser.value(option), 0, 65535, option.names().first(), error))
            target = static_cast<quint16>(*value);
    };
    port(setup.HttpPort, options.HttpPort);
    port(setup.PushPort, options.PushPort);
    port(setup.DiscoveryPort, options.DiscoveryPort);
    if (error.isEmpty() && parser.isSet(setup.Host)) {
        options.Host = parser.value(setup.Host).trimmed();
        if (options.Host.isEmpty())
            error = QStringLiteral("--host needs an address");
    }
    if (error.isEmpty() && parser.isSet(setup.Bots)) {
        if (const auto value = ReadNumber(parser.value(setup.Bots), 0, TServerOptions::MaxBots,
                                          QStringLiteral("bots"), error))
            options.Bots = static_cast<int>(*value);
    }
    if (error.isEmpty() && parser.isSet(setup.BotDelay)) {
        if (const auto value = ReadNumber(parser.value(setup.BotDelay), 0, 600000,
                                          QStringLiteral("bot-delay"), error))
            options.BotDelayMs = static_cast<int>(*value);
    }
    if (error.isEmpty() && parser.isSet(setup.Seed)) {
        if (const auto value = ReadNumber(parser.value(setup.Seed), 0, 0xFFFFFFFFLL,
                                          QStringLiteral("seed"), error))
            options.Seed = static_cast<std::uint32_t>(*value);
    }
    options.Verbose = parser.isSet(setup.Verbose);
    return result;
}

QString ServerOptionsHelp()
{
    return TParserSetup().Parser.helpText();
}
