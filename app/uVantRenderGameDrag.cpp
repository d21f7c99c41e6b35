// Card drag and drop: from the hand onto the table.
#include "app/uVantRenderGame.h"

#include "cards/TImageList.h"
#include "cards/UnitCardHandLayout.h"
#include "cards/UnitCardImage.h"
#include "log/LoggingUnit.h"
#include "net/ClientClassesUnitREST.h"

#include <QQuickWindow>
#include <QScopeGuard>
#include <cmath>
#include <stdexcept>

namespace {

// A number rounded to a whole number, without decimals.
QString Whole(double AValue)
{
    return QString::number(AValue, 'f', 0);
}

bool IsUnder(const QQuickItem *AContainer, QPointF AScenePoint)
{
    return AContainer && AContainer->isVisible() && AContainer->contains(AContainer->mapFromScene(AScenePoint));
}

// Centres the drag card on a point in window coordinates.
void PlaceCentred(TCard &ADragCard, QPointF AScenePoint)
{
    const QPointF centre = ADragCard.parentItem() ? ADragCard.parentItem()->mapFromScene(AScenePoint) : AScenePoint;
    ADragCard.setPosition(centre - QPointF(ADragCard.width() / 2, ADragCard.height() / 2));
}

// A move over a row: the drag card follows the pointer, converted through
// the row's container (which the row fills from its top-left corner).
void FollowPointer(const TFormRenderGame &AForm, QObject *Sender, const QQuickItem *AContainer, float X, float Y)
{
    TCard *dragCard = AForm.DragCard();
    if (!Sender || X <= -1 || Y <= -1 || !AForm.IsDragging() || !dragCard || !qobject_cast<QQuickItem *>(Sender))
        return;
    if (!AContainer)
        throw std::runtime_error("the drag card's container is gone");
    PlaceCentred(*dragCard, AContainer->mapToScene(QPointF(X, Y)));
}

// Tries to beat each overlapped card in play with the drag card; returns
// the text to show: empty when any attempt was accepted.
QString BeatCards(TServerMethods1Client &AServer, const TCardHandLayout &AInPlay, int APlayerID,
                  const TCard &ADragCard, const QList<int> &ATargets)
{
    QString message;
    bool accepted = false;
    for (int position : ATargets) {
        if (position < 0 || position >= AInPlay.childItems().size()) {
            message = QStringLiteral("Target card not assigned");
            continue;
        }
        const TCard *target = AInPlay.CardAtIndex(position)->Card();
        TLogging::LogI(QStringLiteral("Inplay Mouse up dropped on card %1 %2").arg(target->CardIndex()).arg(target->Description()));
        const QString answer =
            TFormRenderGame::ResultText(AServer.KillCard(APlayerID, ADragCard.CardIndex(), target->CardIndex()));
        if (answer.isEmpty())
            accepted = true;
        else
            message += answer;
    }
    return accepted ? QString() : message;
}

} // namespace

void TFormRenderGame::ShowWarning(const QString &AText)
{
    TDialogService *service = TDialogService::Current();
    if (!service)
        throw std::runtime_error("no dialog service installed");
    service->MessageDialog(AText, TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK, TMsgDlgBtn::mbOK, 0, {});
}

QString TFormRenderGame::ResultText(const TJSONValuePtr &AValue)
{
    return AValue ? vantjson::ValueText(*AValue) : QString();
}

TServerMethods1Client &TFormRenderGame::RequiredVantServer() const
{
    if (!FVantServer)
        throw std::runtime_error("the server proxy is gone");
    return *FVantServer;
}

void TFormRenderGame::BringToFront(QQuickItem &AItem)
{
    QQuickItem *parent = AItem.parentItem();
    if (!parent)
        return;
    const QList<QQuickItem *> siblings = parent->childItems();
    if (siblings.back() != &AItem)
        AItem.stackAfter(siblings.back());
}

void TFormRenderGame::HandRowMouseMove(QObject *Sender, int Shift, float X, float Y)
{
    const auto *row = qobject_cast<QQuickItem *>(Sender);
    const QPointF scenePoint = row ? row->mapToScene(QPointF(X, Y)) : QPointF();
    if (row && FInPlayLayout1 && IsUnder(LayoutInPlay, scenePoint)) {
        const QPointF local = FInPlayLayout1->mapFromScene(scenePoint);
        LayoutInPlayMouseMove(FInPlayLayout1, Shift, static_cast<float>(local.x()), static_cast<float>(local.y()));
    } else if (!row || IsUnder(LayoutCards, scenePoint)) {
        HandCardMouseMove(Sender, Shift, X, Y);
    }
}

void TFormRenderGame::HandRowMouseUp(QObject *Sender, int Button, int Shift, float X, float Y)
{
    const auto *row = qobject_cast<QQuickItem *>(Sender);
    const QPointF scenePoint = row ? row->mapToScene(QPointF(X, Y)) : QPointF();
    if (row && FInPlayLayout1 && IsUnder(LayoutInPlay, scenePoint)) {
        const QPointF local = FInPlayLayout1->mapFromScene(scenePoint);
        LayoutInPlayMouseUp(FInPlayLayout1, Button, Shift, static_cast<float>(local.x()),
                            static_cast<float>(local.y()));
    } else if (!row || IsUnder(LayoutCards, scenePoint)) {
        HandCardMouseUp(Sender, Button, Shift, X, Y);
    } else {
        FormMouseUp(FormRenderGame, Button, Shift, static_cast<float>(scenePoint.x()),
                    static_cast<float>(scenePoint.y()));
    }
}

