// The real dialog service: drives a Qt Quick Controls Dialog of the window
// (objectName "DialogMessage"). The dialog item offers the properties
// messageText (shown as plain text), dialogType (TMsgDlgType as int), yesNo
// (bool) and defaultButton (TMsgDlgBtn as int), the signals accepted(),
// rejected() and closed(), and open(). Requests made while a dialog is open wait their
// turn, so no answer goes to the wrong caller.
#pragma once

#include "platform/TDialogService.h"

#include <QObject>
#include <QPointer>
#include <deque>

class TQuickDialogService : public QObject, public TDialogService
{
    Q_OBJECT

public:
    explicit TQuickDialogService(QObject *Dialog);

    void MessageDialog(const QString &Text, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                       TMsgDlgBtn DefaultButton, int HelpContext, CloseProc OnClose) override;

private slots:
    void DialogAccepted();
    void DialogRejected();
    void ShowNext();

private:
    struct TRequest
    {
        QString Text;
        TMsgDlgType DlgType;
        TMsgDlgButtons Buttons;
        TMsgDlgBtn DefaultButton;
        CloseProc OnClose;
    };

    void Answer(bool Accepted);

    QPointer<QObject> FDialog;
    std::deque<TRequest> FRequests;
    // The front request is on screen, waiting for its answer.
    bool FShowing = false;
};
