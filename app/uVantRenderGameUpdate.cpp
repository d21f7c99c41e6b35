// The table update: redraws the window from the player's game state document.
#include "app/uVantRenderGame.h"

#include "app/uFormControl.h"
#include "cards/UnitCardHandLayout.h"
#include "cards/UnitPlayerLayout.h"
#include "log/LoggingUnit.h"
#include "net/ClientClassesUnitREST.h"
#include "platform/TBatchUpdate.h"
#include "platform/TMainThreadQueue.h"

#include <QLocale>

namespace {

// The text of the member at APath, or the empty text when there is none.
QString TextAt(const TJSONValue &ARoot, const QString &APath)
{
    const TJSONValue *value = vantjson::FindValue(ARoot, APath);
    return value ? vantjson::ValueText(*value) : QString();
}

// The integer member AName of a card or play object, which must hold one.
int RequiredInteger(const TJSONValue &AObject, const QString &AName)
{
    const TJSONValue *value = vantjson::FindValue(AObject, AName);
    if (!value)
        throw EJSONError(QStringLiteral("card object lacks '%1'").arg(AName).toStdString());
    return vantjson::ReadInteger(*value);
}

// The array at APath of ADoc, nullptr when there is no member there; a member
// that is not an array is a malformed document.
const TJSONValue *ArrayAt(const TJSONValue &ADoc, const QString &APath)
{
    const TJSONValue *value = vantjson::FindValue(ADoc, APath);
    if (value && !value->is_array())
        throw EJSONError(QStringLiteral("'%1' is not an array").arg(APath).toStdString());
    return value;
}

} // namespace

void TFormRenderGame::Update(const TJSONValue & /*AValue*/)
{
    TBatchUpdate batch(*this);
    const TJSONValuePtr doc = FVantServer->PlayerUpdate(FPlayerName);
    FLastDataTime = QDateTime::currentDateTime();
    FLastData = doc;
    // The server names the player's members with the same casing.
    const QString name = QLocale().toUpper(FPlayerName);
    if (!doc || FPlayerName.isEmpty()) {
        TLogging::Send(QStringLiteral("Vant Client Render invalid data"), TLogSeverity::info);
        return;
    }
    const QString idKey = QStringLiteral("player%1.id").arg(name);
    TLogging::Send(QStringLiteral("Updating ") + idKey, TLogSeverity::info);
    const TJSONValue *id = vantjson::FindValue(*doc, idKey);
    if (!id) {
        TLogging::Send(QStringLiteral("Vant client update reregistering ") + FPlayerName, TLogSeverity::info);
        return;
    }
    SetPlayerID(vantjson::ReadInteger(*id));
    // The caption names the mode of the previous document.
    SetCaption(QStringLiteral("%1:%2 [%3]").arg(FPlayerID).arg(FPlayerName, PlayModeName(FPlayMode)));
    if (const TJSONValue *current = vantjson::FindValue(*doc, QStringLiteral("currentplayer")))
        FCurrentPlayer = vantjson::ValueText(*current);
    if (const TJSONValue *mode = vantjson::FindValue(*doc, QStringLiteral("player%1.mode").arg(name)))
        UpdatePlayMode(vantjson::ParseInteger(vantjson::ValueText(*mode)));
    UpdatePlayerRow(*doc);
    if (const TJSONValue *hand = ArrayAt(*doc, QStringLiteral("player%1.hand.cards").arg(name)))
        UpdateHand(*hand);
    if (const TJSONValue *inPlay = ArrayAt(*doc, QStringLiteral("inplay.cards")))
        UpdateInPlay(*inPlay);
    if (const TJSONValue *remaining = vantjson::FindValue(*doc, QStringLiteral("cardsremaining")))
        RequiredControl(LabelDeckCount, "LabelDeckCount").setProperty("text", vantjson::ValueText(*remaining));
    if (const TJSONValue *dead = vantjson::FindValue(*doc, QStringLiteral("cardsdead")))
        RequiredControl(LabelBoneyardCount, "LabelBoneyardCount").setProperty("text", vantjson::ValueText(*dead));
    if (const TJSONValue *trump = vantjson::FindValue(*doc, QStringLiteral("trumpcard")))
        ShowTrumpCard(vantjson::ReadInteger(*trump));
    UpdateWinnerText(vantjson::FindValue(*doc, QStringLiteral("loser")));
}

