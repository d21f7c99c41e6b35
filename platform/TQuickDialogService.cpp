#include "platform/TQuickDialogService.h"

#include "platform/TExceptionGuard.h"

#include <QMetaObject>
#include <QVariant>
#include <stdexcept>

TQuickDialogService::TQuickDialogService(QObject *Dialog) : FDialog(Dialog)
{
    // The dialog's C++ type is private to Qt; connect by signature.
    if (!connect(Dialog, SIGNAL(accepted()), this, SLOT(DialogAccepted()))
        || !connect(Dialog, SIGNAL(rejected()), this, SLOT(DialogRejected()))
        || !connect(Dialog, SIGNAL(closed()), this, SLOT(ShowNext())))
        throw std::runtime_error("DialogMessage has no accepted()/rejected()/closed() signals");
}

void TQuickDialogService::MessageDialog(const QString &Text, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                        TMsgDlgBtn DefaultButton, int /*HelpContext*/, CloseProc OnClose)
{
    FRequests.push_back({Text, DlgType, Buttons, DefaultButton, std::move(OnClose)});
    ShowNext();
}

void TQuickDialogService::ShowNext()
{
    // A dialog still closing would ignore open(); its closed() comes back here.
    if (FShowing || FRequests.empty() || !FDialog || FDialog->property("visible").toBool())
        return;
    FShowing = true;
    const TRequest &request = FRequests.front();
    FDialog->setProperty("messageText", request.Text);
    FDialog->setProperty("dialogType", static_cast<int>(request.DlgType));
    FDialog->setProperty("yesNo", request.Buttons == TMsgDlgButtons::mbYesNo);
    FDialog->setProperty("defaultButton", static_cast<int>(request.DefaultButton));
    QMetaObject::invokeMethod(FDialog, "open");
}

void TQuickDialogService::DialogAccepted()
{
    Answer(true);
}

void TQuickDialogService::DialogRejected()
{
    Answer(false);
}

void TQuickDialogService::Answer(bool Accepted)
{
    if (!FShowing)
        return;
    TRequest request = std::move(FRequests.front());
    FRequests.pop_front();
    FShowing = false;
    const bool yesNo = request.Buttons == TMsgDlgButtons::mbYesNo;
    const TModalResult result = Accepted ? (yesNo ? TModalResult::mrYes : TModalResult::mrOk)
                                         : (yesNo ? TModalResult::mrNo : TModalResult::mrCancel);
    if (request.OnClose)
        TExceptionGuard::Run(FDialog.data(), [&] { request.OnClose(result); });
    ShowNext();
}
