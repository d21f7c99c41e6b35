// The controls that put a card on the table: TCard (a picture that knows its
// card) and TCardLayout (the card widget: the card, the beating card over it,
// and a hidden name label). Neither takes pointer input: the row or window
// beneath does all hit testing.
#pragma once

#include "cards/TBitmapImage.h"
#include "cards/uCardHelper.h"

#include <QQuickItem>

class TPlainLabel;

class TCard : public TBitmapImage
{
    Q_OBJECT

public:
    explicit TCard(QQuickItem *parent = nullptr);

    TSuit CardSuit() const { return FCardSuit; }
    void SetCardSuit(TSuit value) { FCardSuit = value; }
    int CardNumber() const { return FCardNumber; }
    void SetCardNumber(int value) { FCardNumber = value; }
    // Not stored: the suit and the number are.
    int CardIndex() const;
    void SetCardIndex(int value);
    int CardOwner() const { return FCardOwner; }
    void SetCardOwner(int value) { FCardOwner = value; }

    QString Description() const;
    QString SuitName() const;
    QString CardName() const;

private:
    int FCardNumber = 0;
    TSuit FCardSuit = TSuit::Clubs;
    int FCardOwner = 0;
};

class TCardLayout : public QQuickItem
{
    Q_OBJECT

public:
    explicit TCardLayout(QQuickItem *parent = nullptr);

    void SetCard(int ACardIndex, const QImage &ACardImage);
    void SetKillCard(int ACardIndex, const QImage &ACardImage);
    void UnKill();

    float CardWidth() const { return FCardWidth; }
    void SetCardWidth(float Value);
    float CardHeight() const { return FCardHeight; }
    void SetCardHeight(float Value);

    QString CardDescription() const;
    QString CardName() const;
    QString CardSuitName() const;
    QString KillCardDescription() const;
    QString KillCardName() const;
    QString KillCardSuitName() const;

    bool Touched() const { return FTouched; }
    void SetTouched(bool value) { FTouched = value; }
    // Applied at creation only: writing it later does not move the kill card.
    int KillOffset() const { return FKillOffset; }
    void SetKillOffset(int value) { FKillOffset = value; }
    bool IsDead() const { return FIsDead; }
    void SetIsDead(bool value) { FIsDead = value; }
    TPlainLabel *CardLabel() const { return FLabel; }
    TCard *KillCard() const { return FKillCard; }
    TCard *Card() const { return FCard; }

private:
    bool FTouched = false;
    int FKillOffset = 20;
    bool FIsDead = false;
    TCard *FKillCard = nullptr;
    TCard *FCard = nullptr;
    TPlainLabel *FLabel = nullptr;
    float FCardHeight = 150.0f;
    float FCardWidth = 100.0f;
};
