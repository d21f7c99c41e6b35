// A dialog service for tests: records every request and answers it at once
// with a preset result. Installed for its own lifetime.
#pragma once

#include "platform/TDialogService.h"

#include <QString>
#include <optional>
#include <vector>

class TDialogServiceDouble : public TDialogService
{
public:
    struct TCall
    {
        QString Text;
        TMsgDlgType DlgType;
        TMsgDlgButtons Buttons;
        TMsgDlgBtn DefaultButton;
    };

    explicit TDialogServiceDouble(TModalResult AAnswer = TModalResult::mrOk) : Answer(AAnswer) {}

    void MessageDialog(const QString &Text, TMsgDlgType DlgType, TMsgDlgButtons Buttons, TMsgDlgBtn DefaultButton,
                       int /*HelpContext*/, CloseProc OnClose) override
    {
        Calls.push_back({Text, DlgType, Buttons, DefaultButton});
        if (OnClose)
            OnClose(Answer);
    }

    TModalResult Answer;
    std::vector<TCall> Calls;

private:
    // Declared last: installs after the members exist, uninstalls first.
    TInstall FInstall{*this};
};
