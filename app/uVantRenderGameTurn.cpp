// Turn controls: end turn, deal, the end-turn clock and the status layers.
#include "app/uVantRenderGame.h"

void TFormRenderGame::ButtonEndTurn2Click(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [] {});
}

void TFormRenderGame::RectangleDisableEndTurnClick(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [] {});
}

void TFormRenderGame::TimerEndTurnClockTimer(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [] {});
}

void TFormRenderGame::ImageDealClick(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [] {});
}

void TFormRenderGame::LayoutMessagesClick(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [] {});
}

void TFormRenderGame::LayoutStatusClick(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [] {});
}

void TFormRenderGame::ColorButton1Click(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [] {});
}
