// Registration of the player and the push-channel callbacks.
#include "app/uVantRenderGame.h"

#include "app/TVantCallback.h"
#include "cards/UnitPlayerLayout.h"
#include "log/LoggingUnit.h"
#include "net/ClientClassesUnitREST.h"
#include "net/TDSClientCallbackChannelManager.h"
#include "platform/TRandom.h"

#include <QColor>

namespace {

const QColor ColorRegistered = QColor::fromRgba(0xFF008000);
const QColor ColorUnregistered = QColor::fromRgba(0xFFFF0000);

// The integer at the start of AText: leading blanks skipped, an optional
// sign, then the digits up to the first other character. No digits, or more
// than a 32-bit integer holds, give 0; nothing is reported.
int LeadingInteger(const QString &AText)
{
    qsizetype start = 0;
    while (start < AText.size() && AText.at(start) == u' ')
        ++start;
    qsizetype end = start;
    if (end < AText.size() && (AText.at(end) == u'+' || AText.at(end) == u'-'))
        ++end;
    while (end < AText.size() && AText.at(end) >= u'0' && AText.at(end) <= u'9')
        ++end;
    bool ok = false;
    const int value = QStringView(AText).mid(start, end - start).toInt(&ok);
    return ok ? value : 0;
}

} // namespace

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
    TExceptionGuard::Run(Sender, [&] {
        if (!ComboEditPlayers)
            throw std::runtime_error("control ComboEditPlayers is gone");
        const QString typed = ComboEditPlayers->property("editText").toString();
        if (typed.isEmpty()) {
            if (TDialogService *dialogs = TDialogService::Current())
                dialogs->MessageDialog(QStringLiteral("Please enter your player name"), TMsgDlgType::mtError,
                                       TMsgDlgButtons::mbOK, TMsgDlgBtn::mbOK, 0, nullptr);
            return;
        }
        // QString::trimmed stops at Unicode blanks only; the name loses
        // every character at or below the blank.
        qsizetype first = 0;
        qsizetype last = typed.size();
        while (first < last && typed.at(first) <= u' ')
            ++first;
        while (last > first && typed.at(last - 1) <= u' ')
            --last;
        const QString name = typed.mid(first, last - first);

        const TJSONValuePtr result = FVantServer->RegisterPlayer(name, FClientID);
        if (!result)
            throw std::runtime_error("RegisterPlayer returned no value");
        SetPlayerID(LeadingInteger(vantjson::ValueText(*result)));
        SetPlayerName(name);
        Update(FLastData ? *FLastData : TJSONValue());
        LayoutRegister->setVisible(false);
    });
}

void TFormRenderGame::SetPlayerName(const QString &AName)
{
    const bool changed = std::exchange(FPlayerName, AName) != AName;
    TLogging::SetPrefix(AName);
    SetCaption(AName);
    if (FPlayerLayout1)
        FPlayerLayout1->SetCurrentPlayer(AName);
    if (changed)
        emit PlayerNameChanged();
}

void TFormRenderGame::RegisterCallbacks()
{
    TLogging::LogI(QStringLiteral("VantClient Registering Callback"));
    if (FCallbackChannelRegistered)
        return;
    try {
        const QString updateName = DSChannelVantUpdate->ChannelName();
        FCallbackChannelRegistered =
            DSChannelVantUpdate->RegisterCallback(updateName, new TVantCallback(updateName, *this));
        const QString commName = DSChannelVantComm->ChannelName();
        FCommChannelRegistered = DSChannelVantComm->RegisterCallback(commName, new TVantCallback(commName, *this));
        if (FCallbackChannelRegistered) {
            const QString message = QStringLiteral("VantClient Registered %1 Host %2")
                                        .arg(FClientID, DSChannelVantUpdate->DSHostname());
            TLogging::LogI(message);
            if (LabelStatus)
                LabelStatus->setProperty("text", message);
            if (TimerServerWatchdog)
                TimerServerWatchdog->setProperty("running", false);
            if (ColorButton1)
                ColorButton1->setProperty("color", ColorRegistered);
        } else {
            TLogging::LogI(QStringLiteral("VantClient Registration Failed ") + FClientID);
        }
    } catch (const std::exception &E) {
        TLogging::LogI(QStringLiteral("VantClient Registration Error ") + QString::fromUtf8(E.what()));
    }
}

void TFormRenderGame::UnregisterCallbacks()
{
    if (!FCallbackChannelRegistered)
        return;
    TLogging::LogI(QStringLiteral("Vant Client Unregistering Client ") + DSChannelVantUpdate->ManagerId());
    FCallbackChannelRegistered = false;
    DSChannelVantUpdate->UnregisterCallback(DSChannelVantUpdate->ChannelName());
    DSChannelVantComm->UnregisterCallback(DSChannelVantComm->ChannelName());
    if (ColorButton1)
        ColorButton1->setProperty("color", ColorUnregistered);
}

void TFormRenderGame::DSChannelVantUpdateServerConnectionError(QObject *Sender)
{
    // Raised on the manager's thread: it only logs.
    TExceptionGuard::Run(Sender, [&] {
        TLogging::LogI(QStringLiteral("Vant Client DS Callback Channel Error ") + DSChannelVantUpdate->StateError());
    });
}
