// Drives the computer players: after every change of the game, and while one
// of them still has something to do, a single-shot timer lets them move after
// the configured delay, one move per tick, through the engine's own calls.
#pragma once

#include "server/engine/TComputerPlayer.h"

#include <QObject>
#include <vector>

class QTimer;
class TVantGame;

class TBotDriver : public QObject
{
    Q_OBJECT
public:
    TBotDriver(TVantGame &game, int delayMs, QObject *parent = nullptr);

    void AddBot(int playerId, std::uint64_t seed);
    // Called after every change of the game.
    void Schedule();

private:
    void Tick();

    TVantGame &FGame;
    int FDelayMs;
    QTimer *FTimer;
    std::vector<TComputerPlayer> FBots;
};
