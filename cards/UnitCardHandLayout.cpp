#include "cards/UnitCardHandLayout.h"

#include "cards/TImageList.h"
#include "cards/TPlainLabel.h"
#include "log/LoggingUnit.h"

#include <QMouseEvent>
#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

// The log lines print numbers with two decimals.
QString Num(qreal value)
{
    return QString::number(value, 'f', 2);
}

QString RectText(const QQuickItem *item)
{
    return QStringLiteral("[%1,%2,%3,%4]")
        .arg(Num(item->x()), Num(item->y()), Num(item->x() + item->width()), Num(item->y() + item->height()));
}

} // namespace

TCardHandLayout::TCardHandLayout(QQuickItem *parent) : QQuickItem(parent)
{
    setAcceptedMouseButtons(Qt::AllButtons);
    // Touches reach the mouse handlers through Qt's touch-to-mouse synthesis.
    setAcceptTouchEvents(false);
    setAcceptHoverEvents(true);
    FParentFill.Follow(this, parent);
}

QList<TCardLayout *> TCardHandLayout::Cards() const
{
    QList<TCardLayout *> cards;
    const QList<QQuickItem *> children = childItems();
    cards.reserve(children.size());
    for (QQuickItem *child : children)
        cards << static_cast<TCardLayout *>(child);
    return cards;
}

void TCardHandLayout::AddCard(int ACardIndex)
{
    EnsureCard(ACardIndex)->SetTouched(true);
}

void TCardHandLayout::AddDeadCard(int ACardIndex, int AKillCardIndex)
{
    TCardLayout *card = EnsureCard(ACardIndex);
    // A beaten card keeps the first card that beat it.
    if (!card->IsDead())
        card->SetKillCard(AKillCardIndex, GetCardImage(AKillCardIndex));
    card->SetTouched(true);
}

void TCardHandLayout::RemoveCard(int /*ACardIndex*/) {}

TCardLayout *TCardHandLayout::EnsureCard(int ACardIndex)
{
    TCardLayout *card = FindCard(ACardIndex);
    if (card == nullptr) {
        card = CreateCard(ACardIndex);
        card->setParentItem(this);
    }
    return card;
}

TCardLayout *TCardHandLayout::FindCard(int ACardIndex) const
{
    const QList<TCardLayout *> cards = Cards();
    const auto found = std::find_if(cards.begin(), cards.end(),
                                    [ACardIndex](TCardLayout *card) { return card->Card()->CardIndex() == ACardIndex; });
    return found == cards.end() ? nullptr : *found;
}

TCardLayout *TCardHandLayout::CreateCard(int CardIndex)
{
    auto *card = new TCardLayout;
    card->setParent(this);
    card->Card()->SetBitmap(GetCardImage(CardIndex));
    card->Card()->SetCardIndex(CardIndex);
    card->setSize(QSizeF(FCardWidth, FCardHeight));
    return card;
}

QImage TCardHandLayout::GetCardImage(int CardIndex) const
{
    if (FImageListCards == nullptr)
        return {};
    return FImageListCards->Bitmap(TranslateIndexForImage(CardIndex), QSizeF(FCardWidth, FCardHeight));
}

int TCardHandLayout::TranslateIndexForImage(int ACardIndex)
{
    // The pictures put the ace first in each suit; card numbers put it last.
    const int suit = ACardIndex / 13;
    const int number = ACardIndex % 13;
    const int position = number == 12 ? 0 : number + 1;
    return suit * 13 + position;
}

void TCardHandLayout::StartDataUpdate()
{
    for (TCardLayout *card : Cards())
        card->SetTouched(false);
}

void TCardHandLayout::EndDataUpdate()
{
    const QList<TCardLayout *> cards = Cards();
    for (auto it = cards.rbegin(); it != cards.rend(); ++it) {
        if ((*it)->Touched())
            continue;
        // A card that left the table is dropped for good; a returning card
        // gets a new widget. Deferred, as an event handler may still hold it.
        (*it)->setParentItem(nullptr);
        (*it)->deleteLater();
    }
}