void TFormRenderGame::FormMouseUp(QObject *Sender, int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/)
{
    TExceptionGuard::Run(Sender, [&] { StopDragging(); });
}

void TFormRenderGame::HandCardMouseDown(QObject *Sender, int /*Button*/, int /*Shift*/, float X, float Y)
{
    TExceptionGuard::Run(Sender, [&] {
        if (!FCardLayout1 || !FormRenderGame)
            throw std::runtime_error("the hand row is gone");
        const QList<int> found = FCardLayout1->CardAtPoint(QPointF(X, Y));
        if (found.size() != 1)
            return;
        const int position = found.front();
        TLogging::LogI(QStringLiteral("Found card index %1").arg(position));
        const TCard *pressed = FCardLayout1->CardAtIndex(position)->Card();
        if (!FDragCard) {
            // Owned by the window's content, so its position is in window
            // coordinates; like every card it takes no pointer input.
            FDragCard = new TCard(FormRenderGame->contentItem());
            TLogging::LogI(QStringLiteral("Create Drag Card Width %1 Height %2").arg(Whole(FCardWidth), Whole(FCardHeight)));
        }
        FDragCard->setSize(QSizeF(FCardWidth, FCardHeight));
        const QSizeF bitmapSize(std::trunc(FCardWidth), std::trunc(FCardHeight));
        FDragCard->SetBitmap(
            ImageListCards->Bitmap(TCardHandLayout::TranslateIndexForImage(pressed->CardIndex()), bitmapSize));
        FDragCard->SetCardIndex(pressed->CardIndex());
        FDragCard->setVisible(true);
        BringToFront(*FDragCard);
        const QPointF scenePoint = FCardLayout1->mapToScene(QPointF(X, Y));
        PlaceCentred(*FDragCard, scenePoint);
        FDragSourceID = position;
        TLogging::LogI(QStringLiteral("Mouse down at [%1,%2] card %3 %4")
                .arg(Whole(scenePoint.x()), Whole(scenePoint.y()))
                .arg(FDragCard->CardIndex())
                .arg(FDragCard->Description()));
        FIsDragging = true;
    });
}

void TFormRenderGame::HandCardMouseMove(QObject *Sender, int /*Shift*/, float X, float Y)
{
    TExceptionGuard::Run(Sender, [&] { FollowPointer(*this, Sender, LayoutCards, X, Y); });
}

void TFormRenderGame::HandCardMouseUp(QObject *Sender, int /*Button*/, int /*Shift*/, float X, float Y)
{
    TExceptionGuard::Run(Sender, [&] {
        if (FIsDragging && FDragCard) {
            TLogging::LogI(QStringLiteral("Mouse up at [%1,%2] card %3 %4")
                    .arg(Whole(X), Whole(Y))
                    .arg(FDragCard->CardIndex())
                    .arg(FDragCard->Description()));
            StopDragging();
        } else {
            TLogging::LogI(QStringLiteral("Mouse up at [%1,%2] card undefined").arg(Whole(X), Whole(Y)));
        }
    });
}

void TFormRenderGame::LayoutInPlayMouseMove(QObject *Sender, int /*Shift*/, float X, float Y)
{
    TExceptionGuard::Run(Sender, [&] { FollowPointer(*this, Sender, LayoutInPlay, X, Y); });
}

void TFormRenderGame::LayoutInPlayMouseUp(QObject *Sender, int /*Button*/, int /*Shift*/, float X, float Y)
{
    TExceptionGuard::Run(Sender, [&] {
        // The drag ends whatever the drop does, failures included.
        const auto endDrag = qScopeGuard([this] { StopDragging(); });
        if (!FIsDragging || !FDragCard) {
            TLogging::LogI(QStringLiteral("Mouse up at [%1,%2] card undefined").arg(Whole(X), Whole(Y)));
            return;
        }
        try {
            TLogging::LogI(QStringLiteral("Inplay Mouse up at [%1,%2] card %3 %4")
                    .arg(Whole(X), Whole(Y))
                    .arg(FDragCard->CardIndex())
                    .arg(FDragCard->Description()));
            if (!FInPlayLayout1)
                throw std::runtime_error("the in-play row is gone");
            TServerMethods1Client &server = RequiredVantServer();
            const QList<int> targets = FInPlayLayout1->CardTouches(FDragCard);
            const QString message = targets.isEmpty()
                                        ? ResultText(server.PlayCard(FPlayerID, FDragCard->CardIndex()))
                                        : BeatCards(server, *FInPlayLayout1, FPlayerID, *FDragCard, targets);
            if (!message.isEmpty())
                ShowWarning(message);
            TLogging::LogI(QStringLiteral("Inplay mouse up turning off drag card"));
        } catch (const std::exception &E) {
            TLogging::LogI(QStringLiteral("LayoutInPlayMouseUp Exception %1").arg(QString::fromUtf8(E.what())));
        }
    });
}

void TFormRenderGame::StopDragging()
{
    FIsDragging = false;
    if (FDragCard)
        FDragCard->setVisible(false);
}
