// Registration of the player and the push-channel callbacks.
#include "app/uVantRenderGame.h"

#include "platform/TRandom.h"

QString RandomString(int ALength, const QString &AAlphabet)
{
    QString result;
    result.reserve(ALength);
    for (int i = 0; i < ALength; ++i)
        result += AAlphabet.at(TRandom::Random(AAlphabet.size()));
    return result;
}

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