void TCardHandLayout::LayoutCards()
{
    const QList<TCardLayout *> cards = Cards();
    if (cards.isEmpty())
        return;
    const float step = std::min(static_cast<float>(width()) / static_cast<float>(cards.size()), 120.0f);
    const float cw = std::trunc(std::min(step, 100.0f));
    const float available = std::min(static_cast<float>(height()) - 30.0f, 150.0f);
    // A row too low for any card shows them with no height rather than a negative one.
    const float ch = std::max(std::trunc(std::min(cw * 1.5f, available)), 0.0f);
    for (int i = 0; i < cards.size(); ++i) {
        TCardLayout *card = cards.at(i);
        card->setSize(QSizeF(cw, ch));
        card->SetCardHeight(ch);
        card->SetCardWidth(cw);
        card->setPosition(QPointF(static_cast<float>(i) * step + 5.0f, 5.0));
        card->update();
    }
}

TCardLayout *TCardHandLayout::CardAtIndex(int AIndex) const
{
    const QList<QQuickItem *> children = childItems();
    if (AIndex < 0 || AIndex >= children.size())
        throw std::out_of_range("card index " + std::to_string(AIndex) + " outside the row's "
                                + std::to_string(children.size()) + " cards");
    return static_cast<TCardLayout *>(children.at(AIndex));
}

QList<int> TCardHandLayout::CardAtPoint(QPointF Point) const
{
    TLogging::LogI(QStringLiteral("Looking for card at [%1,%2]").arg(Num(Point.x()), Num(Point.y())));
    QList<int> result;
    const QList<TCardLayout *> cards = Cards();
    for (int i = 0; i < cards.size(); ++i) {
        const TCardLayout *card = cards.at(i);
        TLogging::LogI(QStringLiteral("Checking card at %1 %2").arg(RectText(card), card->CardDescription()));
        // Left and top edges belong to the card, right and bottom do not.
        if (card->x() <= Point.x() && Point.x() < card->x() + card->width() && card->y() <= Point.y()
            && Point.y() < card->y() + card->height()) {
            result << i;
            TLogging::LogI(QStringLiteral("Found %1 card at [%2,%3]").arg(card->CardDescription(), Num(Point.x()), Num(Point.y())));
        }
    }
    return result;
}

QList<int> TCardHandLayout::CardTouches(const TCard *ACard) const
{
    TLogging::LogI(QStringLiteral("Looking for card intersection with [%1,%2,w%3,h%4]")
            .arg(Num(ACard->x()), Num(ACard->y()), Num(ACard->width()), Num(ACard->height())));
    // The corners go through the full transformation and are not reordered:
    // under a 180-degree turn the test rectangle comes out inverted.
    const QPointF topLeft = mapFromScene(QPointF(ACard->x(), ACard->y()));
    const QPointF bottomRight = mapFromScene(QPointF(ACard->x() + ACard->width(), ACard->y() + ACard->height()));
    QList<int> result;
    const QList<TCardLayout *> cards = Cards();
    for (int i = 0; i < cards.size(); ++i) {
        const TCardLayout *card = cards.at(i);
        TLogging::LogI(QStringLiteral("Checking card at %1 %2").arg(RectText(card), card->CardDescription()));
        const qreal left = card->x();
        const qreal top = card->y();
        const qreal right = left + card->width();
        const qreal bottom = top + card->height();
        if (bottomRight.x() > left && right > topLeft.x() && bottomRight.y() > top && bottom > topLeft.y()) {
            result << i;
            TLogging::LogI(QStringLiteral("Found %1 card touches %2").arg(card->CardDescription(), ACard->Description()));
        }
    }
    return result;
}

void TCardHandLayout::SetNamesVisible(bool value)
{
    FNamesVisible = value;
    for (TCardLayout *card : Cards())
        card->CardLabel()->setVisible(value);
}

void TCardHandLayout::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size())
        LayoutCards();
}

void TCardHandLayout::itemChange(ItemChange change, const ItemChangeData &value)
{
    QQuickItem::itemChange(change, value);
    if (change == ItemParentHasChanged)
        FParentFill.Follow(this, value.item);
}

void TCardHandLayout::mousePressEvent(QMouseEvent *event)
{
    // Any button starts a drag; accepting keeps the grab for the moves and release.
    event->accept();
    if (OnMouseDown)
        OnMouseDown(this, event->button(), event->modifiers(), event->position().x(), event->position().y());
}

void TCardHandLayout::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (OnMouseMove)
        OnMouseMove(this, event->modifiers(), event->position().x(), event->position().y());
}

void TCardHandLayout::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (OnMouseUp)
        OnMouseUp(this, event->button(), event->modifiers(), event->position().x(), event->position().y());
}

void TCardHandLayout::hoverMoveEvent(QHoverEvent *event)
{
    if (OnMouseMove)
        OnMouseMove(this, event->modifiers(), event->position().x(), event->position().y());
}
