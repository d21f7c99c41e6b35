// vant-server: the reference game server of Vant.
#include "log/LoggingUnit.h"
#include "server/host/TServerOptions.h"
#include "server/host/TVantServer.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vant-server"));

    const TServerOptionsResult parsed = ParseServerOptions(QCoreApplication::arguments());
    if (parsed.HelpRequested) {
        std::fputs(qPrintable(ServerOptionsHelp()), stdout);
        return 0;
    }
    if (!parsed.Error.isEmpty()) {
        std::fprintf(stderr, "vant-server: %s\nTry --help.\n", qPrintable(parsed.Error));
        return 2;
    }

    TEventLog log;
    if (parsed.Options.Verbose)
        log = [](const QString &line) { TLogging::Send(line, TLogSeverity::info); };

    TVantServer server(parsed.Options, log);
    QString error;
    if (!server.Start(error)) {
        std::fprintf(stderr, "vant-server: %s\n", qPrintable(error));
        return 1;
    }
    return QCoreApplication::exec();
}
