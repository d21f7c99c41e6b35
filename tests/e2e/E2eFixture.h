// Shared pieces of the end-to-end tests (and the app benchmarks): the real
// vant-server as a child process on ports chosen free for each test, the
// client window offscreen pointed at that server, and a bare method proxy
// that plays "another client". Run inside scripts/in-netns.
//
// Ports: the window broadcasts "Hello" to its DiscoveryPort and opens its
// push channels on DSPort; both are set to the test server's ports here, so
// test programs running side by side never meet on 15999, 16000 or 211.
#pragma once

#include "app/uVantRenderGame.h"
#include "net/ClientClassesUnitREST.h"
#include "net/TDSRestConnection.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>

// The three ports of one server.
struct TServerPorts
{
    quint16 Http = 0;
    quint16 Push = 0;
    quint16 Discovery = 0;
};

// Ports free on loopback at the moment of the call: two TCP, one UDP.
TServerPorts FreeServerPorts();

// vant-server as a child process. The destructor stops it on every way out
// of the test, so no server outlives its test.
class TVantServerProcess
{
public:
    explicit TVantServerProcess(TServerPorts APorts = FreeServerPorts(), QStringList AExtraArguments = {});
    ~TVantServerProcess();
    TVantServerProcess(const TVantServerProcess &) = delete;
    TVantServerProcess &operator=(const TVantServerProcess &) = delete;

    // Starts the server (announcing host 127.0.0.1) and waits until its REST
    // and push ports accept connections. False, with the reason in AError,
    // when it does not come up within AMilliseconds.
    bool Start(QString &AError, int AMilliseconds = 10000);
    // Kills the server at once (no goodbye to its clients) and waits for it.
    void Kill();
    bool Running() const { return FProcess.state() != QProcess::NotRunning; }
    const TServerPorts &Ports() const { return FPorts; }

private:
    TServerPorts FPorts;
    QStringList FExtraArguments;
    QProcess FProcess;
};

// The client window, loaded hidden, pointed at the server's discovery and
// push ports; Show() starts discovery as in the program.
std::unique_ptr<TFormRenderGame> MakeClientWindow(const TServerPorts &APorts);

// A second client without a window: the method proxy on its own REST
// connection to the server.
class TBareClient
{
public:
    explicit TBareClient(const TServerPorts &APorts);
    TServerMethods1Client &Server() { return FProxy; }

private:
    TDSRestConnection FConnection;
    TServerMethods1Client FProxy;
};
