#include "cards/UnitCardImage.h"

#include "cards/TPlainLabel.h"

TCard::TCard(QQuickItem *parent) : TBitmapImage(parent) {}

int TCard::CardIndex() const
{
    return static_cast<int>(FCardSuit) * 13 + FCardNumber;
}

void TCard::SetCardIndex(int value)
{
    FCardSuit = SuitOfIndex(value);
    FCardNumber = NumberOfIndex(value);
}

QString TCard::Description() const
{
    return DescribeCard(CardIndex());
}

QString TCard::SuitName() const
{
    return SuitToName(FCardSuit);
}

QString TCard::CardName() const
{
    return NumberToName(FCardNumber);
}

TCardLayout::TCardLayout(QQuickItem *parent) : QQuickItem(parent)
{
    setSize(QSizeF(100, 150));
    // Children are created in paint order: card, kill card over it, label on top.
    FCard = new TCard(this);
    FCard->setSize(QSizeF(FCardWidth, FCardHeight));
    FKillCard = new TCard(this);
    FKillCard->setSize(QSizeF(FCardWidth, FCardHeight));
    FKillCard->setPosition(QPointF(FKillOffset, FKillOffset));
    FLabel = new TPlainLabel(this);
    FLabel->setZ(1);
    // The label covers the whole widget, following its size.
    connect(this, &QQuickItem::widthChanged, FLabel, [this] { FLabel->setWidth(width()); });
    connect(this, &QQuickItem::heightChanged, FLabel, [this] { FLabel->setHeight(height()); });
    FLabel->setSize(size());
    FLabel->setVisible(false);
    FKillCard->setVisible(false);
    setAcceptedMouseButtons(Qt::NoButton);
    setAcceptTouchEvents(false);
}

void TCardLayout::SetCard(int ACardIndex, const QImage &ACardImage)
{
    FCard->SetCardIndex(ACardIndex);
    FCard->SetBitmap(ACardImage);
}

void TCardLayout::SetKillCard(int ACardIndex, const QImage &ACardImage)
{
    FKillCard->SetCardIndex(ACardIndex);
    FKillCard->SetBitmap(ACardImage);
    FKillCard->setVisible(true);
    FIsDead = true;
    update();
}

void TCardLayout::UnKill()
{
    FKillCard->setVisible(false);
    FIsDead = false;
}

void TCardLayout::SetCardWidth(float Value)
{
    FCardWidth = Value;
    FCard->setWidth(Value);
    FKillCard->setWidth(Value);
}

void TCardLayout::SetCardHeight(float Value)
{
    FCardHeight = Value;
    FCard->setHeight(Value);
    FKillCard->setHeight(Value);
}

QString TCardLayout::CardDescription() const { return FCard->Description(); }
QString TCardLayout::CardName() const { return FCard->CardName(); }
QString TCardLayout::CardSuitName() const { return FCard->SuitName(); }
QString TCardLayout::KillCardDescription() const { return FKillCard->Description(); }
QString TCardLayout::KillCardName() const { return FKillCard->CardName(); }
QString TCardLayout::KillCardSuitName() const { return FKillCard->SuitName(); }
