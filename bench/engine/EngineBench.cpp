// Seeded computer-vs-computer self-play (games per second) and the cost of
// building one player's game state document.
#include "server/engine/SelfPlay.h"
#include "server/engine/TComputerPlayer.h"
#include "server/engine/TVantGame.h"

#include <benchmark/benchmark.h>

namespace {

void BM_SelfPlayGame(benchmark::State &state)
{
    const int players = static_cast<int>(state.range(0));
    std::uint64_t seed = 1;
    std::int64_t moves = 0;
    for (auto _ : state) {
        const TSelfPlayResult result = PlaySelfGame(seed++, players, 1000);
        benchmark::DoNotOptimize(result.moves);
        moves += result.moves;
    }
    state.counters["games/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["moves/game"] = static_cast<double>(moves) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SelfPlayGame)->DenseRange(2, 6, 2)->Unit(benchmark::kMicrosecond);

// A mid-game position of six players with cards on the table.
void BM_Document(benchmark::State &state)
{
    TVantGame game(5);
    for (int i = 1; i <= 6; ++i)
        game.AddPlayer(QStringLiteral("Player %1").arg(i));
    game.Deal();
    TComputerPlayer sender(game.Sender(), 1);
    sender.Act(game, {});
    const QString name = game.PlayerName(game.Defender());
    for (auto _ : state) {
        const nlohmann::ordered_json document = game.Document(name);
        benchmark::DoNotOptimize(document.size());
    }
}
BENCHMARK(BM_Document)->Unit(benchmark::kMicrosecond);

// The same document written out as the wire sends it.
void BM_DocumentText(benchmark::State &state)
{
    TVantGame game(5);
    for (int i = 1; i <= 6; ++i)
        game.AddPlayer(QStringLiteral("Player %1").arg(i));
    game.Deal();
    const QString name = game.PlayerName(game.Sender());
    for (auto _ : state)
        benchmark::DoNotOptimize(game.Document(name).dump());
}
BENCHMARK(BM_DocumentText)->Unit(benchmark::kMicrosecond);

} // namespace
