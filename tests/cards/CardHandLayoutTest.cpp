#include "cards/TImageList.h"
#include "cards/TPlainLabel.h"
#include "cards/UnitCardHandLayout.h"
#include "log/LoggingUnit.h"

#include <QCoreApplication>
#include <QPointer>
#include <QPointingDevice>
#include <QQuickWindow>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <algorithm>
#include <iterator>
#include <memory>
#include <stdexcept>

namespace {

// A row 1013 x 165 inside a container at the window's top left corner.
class CardRow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TLogging::ResetForTests();
        TLogging::SetDebugSink([](const QString &) {});
        window.resize(1013, 400);
        container->setSize(QSizeF(1013, 165));
        row = new TCardHandLayout(container);
        row->SetImageListCards(&faces);
    }

    void Refill(std::initializer_list<int> cards)
    {
        row->StartDataUpdate();
        for (int card : cards)
            row->AddCard(card);
        row->EndDataUpdate();
        row->LayoutCards();
    }

    QList<int> Indexes() const
    {
        QList<int> result;
        for (QQuickItem *child : row->childItems())
            result << static_cast<TCardLayout *>(child)->Card()->CardIndex();
        return result;
    }

    // A drag card placed in window coordinates, as the window's own child.
    TCard *DragCard(QRectF rect)
    {
        auto *card = new TCard(window.contentItem());
        card->setPosition(rect.topLeft());
        card->setSize(rect.size());
        return card;
    }

    TImageList faces{CardImagePaths()};
    QQuickWindow window;
    QQuickItem *container = new QQuickItem(window.contentItem());
    TCardHandLayout *row = nullptr;
};

TEST_F(CardRow, FillsItsParentAndFollowsIt)
{
    EXPECT_EQ(row->size(), QSizeF(1013, 165));
    Refill({1, 2});
    container->setSize(QSizeF(240, 130));
    EXPECT_EQ(row->size(), QSizeF(240, 130));
    // Laid out again on resize: 100 high, step 120.
    EXPECT_EQ(row->CardAtIndex(1)->position(), QPointF(125, 5));
    EXPECT_EQ(row->CardAtIndex(1)->height(), 100);
}

TEST_F(CardRow, RefillKeepsWidgetsOfCardsThatStay)
{
    Refill({10, 20, 30});
    const QList<QQuickItem *> before = row->childItems();

    Refill({10, 20, 30});
    EXPECT_EQ(row->childItems(), before);

    Refill({10, 20, 30, 40});
    ASSERT_EQ(row->childItems().size(), 4);
    EXPECT_EQ(row->childItems().mid(0, 3), before);
    EXPECT_EQ(Indexes(), (QList<int>{10, 20, 30, 40}));

    const QPointer<QQuickItem> left = before[1];
    Refill({30, 10, 40});
    EXPECT_EQ(Indexes(), (QList<int>{10, 30, 40}));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(left.isNull());
    EXPECT_EQ(row->childItems()[0], before[0]);
    EXPECT_EQ(row->childItems()[1], before[2]);

    Refill({5, 5});
    EXPECT_EQ(Indexes(), (QList<int>{5}));
    row->RemoveCard(5);
    EXPECT_EQ(Indexes(), (QList<int>{5}));
}

TEST_F(CardRow, NewWidgetGetsItsFaceAtTheRowsCardSize)
{
    TCardLayout *made = row->CreateCard(12);
    EXPECT_EQ(made->parent(), row);
    EXPECT_EQ(made->parentItem(), nullptr);
    EXPECT_EQ(made->size(), QSizeF(100, 150));
    EXPECT_EQ(made->Card()->CardIndex(), 12);
    ASSERT_FALSE(made->Card()->Bitmap().isNull());
    EXPECT_EQ(made->Card()->Bitmap().size(), QSize(100, 150));
    // The ace of clubs is the list's first picture.
    EXPECT_EQ(made->Card()->Bitmap(), faces.Bitmap(0, QSizeF(100, 150)));
}

