// Card drag and drop: from the hand onto the table.
#include "app/uVantRenderGame.h"

void TFormRenderGame::FormMouseUp(QObject *Sender, int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/)
{
    TExceptionGuard::Run(Sender, [] {});
}

void TFormRenderGame::HandCardMouseDown(QObject *Sender, int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/)
{
    TExceptionGuard::Run(Sender, [] {});
}

void TFormRenderGame::HandCardMouseMove(QObject *Sender, int /*Shift*/, float /*X*/, float /*Y*/)
{
    TExceptionGuard::Run(Sender, [] {});
}

void TFormRenderGame::HandCardMouseUp(QObject *Sender, int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/)
{
    TExceptionGuard::Run(Sender, [] {});
}

void TFormRenderGame::LayoutInPlayMouseMove(QObject *Sender, int /*Shift*/, float /*X*/, float /*Y*/)
{
    TExceptionGuard::Run(Sender, [] {});
}

void TFormRenderGame::LayoutInPlayMouseUp(QObject *Sender, int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/)
{
    TExceptionGuard::Run(Sender, [] {});
}

void TFormRenderGame::StopDragging()
{
}
