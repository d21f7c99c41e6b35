// Server discovery: the "Hello" broadcast and the server's announcement.
#include "app/uVantRenderGame.h"

#include "net/TIdUDPServer.h"

void TFormRenderGame::SetUpDiscoverySocket()
{
}

void TFormRenderGame::PingServer()
{
}

void TFormRenderGame::TimerServerWatchdogTimer(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [] {});
}

void TFormRenderGame::Image1Click(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [] {});
}

void TFormRenderGame::IdUDPServer1UDPRead(QObject *AThread, const QByteArray & /*AData*/,
                                          const TIdSocketHandle & /*ABinding*/)
{
    TExceptionGuard::Run(AThread, [] {});
}

void TFormRenderGame::IdUDPServer1UDPException(QObject *AThread, const TIdSocketHandle & /*ABinding*/,
                                               const QString & /*AMessage*/,
                                               const QString & /*AExceptionClass*/)
{
    TExceptionGuard::Run(AThread, [] {});
}

void TFormRenderGame::IdUDPServer1Status(QObject *ASender, int /*AStatus*/, const QString & /*AStatusText*/)
{
    TExceptionGuard::Run(ASender, [] {});
}
