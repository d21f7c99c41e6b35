// An HTTP server on a loopback port for tests and benchmarks of the method
// proxy: it records every request and answers with a scripted reply. It runs
// on its own thread from construction to destruction (the destructor stops
// and joins it on every way out).
#pragma once

#include <httplib.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct TRecordedRequest
{
    std::string Target; // the raw request target, as encoded on the wire
    std::string Accept;
    int RemotePort = 0;
};

struct TScriptedReply
{
    int Status = 200;
    std::string Body = R"({"result":[true]})";
};

class TStubRestServer
{
public:
    using THandler = std::function<TScriptedReply(const std::string &ATarget)>;

    // Listens on 127.0.0.1 at APort (0: any free port); throws
    // std::runtime_error when it cannot.
    explicit TStubRestServer(int APort = 0);
    ~TStubRestServer();
    TStubRestServer(const TStubRestServer &) = delete;
    TStubRestServer &operator=(const TStubRestServer &) = delete;

    int Port() const { return FPort; }
    void SetReply(TScriptedReply AReply);
    void SetHandler(THandler AHandler);
    std::vector<TRecordedRequest> Requests() const;

private:
    httplib::Server FServer;
    int FPort = 0;
    std::thread FThread;
    mutable std::mutex FMutex;
    THandler FHandler;
    std::vector<TRecordedRequest> FRequests;
};
