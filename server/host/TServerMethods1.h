// The methods of the server class, on the rules engine and the player
// registry: what each REST method does, who may do it, and what it answers.
// Moves and private views are tied to the address that holds the seat.
#pragma once

#include "platform/TJSONValue.h"
#include "server/host/TServerMethod.h"

#include <QObject>
#include <QString>
#include <vector>

class TPlayerRegistry;
class TVantGame;

class TServerMethods1 : public QObject
{
    Q_OBJECT
public:
    TServerMethods1(TVantGame &game, TPlayerRegistry &registry, QObject *parent = nullptr);

    TJSONValue Players() const;
    TJSONValue RegisterPlayer(const QString &name, const QString &clientId, const TCallContext &caller);
    TJSONValue DeletePlayer(const QString &name);
    TJSONValue KillCard(int playerId, int card, int target, const TCallContext &caller);
    TJSONValue PlayCard(int playerId, int card, const TCallContext &caller);
    TJSONValue EndTurn(int playerId, const TCallContext &caller);
    TJSONValue NewGame();
    // The asker's private members (id, mode, cards) only go to the address
    // that holds the seat; anyone else gets the view of an onlooker.
    TJSONValue PlayerUpdate(const QString &name, const TCallContext &caller) const;
    TJSONValue PlayerSetClientID(const QString &name, const QString &clientId, const TCallContext &caller);
    TJSONValue Deal();
    void StateChange();

    // The method list of the REST face, in declaration order.
    std::vector<TServerMethod> Methods();

signals:
    // The registered players or their seat holders changed.
    void PlayersChanged();
    // Someone asked everyone to fetch the state again.
    void StateChangeRequested();

private:
    // The reason a move by that player from that caller is refused; empty when
    // the caller holds the seat.
    QString SeatRefusal(int playerId, const TCallContext &caller) const;

    TVantGame &FGame;
    TPlayerRegistry &FRegistry;
};
