// The table update: redraws the window from the player's game state document.
#include "app/uVantRenderGame.h"

void TFormRenderGame::Update(const TJSONValue & /*AValue*/)
{
}

void TFormRenderGame::QueueUpdate(TJSONValue /*AValue*/)
{
}

QString TFormRenderGame::PlayModeName(int /*AMode*/) const
{
    return {};
}

void TFormRenderGame::ShowTrumpCard(int /*ACardIndex*/)
{
}

void TFormRenderGame::LayoutCardDeckResize(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [] {});
}