TEST_F(CardRow, BeatenCardKeepsItsFirstBeater)
{
    Refill({7});
    TCardLayout *widget = row->FindCard(7);

    row->StartDataUpdate();
    row->AddDeadCard(7, 9);
    row->EndDataUpdate();
    EXPECT_EQ(row->FindCard(7), widget);
    EXPECT_TRUE(widget->IsDead());
    EXPECT_TRUE(widget->KillCard()->isVisible());
    EXPECT_EQ(widget->KillCard()->CardIndex(), 9);
    EXPECT_EQ(widget->KillCard()->Bitmap(), row->GetCardImage(9));

    row->StartDataUpdate();
    row->AddDeadCard(7, 11);
    row->EndDataUpdate();
    EXPECT_EQ(widget->KillCard()->CardIndex(), 9);

    Refill({7});
    EXPECT_TRUE(widget->IsDead());
}

struct LayoutCase
{
    int cards;
    QSizeF row;
    QSizeF card;
    float step;
};

class CardRowLayout : public CardRow, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(CardRowLayout, SizesAndPlacesCards)
{
    const LayoutCase c = GetParam();
    container->setSize(c.row);
    row->StartDataUpdate();
    for (int i = 0; i < c.cards; ++i)
        row->AddCard(i);
    row->EndDataUpdate();
    row->LayoutCards();
    for (int i = 0; i < c.cards; ++i) {
        TCardLayout *widget = row->CardAtIndex(i);
        EXPECT_EQ(widget->size(), c.card) << i;
        EXPECT_EQ(widget->Card()->size(), c.card) << i;
        EXPECT_FLOAT_EQ(widget->x(), static_cast<float>(i) * c.step + 5.0f) << i;
        EXPECT_EQ(widget->y(), 5) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, CardRowLayout,
                         ::testing::Values(LayoutCase{6, {1013, 165}, {100, 135}, 120.0f},
                                           LayoutCase{12, {1013, 165}, {84, 126}, 1013.0f / 12.0f},
                                           LayoutCase{3, {1013, 100}, {100, 70}, 120.0f},
                                           LayoutCase{2, {1013, 400}, {100, 150}, 120.0f},
                                           // Lower than the margin: no height rather than a negative one.
                                           LayoutCase{1, {1013, 20}, {100, 0}, 120.0f}));

TEST_F(CardRow, EmptyRowAnswersNothing)
{
    row->LayoutCards();
    EXPECT_TRUE(row->CardAtPoint(QPointF(10, 10)).isEmpty());
    EXPECT_TRUE(row->CardTouches(DragCard(QRectF(0, 0, 100, 150))).isEmpty());
    EXPECT_THROW(row->CardAtIndex(0), std::out_of_range);
}

TEST_F(CardRow, PointOnEdgesBelongsToLeftAndTopOnly)
{
    // Ten cards of 90 in a row 900 wide touch: card 1 starts where card 0 ends.
    container->setSize(QSizeF(900, 165));
    Refill({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    struct { QPointF point; QList<int> hit; } cases[] = {
        {{5, 5}, {0}},        {{4.99, 50}, {}},   {{94.99, 139.99}, {0}},
        {{95, 50}, {1}},      {{50, 140}, {}},    {{50, 4.99}, {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(row->CardAtPoint(c.point), c.hit) << c.point.x() << "," << c.point.y();
    EXPECT_THROW(row->CardAtIndex(10), std::out_of_range);
    EXPECT_THROW(row->CardAtIndex(-1), std::out_of_range);
}

TEST_F(CardRow, PointTestLogsWithTwoDecimals)
{
    Refill({0});
    row->CardAtPoint(QPointF(10, 20.5));
    const QStringList lines = TLogging::Lines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].endsWith("Looking for card at [10.00,20.50]")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith("Checking card at [5.00,5.00,105.00,140.00] two of clubs [0]")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].endsWith("Found two of clubs [0] card at [10.00,20.50]")) << lines[2].toStdString();
}

TEST_F(CardRow, DraggedCardOverlapsStrictly)
{
    // Six cards at x = 5, 125, ... 100 x 135.
    Refill({0, 1, 2, 3, 4, 5});
    EXPECT_EQ(row->CardTouches(DragCard(QRectF(90, 20, 50, 50))), (QList<int>{0, 1}));
    // Sharing only edges with cards 0 and 1 (and the row's top edge of the cards).
    EXPECT_TRUE(row->CardTouches(DragCard(QRectF(105, 20, 20, 50))).isEmpty());
    EXPECT_TRUE(row->CardTouches(DragCard(QRectF(10, 140, 50, 50))).isEmpty());
    EXPECT_EQ(row->CardTouches(DragCard(QRectF(604, 139, 10, 10))), (QList<int>{5}));
}

TEST_F(CardRow, OverlapFollowsMovedAndScaledAncestors)
{
    container->setPosition(QPointF(100, 50));
    container->setScale(2);
    container->setTransformOrigin(QQuickItem::TopLeft);
    Refill({0, 1});
    // Card 1 spans row x 125..225, that is window x 350..550.
    EXPECT_EQ(row->CardTouches(DragCard(QRectF(340, 70, 20, 20))), (QList<int>{1}));
    EXPECT_TRUE(row->CardTouches(DragCard(QRectF(320, 70, 20, 20))).isEmpty());
}

TEST_F(CardRow, TurnedContainerInvertsTheTestRectangle)
{
    container->setRotation(180);
    Refill({0, 1});
    // Card 0 occupies row 5..105 x 5..140, that is window 908..1008 x 25..160.
    EXPECT_TRUE(row->CardTouches(DragCard(QRectF(908, 25, 100, 135))).isEmpty());
    EXPECT_TRUE(row->CardTouches(DragCard(QRectF(850, 0, 200, 165))).isEmpty());
    // Only a card strictly inside a widget on both axes counts.
    EXPECT_EQ(row->CardTouches(DragCard(QRectF(918, 35, 80, 115))), (QList<int>{0}));

    container->setRotation(0);
    EXPECT_EQ(row->CardTouches(DragCard(QRectF(5, 5, 100, 135))), (QList<int>{0}));
}

TEST_F(CardRow, NamesVisibleReachesPresentWidgetsOnly)
{
    Refill({1, 2});
    row->SetNamesVisible(true);
    Refill({1, 2, 3});
    EXPECT_TRUE(row->FindCard(1)->CardLabel()->isVisible());
    EXPECT_TRUE(row->FindCard(2)->CardLabel()->isVisible());
    EXPECT_FALSE(row->FindCard(3)->CardLabel()->isVisible());
    row->SetNamesVisible(false);
    EXPECT_FALSE(row->FindCard(1)->CardLabel()->isVisible());
}

struct PointerEvent
{
    char kind;
    Qt::MouseButton button;
    QPointF at;
    bool operator==(const PointerEvent &) const = default;
};

QList<PointerEvent> PressesAndReleases(const QList<PointerEvent> &events)
{
    QList<PointerEvent> result;
    std::copy_if(events.begin(), events.end(), std::back_inserter(result), [](const PointerEvent &e) { return e.kind != 'm'; });
    return result;
}

// Mouse presses of any button and touches reach the three callbacks in row coordinates.
TEST_F(CardRow, PointerInputReachesTheCallbacks)
{
    container->setPosition(QPointF(10, 20));
    Refill({0, 1});
    QList<PointerEvent> events;
    row->OnMouseDown = [&](QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers, float x, float y) {
        EXPECT_EQ(sender, row);
        events.append({'d', button, {x, y}});
    };
    row->OnMouseMove = [&](QObject *, Qt::KeyboardModifiers, float x, float y) { events.append({'m', Qt::NoButton, {x, y}}); };
    row->OnMouseUp = [&](QObject *, Qt::MouseButton button, Qt::KeyboardModifiers, float x, float y) {
        events.append({'u', button, {x, y}});
    };
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    // Over a card: the widgets take no input, the row gets it. Hover moves
    // may come between; the presses and releases are what must arrive.
    QTest::mousePress(&window, Qt::RightButton, {}, QPoint(60, 70));
    QTest::mouseRelease(&window, Qt::RightButton, {}, QPoint(80, 90));
    EXPECT_EQ(PressesAndReleases(events), (QList<PointerEvent>{{'d', Qt::RightButton, {50, 50}}, {'u', Qt::RightButton, {70, 70}}}));

    events.clear();
    QPointingDevice *screen = QTest::createTouchDevice();
    QTest::touchEvent(&window, screen).press(0, QPoint(60, 70));
    QTest::touchEvent(&window, screen).move(0, QPoint(200, 100));
    QTest::touchEvent(&window, screen).release(0, QPoint(200, 100));
    ASSERT_GE(events.size(), 3);
    EXPECT_EQ(events.mid(0, 3), (QList<PointerEvent>{{'d', Qt::LeftButton, {50, 50}},
                                                     {'m', Qt::NoButton, {190, 80}},
                                                     {'u', Qt::LeftButton, {190, 80}}}));
}

} // namespace