void TFormRenderGame::UpdatePlayMode(int AMode)
{
    const int oldMode = FPlayMode;
    SetPlayMode(AMode);
    if (AMode < 2)
        FCurrentPlayer = QStringLiteral("You");
    if (AMode == oldMode)
        return;
    QQuickItem &layoutPlay = RequiredControl(LayoutPlay, "LayoutPlay");
    QQuickItem &layoutKill = RequiredControl(LayoutKill, "LayoutKill");
    QQuickItem &layoutSend = RequiredControl(LayoutSend, "LayoutSend");
    QQuickItem &buttonEndTurn = RequiredControl(ButtonEndTurn, "ButtonEndTurn");
    for (QQuickItem *item : {&layoutPlay, &layoutKill, &layoutSend, &buttonEndTurn})
        item->setVisible(false);
    // The animation turns the table between its design values 0 and 180. A
    // turn still running is finished first, so that the angle read is where
    // the table is heading: otherwise a mode change right after a turn began
    // would see 0 and leave the table turned for good.
    FloatAnimationRotateCards.Complete();
    const qreal rotation = RequiredControl(LayoutInPlay, "LayoutInPlay").rotation();
    const auto turnTable = [this](bool AInverse) {
        FloatAnimationRotateCards.SetInverse(AInverse);
        FloatAnimationRotateCards.Start();
    };
    switch (AMode) {
    case 0:
        layoutSend.setVisible(true);
        if (rotation != 0)
            turnTable(true);
        break;
    case 1:
        layoutKill.setVisible(true);
        buttonEndTurn.setVisible(true);
        if (rotation != 0)
            turnTable(true);
        break;
    case 2:
        layoutPlay.setVisible(true);
        if (rotation != 180)
            turnTable(false);
        break;
    default:
        break;
    }
}

void TFormRenderGame::UpdatePlayerRow(const TJSONValue &ADoc)
{
    FPlayerLayout1->StartDataUpdate();
    for (auto it = ADoc.begin(); it != ADoc.end(); ++it) {
        if (!QString::fromStdString(it.key()).startsWith(QLatin1String("player")))
            continue;
        // A missing member gives the empty text, never another player's.
        FPlayerLayout1->UpdatePlayer(TextAt(it.value(), QStringLiteral("displayname")),
                                     TextAt(it.value(), QStringLiteral("hand.count")));
    }
    FPlayerLayout1->EndDataUpdate();
}

void TFormRenderGame::UpdateHand(const TJSONValue &ACards)
{
    FCardLayout1->StartDataUpdate();
    for (const TJSONValue &card : ACards)
        FCardLayout1->AddCard(RequiredInteger(card, QStringLiteral("card")));
    FCardLayout1->EndDataUpdate();
    FCardLayout1->LayoutCards();
}

void TFormRenderGame::UpdateInPlay(const TJSONValue &APlays)
{
    FInPlayLayout1->StartDataUpdate();
    bool allBeaten = true;
    for (const TJSONValue &play : APlays) {
        const int card = RequiredInteger(play, QStringLiteral("card"));
        const int killingCard = RequiredInteger(play, QStringLiteral("killingcard"));
        if (killingCard >= 0) {
            FInPlayLayout1->AddDeadCard(card, killingCard);
        } else {
            FInPlayLayout1->AddCard(card);
            allBeaten = false;
        }
    }
    FInPlayLayout1->EndDataUpdate();
    FInPlayLayout1->LayoutCards();

    QQuickItem &imagePickUp = RequiredControl(ImagePickUp, "ImagePickUp");
    QQuickItem &imageKill = RequiredControl(ImageKill, "ImageKill");
    imagePickUp.setVisible(false);
    imageKill.setVisible(false);
    RequiredControl(LabelEndTurn, "LabelEndTurn")
        .setProperty("text", allBeaten ? QStringLiteral("Kill") : QStringLiteral("Pick Up"));
    (allBeaten ? imageKill : imagePickUp).setVisible(true);

    // The end-turn clock counts afresh from this document.
    QMetaObject::invokeMethod(&RequiredControl(TimerEndTurnClock, "TimerEndTurnClock"), "restart");
    RequiredControl(LabelEndTurnTimer, "LabelEndTurnTimer").setProperty("text", QString::number(FEndTurnDelay));
    RequiredControl(RectangleDisableEndTurn, "RectangleDisableEndTurn").setVisible(true);
}

