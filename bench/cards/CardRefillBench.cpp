// Refill and layout of a card row: one card changing in a row of 36, and a
// full 52-card refill from empty. Reports the widgets each refill creates.
#include "cards/TImageList.h"
#include "cards/UnitCardHandLayout.h"

#include "tests/common/HeadlessQt.h"

#include <QGuiApplication>
#include <QQuickItem>
#include <QSet>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

void Refill(TCardHandLayout &row, int first, int count)
{
    row.StartDataUpdate();
    for (int card = first; card < first + count; ++card)
        row.AddCard(card % 52);
    row.EndDataUpdate();
    row.LayoutCards();
}

// Widgets in the row that were not there before.
int NewWidgets(const TCardHandLayout &row, const QSet<QQuickItem *> &before)
{
    int created = 0;
    for (QQuickItem *child : row.childItems())
        created += before.contains(child) ? 0 : 1;
    return created;
}

void BM_RefillOneCardChanges(benchmark::State &state)
{
    TImageList faces(CardImagePaths());
    QQuickItem parent;
    parent.setSize(QSizeF(1013, 165));
    TCardHandLayout row(&parent);
    row.SetImageListCards(&faces);
    int first = 0;
    Refill(row, first, 36);
    int created = 0;
    for (auto _ : state) {
        const QList<QQuickItem *> children = row.childItems();
        const QSet<QQuickItem *> before(children.begin(), children.end());
        // The lowest card leaves and the next one arrives.
        Refill(row, ++first, 36);
        created += NewWidgets(row, before);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    state.counters["widgets_created_per_refill"] = benchmark::Counter(created, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RefillOneCardChanges);

// Faces come from the image list's cache unless the list is new: the cold
// case includes rendering the 52 SVG faces.
void RefillFullDeck(benchmark::State &state, bool coldFaces)
{
    auto faces = std::make_unique<TImageList>(CardImagePaths());
    QQuickItem parent;
    parent.setSize(QSizeF(1013, 165));
    int created = 0;
    for (auto _ : state) {
        if (coldFaces)
            faces = std::make_unique<TImageList>(CardImagePaths());
        TCardHandLayout row(&parent);
        row.SetImageListCards(faces.get());
        Refill(row, 0, 52);
        created += NewWidgets(row, {});
    }
    state.counters["widgets_created_per_refill"] = benchmark::Counter(created, benchmark::Counter::kAvgIterations);
}

void BM_RefillFullDeckFromEmpty(benchmark::State &state)
{
    RefillFullDeck(state, false);
}
BENCHMARK(BM_RefillFullDeckFromEmpty);

void BM_RefillFullDeckFromEmptyColdFaces(benchmark::State &state)
{
    RefillFullDeck(state, true);
}
BENCHMARK(BM_RefillFullDeckFromEmptyColdFaces);

} // namespace

int main(int argc, char **argv)
{
    UseHeadlessQt();
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
