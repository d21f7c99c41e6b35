// The player list panel: lists the registered players and removes them.
#include "app/uVantRenderGame.h"

void TFormRenderGame::ShowPlayerList()
{
}

void TFormRenderGame::LayoutTopDblClick(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [] {});
}

void TFormRenderGame::RectanglePlayerTouchAreaDblClick(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [] {});
}

void TFormRenderGame::LayoutTopGesture(QObject *Sender, int /*GestureID*/)
{
    TExceptionGuard::Run(Sender, [] {});
}

void TFormRenderGame::Rectangle6Click(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [] {});
}

bool TFormRenderGame::ListViewPlayerListDeletingItem(QObject *Sender, int /*AIndex*/)
{
    bool ACanDelete = false;
    TExceptionGuard::Run(Sender, [] {});
    return ACanDelete;
}