void TFormRenderGame::UpdateWinnerText(const TJSONValue *ALoser)
{
    QQuickItem &labelWinner = RequiredControl(LabelWinner, "LabelWinner");
    if (ALoser) {
        labelWinner.setProperty("text", vantjson::ValueText(*ALoser));
        labelWinner.setVisible(true);
        labelWinner.stackAfter(FInPlayLayout1);
        // A turn still running would carry the table away from 0 again.
        FloatAnimationRotateCards.Stop();
        RequiredControl(LayoutInPlay, "LayoutInPlay").setRotation(0);
        return;
    }
    labelWinner.setProperty("text", FCurrentPlayer == QLatin1String("You")
                                        ? QStringLiteral("Your turn")
                                        : FCurrentPlayer + QStringLiteral("'s turn"));
    labelWinner.setVisible(true);
    labelWinner.stackBefore(FInPlayLayout1);
}

void TFormRenderGame::QueueUpdate(TJSONValue AValue)
{
    // The procedure may run after the window is gone: it then does nothing.
    TMainThreadQueue::Procedure update = [form = QPointer<TFormRenderGame>(this), value = std::move(AValue)] {
        if (form)
            form->Update(value);
    };
    if (TMainThreadQueue::IsMainThread())
        TExceptionGuard::Run(nullptr, update);
    else
        TMainThreadQueue::Queue(std::move(update));
}

QString TFormRenderGame::PlayModeName(int AMode) const
{
    switch (AMode) {
    case 0:
        return QStringLiteral("Sending");
    case 1:
        return QStringLiteral("Defending");
    case 2:
        return QStringLiteral("Other Player");
    default:
        return QStringLiteral("Unknown");
    }
}

void TFormRenderGame::ShowTrumpCard(int ACardIndex)
{
    QQuickItem &deck = RequiredControl(ImageCardDeck, "ImageCardDeck");
    bool shown = false;
    const QList<QQuickItem *> children = deck.childItems();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        auto *card = qobject_cast<TCardLayout *>(*it);
        if (!card)
            continue;
        if (card->Card()->CardIndex() == ACardIndex)
            shown = true;
        else
            delete card;
    }
    if (shown)
        return;
    TCardLayout *card = FCardLayout1->CreateCard(ACardIndex);
    card->setParentItem(&deck);
    card->setPosition(QPointF(10, 10));
    // The drag card takes the deck picture's size from now on.
    FCardHeight = static_cast<float>(deck.height());
    FCardWidth = static_cast<float>(deck.width());
    card->setSize(QSizeF(FCardWidth, FCardHeight));
    card->SetCardHeight(FCardHeight);
    card->SetCardWidth(FCardWidth);
    // The deck count stays readable over the trump card.
    BringToFront(RequiredControl(Rectangle2, "Rectangle2"));
    BringToFront(RequiredControl(LabelDeckCount, "LabelDeckCount"));
}

void TFormRenderGame::LayoutCardDeckResize(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [&] {
        QQuickItem &deck = RequiredControl(ImageCardDeck, "ImageCardDeck");
        const QList<QQuickItem *> children = deck.childItems();
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            auto *card = qobject_cast<TCardLayout *>(*it);
            if (!card)
                continue;
            card->SetCardHeight(static_cast<float>(deck.height()));
            card->SetCardWidth(static_cast<float>(deck.width()));
            card->setSize(deck.size());
        }
    });
}
