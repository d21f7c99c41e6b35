// The player list panel: lists the registered players and removes them.
#include "app/uVantRenderGame.h"

#include "app/uFormControl.h"
#include "net/ClientClassesUnitREST.h"

#include <stdexcept>

namespace {

// The standard gesture id of the left swipe.
constexpr int LeftSwipeGestureID = 1;

} // namespace

void TFormRenderGame::ShowPlayerList()
{
    const TJSONValuePtr players = RequiredVantServer().Players();
    if (players) {
        if (!players->is_object())
            throw EJSONError("the player list is not a JSON object");
        FPlayerListModel.Clear();
        for (const auto &[name, member] : players->items()) {
            if (!QString::fromStdString(name).startsWith(QStringLiteral("player")))
                continue;
            const TJSONValue *playerName = vantjson::FindValue(member, QStringLiteral("name"));
            const TJSONValue *id = vantjson::FindValue(member, QStringLiteral("id"));
            if (!id)
                throw EJSONError("player " + name + " has no id");
            const int tag = vantjson::ReadInteger(*id);
            if (playerName)
                FPlayerListModel.Add(vantjson::ValueText(*playerName), tag);
        }
    }
    RequiredControl(LayoutPlayerList, "LayoutPlayerList").setVisible(true);
}

void TFormRenderGame::LayoutTopDblClick(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [&] { ShowPlayerList(); });
}

void TFormRenderGame::RectanglePlayerTouchAreaDblClick(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [&] { ShowPlayerList(); });
}

void TFormRenderGame::LayoutTopGesture(QObject *Sender, int GestureID)
{
    TExceptionGuard::Run(Sender, [&] {
        if (GestureID == LeftSwipeGestureID)
            ShowPlayerList();
    });
}

void TFormRenderGame::Rectangle6Click(QObject *Sender)
{
    TExceptionGuard::Run(Sender, [&] { RequiredControl(LayoutPlayerList, "LayoutPlayerList").setVisible(false); });
}

bool TFormRenderGame::ListViewPlayerListDeletingItem(QObject *Sender, int AIndex)
{
    bool ACanDelete = false;
    TExceptionGuard::Run(Sender, [&] {
        if (AIndex < 0 || AIndex >= FPlayerListModel.Count())
            return;
        // The server knows players by name; the row's tag is not sent.
        RequiredVantServer().DeletePlayer(FPlayerListModel.Text(AIndex));
        ACanDelete = true;
    });
    return ACanDelete;
}
