// One table update for a 6-player document with a 12-card hand and 12 cards
// in play: the whole update through the real proxy on loopback, the fetch
// alone through the same proxy (the drawing cost is the difference), and an
// update in which one card of the hand changes, with the widgets it creates.
#include "app/uVantRenderGame.h"
#include "cards/UnitCardHandLayout.h"
#include "net/ClientClassesUnitREST.h"
#include "net/TDSRestConnection.h"
#include "tests/net/TStubRestServer.h"

#include "tests/common/HeadlessQt.h"

#include <QGuiApplication>
#include <QQuickStyle>
#include <QSet>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>

namespace {

// The document; AFirstHandCard shifts the hand's first card so that
// consecutive documents differ in exactly one card.
std::string Document(int AFirstHandCard)
{
    TJSONValue doc = TJSONValue::object();
    const char *names[] = {"Ann", "Bob", "Cy", "Dee", "Eve", "Fay"};
    for (int p = 0; p < 6; ++p) {
        TJSONValue player = {{"displayname", names[p]}, {"hand", {{"count", "12"}}}};
        if (p == 0) {
            player["id"] = 1;
            player["mode"] = 1;
            TJSONValue cards = TJSONValue::array();
            cards.push_back({{"card", AFirstHandCard}});
            for (int c = 1; c < 12; ++c)
                cards.push_back({{"card", c}});
            player["hand"]["cards"] = cards;
        }
        doc["player" + QString::fromUtf8(names[p]).toUpper().toStdString()] = player;
    }
    TJSONValue plays = TJSONValue::array();
    for (int c = 0; c < 12; ++c)
        plays.push_back({{"card", 20 + c}, {"killingcard", c % 2 ? 40 + c : -1}});
    doc["inplay"] = {{"cards", plays}};
    doc["currentplayer"] = "Bob";
    doc["cardsremaining"] = 12;
    doc["cardsdead"] = 4;
    doc["trumpcard"] = 51;
    return doc.dump();
}

TScriptedReply Reply(int AFirstHandCard)
{
    return {200, R"({"result":[)" + Document(AFirstHandCard) + "]}"};
}

struct TBenchForm
{
    TBenchForm()
    {
        Form.DSRestConnection1->SetHost(QStringLiteral("127.0.0.1"));
        Form.DSRestConnection1->SetPort(Stub.Port());
        Form.SetPlayerName(QStringLiteral("Ann"));
        Stub.SetReply(Reply(0));
    }
    TStubRestServer Stub;
    TFormRenderGame Form;
};

void BM_UpdateThroughProxy(benchmark::State &state)
{
    TBenchForm bench;
    bench.Form.Update(TJSONValue(true));
    for (auto _ : state)
        bench.Form.Update(TJSONValue(true));
}
BENCHMARK(BM_UpdateThroughProxy)->Unit(benchmark::kMicrosecond);

void BM_FetchOnly(benchmark::State &state)
{
    TBenchForm bench;
    for (auto _ : state)
        benchmark::DoNotOptimize(bench.Form.VantServer()->PlayerUpdate(QStringLiteral("Ann")));
}
BENCHMARK(BM_FetchOnly)->Unit(benchmark::kMicrosecond);

// Every update brings a hand in which one card differs from the last one.
void BM_UpdateOneCardChanges(benchmark::State &state)
{
    TBenchForm bench;
    bench.Form.Update(TJSONValue(true));
    int first = 0;
    double created = 0;
    for (auto _ : state) {
        state.PauseTiming();
        first = first == 0 ? 13 : 0;
        bench.Stub.SetReply(Reply(first));
        const QList<QQuickItem *> children = bench.Form.CardLayout()->childItems();
        const QSet<QQuickItem *> before(children.begin(), children.end());
        state.ResumeTiming();

        bench.Form.Update(TJSONValue(true));

        state.PauseTiming();
        for (QQuickItem *child : bench.Form.CardLayout()->childItems())
            created += before.contains(child) ? 0 : 1;
        state.ResumeTiming();
    }
    state.counters["widgets_created"] = benchmark::Counter(created, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_UpdateOneCardChanges)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    UseHeadlessQt();
    QGuiApplication app(argc, argv);
    QQuickStyle::setStyle(QStringLiteral("Basic"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
