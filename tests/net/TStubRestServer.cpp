#include "TStubRestServer.h"

#include <stdexcept>

TStubRestServer::TStubRestServer(int APort)
{
    SetReply({});
    // The pattern must match paths whose decoded form holds line breaks.
    FServer.Get(R"([\s\S]*)", [this](const httplib::Request &ARequest, httplib::Response &AResponse) {
        THandler handler;
        {
            const std::lock_guard lock(FMutex);
            FRequests.push_back({ARequest.target, ARequest.get_header_value("Accept"), ARequest.remote_port});
            handler = FHandler;
        }
        const TScriptedReply reply = handler(ARequest.target);
        AResponse.status = reply.Status;
        AResponse.set_content(reply.Body, "application/json");
    });
    // Replies go out at once rather than waiting on the client's delayed ACK.
    FServer.set_tcp_nodelay(true);
    // A client that keeps its connection open must not hold up the stop.
    FServer.set_keep_alive_timeout(1);
    if (APort == 0)
        FPort = FServer.bind_to_any_port("127.0.0.1");
    else if (FServer.bind_to_port("127.0.0.1", APort))
        FPort = APort;
    if (FPort <= 0)
        throw std::runtime_error("The stub server cannot listen on 127.0.0.1:" + std::to_string(APort));
    FThread = std::thread([this] { FServer.listen_after_bind(); });
    // stop() only works once the accept loop runs.
    while (!FServer.is_running())
        std::this_thread::yield();
}

TStubRestServer::~TStubRestServer()
{
    FServer.stop();
    FThread.join();
}

void TStubRestServer::SetReply(TScriptedReply AReply)
{
    SetHandler([AReply](const std::string &) { return AReply; });
}

void TStubRestServer::SetHandler(THandler AHandler)
{
    const std::lock_guard lock(FMutex);
    FHandler = std::move(AHandler);
}

std::vector<TRecordedRequest> TStubRestServer::Requests() const
{
    const std::lock_guard lock(FMutex);
    return FRequests;
}
