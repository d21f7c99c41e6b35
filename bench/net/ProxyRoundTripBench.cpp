// PlayerUpdate through the method proxy (request path, HTTP, reply parsing)
// against the floor: a bare kept-alive GET of the same static reply from the
// same in-process server. The ratio of the two is the proxy's overhead.
#include "TStubRestServer.h"
#include "net/ClientClassesUnitREST.h"
#include "net/TDSRestConnection.h"

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <cstdlib>
#include <cstring>

namespace {

// A game state document of four players mid-game, about 2 KB on the wire.
std::string GameStateReply()
{
    TJSONValue document = TJSONValue::object();
    const char *names[] = {"Ann", "Bob", "Carla", "Dmitri"};
    for (int seat = 0; seat < 4; ++seat) {
        TJSONValue player = {{"displayname", names[seat]}, {"hand", {{"count", 6}}}};
        if (seat == 0) {
            player["id"] = 1;
            player["mode"] = 1;
            for (int card = 0; card < 6; ++card)
                player["hand"]["cards"].push_back({{"card", card * 7 + 3}});
        }
        document[std::string("player") + names[seat]] = player;
    }
    document["currentplayer"] = "Bob";
    for (int card = 0; card < 6; ++card)
        document["inplay"]["cards"].push_back({{"card", card * 5 + 1}, {"killingcard", card % 2 ? card * 5 + 9 : -1}});
    document["cardsremaining"] = 12;
    document["cardsdead"] = 10;
    document["trumpcard"] = 22;
    std::string reply = TJSONValue({{"result", TJSONValue::array({document})}}).dump(4);
    return reply;
}

struct TBenchServer
{
    TBenchServer() { Server.SetReply({200, GameStateReply()}); }
    TStubRestServer Server;
};

TBenchServer &Shared()
{
    static TBenchServer server;
    return server;
}

void BM_ProxyPlayerUpdate(benchmark::State &AState)
{
    TDSRestConnection connection;
    connection.SetHost("127.0.0.1");
    connection.SetPort(Shared().Server.Port());
    TServerMethods1Client proxy(connection);
    for (auto _ : AState)
        benchmark::DoNotOptimize(proxy.PlayerUpdate("Ann"));
    AState.SetItemsProcessed(AState.iterations());
    AState.counters["reply_bytes"] = static_cast<double>(GameStateReply().size());
}

void BM_BareGet(benchmark::State &AState)
{
    httplib::Client client("127.0.0.1", Shared().Server.Port());
    client.set_keep_alive(true);
    for (auto _ : AState) {
        httplib::Result result = client.Get("/datasnap/rest/TServerMethods1/PlayerUpdate/Ann/");
        if (!result || result->status != 200)
            AState.SkipWithError("bare GET failed");
        benchmark::DoNotOptimize(result->body.data());
    }
    AState.SetItemsProcessed(AState.iterations());
}

BENCHMARK(BM_ProxyPlayerUpdate)->UseRealTime();
BENCHMARK(BM_BareGet)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    const char *inNetns = std::getenv("VANT_IN_NETNS");
    if (inNetns == nullptr || std::strcmp(inNetns, "1") != 0) {
        std::fprintf(stderr, "Run bench_net inside scripts/in-netns: it opens sockets.\n");
        return 2;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
