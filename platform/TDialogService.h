// The one message-dialog service of the program. The window installs the
// real one (a dialog inside the window); tests install a double.
#pragma once

#include <QString>
#include <functional>

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };

// The button sets the program uses.
enum class TMsgDlgButtons { mbOK, mbYesNo };

enum class TMsgDlgBtn { mbOK, mbYes, mbNo };

enum class TModalResult { mrNone, mrOk, mrYes, mrNo, mrCancel };

class TDialogService
{
public:
    using CloseProc = std::function<void(TModalResult)>;

    virtual ~TDialogService() = default;

    // Shows Text as plain text and returns at once; OnClose receives the
    // player's answer when the dialog closes (through the exception guard).
    virtual void MessageDialog(const QString &Text, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                               TMsgDlgBtn DefaultButton, int HelpContext, CloseProc OnClose) = 0;

    // The installed service, or null before the window installs one.
    static TDialogService *Current();

    // Installs a service for the scope's lifetime, putting the previous one
    // back on every way out.
    class TInstall
    {
    public:
        explicit TInstall(TDialogService &Service);
        ~TInstall();
        TInstall(const TInstall &) = delete;
        TInstall &operator=(const TInstall &) = delete;

    private:
        TDialogService *FPrevious;
    };
};
