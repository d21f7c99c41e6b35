// Push to screen on loopback: from the moment another client asks the real
// vant-server for a change (StateChange, which pushes on VantUpdate) to the
// window's queued table update having finished, beside the bare round trip
// of one PlayerUpdate measured in the same run. Run inside scripts/in-netns:
//   scripts/in-netns build-<you>/bench/app/bench_app_push
#include "E2eFixture.h"

#include "log/LoggingUnit.h"

#include "tests/common/HeadlessQt.h"

#include <QColor>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTest>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <vector>

namespace {

struct TSession
{
    TVantServerProcess Server;
    TBareClient Bob{Server.Ports()};
    std::unique_ptr<TFormRenderGame> Form = MakeClientWindow(Server.Ports());
};

TSession *Session = nullptr;

// Median and 99th percentile in milliseconds, as counters of the run.
void Report(benchmark::State &AState, std::vector<double> ASamples)
{
    if (ASamples.empty())
        return;
    std::sort(ASamples.begin(), ASamples.end());
    AState.counters["median_ms"] = ASamples[ASamples.size() / 2] * 1e3;
    AState.counters["p99_ms"] = ASamples[std::min(ASamples.size() - 1, ASamples.size() * 99 / 100)] * 1e3;
}

void BM_PushToScreen(benchmark::State &AState)
{
    TFormRenderGame &form = *Session->Form;
    std::vector<double> samples;
    for (auto _ : AState) {
        const TJSONValuePtr before = form.LastData();
        QElapsedTimer clock;
        clock.start();
        Session->Bob.Server().StateChange();
        while (form.LastData() == before && clock.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        const double seconds = clock.nsecsElapsed() / 1e9;
        if (form.LastData() == before) {
            AState.SkipWithError("no redraw within 2 s");
            break;
        }
        AState.SetIterationTime(seconds);
        samples.push_back(seconds);
    }
    Report(AState, std::move(samples));
}
BENCHMARK(BM_PushToScreen)->UseManualTime()->Iterations(300)->Unit(benchmark::kMillisecond);

void BM_PlayerUpdateRoundTrip(benchmark::State &AState)
{
    TServerMethods1Client &proxy = *Session->Form->VantServer();
    std::vector<double> samples;
    for (auto _ : AState) {
        QElapsedTimer clock;
        clock.start();
        benchmark::DoNotOptimize(proxy.PlayerUpdate(QStringLiteral("Ann")));
        const double seconds = clock.nsecsElapsed() / 1e9;
        AState.SetIterationTime(seconds);
        samples.push_back(seconds);
    }
    Report(AState, std::move(samples));
}
BENCHMARK(BM_PlayerUpdateRoundTrip)->UseManualTime()->Iterations(300)->Unit(benchmark::kMillisecond);

// Server up, window shown, discovered, registered as Ann with Bob beside
// her, and one push seen end to end.
bool StartSession(TSession &ASession)
{
    QString error;
    if (!ASession.Server.Start(error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    ASession.Bob.Server().RegisterPlayer(QStringLiteral("Bob"), QStringLiteral("bobclient"));
    TFormRenderGame &form = *ASession.Form;
    form.Show();
    // Green only once an announcement has registered the push callbacks.
    const QColor green = QColor::fromRgba(0xFF008000);
    if (!QTest::qWaitFor([&] { return form.ColorButton1->property("color").value<QColor>() == green; }, 10000)) {
        std::fprintf(stderr, "the window did not find the server\n");
        return false;
    }
    form.ComboEditPlayers->setProperty("editText", QStringLiteral("Ann"));
    form.ButtonRegisterClick(form.ImageRegister);
    ASession.Bob.Server().Deal();
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        const TJSONValuePtr before = form.LastData();
        ASession.Bob.Server().StateChange();
        if (QTest::qWaitFor([&] { return form.LastData() != before; }, 300))
            return true;
    }
    std::fprintf(stderr, "no push reached the window\n");
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    UseHeadlessQt();
    QGuiApplication app(argc, argv);
    // Every update logs; the lines are formatted as in the program but not
    // written to standard error, which would time the terminal.
    TLogging::SetDebugSink([](const QString &) {});
    benchmark::Initialize(&argc, argv);
    TSession session;
    if (!StartSession(session))
        return 1;
    Session = &session;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Session = nullptr;
    return 0;
}
