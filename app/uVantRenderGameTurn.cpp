// Turn controls: end turn, deal, the end-turn clock and the status layers.
#include "app/uVantRenderGame.h"

#include "app/uFormControl.h"
#include "net/ClientClassesUnitREST.h"

#include <QDateTime>
#include <cstdlib>
#include <stdexcept>

void TFormRenderGame::ButtonEndTurn2Click(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [&] {
        const QString answer = ResultText(RequiredVantServer().EndTurn(FPlayerID));
        // Only JSON true accepts; an empty or differently cased answer is shown too.
        if (answer != QStringLiteral("true"))
            ShowWarning(answer);
    });
}

void TFormRenderGame::RectangleDisableEndTurnClick(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [] { ShowWarning(QStringLiteral("Please give the other players time to respond")); });
}

void TFormRenderGame::TimerEndTurnClockTimer(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [&] {
        const qint64 elapsed = std::llabs(QDateTime::currentDateTime().msecsTo(FLastDataTime)) / 1000;
        if (elapsed + 1 > FEndTurnDelay) {
            RequiredControl(TimerEndTurnClock, "TimerEndTurnClock").setProperty("running", false);
            RequiredControl(RectangleDisableEndTurn, "RectangleDisableEndTurn").setVisible(false);
        } else {
            RequiredControl(LabelEndTurnTimer, "LabelEndTurnTimer")
                .setProperty("text", QString::number(FEndTurnDelay - elapsed));
        }
    });
}

void TFormRenderGame::ImageDealClick(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [&] {
        TDialogService *service = TDialogService::Current();
        if (!service)
            throw std::runtime_error("no dialog service installed");
        // The answer may come after the click's handler has returned.
        const auto deal = [this, sender = QPointer<QObject>(Sender)](TModalResult AResult) {
            if (AResult != TModalResult::mrYes)
                return;
            TExceptionGuard::Run(sender, [this] {
                RequiredVantServer().Deal();
                RequiredControl(LabelWinner, "LabelWinner").setVisible(false);
            });
        };
        service->MessageDialog(QStringLiteral("Start a new game?"), TMsgDlgType::mtConfirmation,
                               TMsgDlgButtons::mbYesNo, TMsgDlgBtn::mbNo, 0, deal);
    });
}

void TFormRenderGame::LayoutMessagesClick(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [&] {
        QQuickItem &status = RequiredControl(LayoutStatus, "LayoutStatus");
        status.setVisible(true);
        BringToFront(status);
    });
}

void TFormRenderGame::LayoutStatusClick(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [&] {
        BringToFront(RequiredControl(LabelStatus, "LabelStatus"));
        RequiredControl(LayoutStatus, "LayoutStatus").setVisible(false);
    });
}

void TFormRenderGame::ColorButton1Click(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [&] {
        QQuickItem &status = RequiredControl(LayoutStatus, "LayoutStatus");
        FloatAnimationShowStatus.SetInverse(status.opacity() > 0.9);
        FloatAnimationShowStatus.Start();
        BringToFront(status);
    });
}
