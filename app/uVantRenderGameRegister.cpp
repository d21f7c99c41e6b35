// Registration of the player and the push-channel callbacks.
#include "app/uVantRenderGame.h"

void TFormRenderGame::ButtonRegisterClick(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [] {});
}

void TFormRenderGame::SetPlayerName(const QString &AName)
{
    if (std::exchange(FPlayerName, AName) != AName)
        emit PlayerNameChanged();
}

void TFormRenderGame::RegisterCallbacks()
{
}

void TFormRenderGame::UnregisterCallbacks()
{
}

void TFormRenderGame::DSChannelVantUpdateServerConnectionError(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [] {});
}
