#include "server/engine/TComputerPlayer.h"

#include "server/engine/DeckShuffle.h"

#include <algorithm>
#include <tuple>

TComputerPlayer::TComputerPlayer(int playerId, std::uint64_t seed, std::chrono::milliseconds endTurnDelay)
    : FPlayerId(playerId), FRandom(seed), FEndTurnDelay(endTurnDelay)
{
}

int TComputerPlayer::Cheapest(const std::vector<int> &cards, int trumpSuit)
{
    const auto cost = [trumpSuit](int card) {
        return std::make_tuple(TVantGame::SuitOf(card) == trumpSuit, TVantGame::NumberOf(card), card);
    };
    const auto best = std::min_element(cards.begin(), cards.end(),
        [&cost](int a, int b) { return cost(a) < cost(b); });
    return best == cards.end() ? -1 : *best;
}

std::optional<TGameMove> TComputerPlayer::Choose(const TVantGame &game)
{
    if (!game.IsRunning())
        return std::nullopt;
    const std::vector<int> hand = game.Hand(FPlayerId);
    const std::vector<TTableCard> &table = game.Table();
    const int trumpSuit = game.TrumpSuit();

    if (FPlayerId == game.Defender()) {
        if (table.empty())
            return std::nullopt;
        const auto unbeaten = std::find_if(table.begin(), table.end(),
            [](const TTableCard &p) { return p.killingCard < 0; });
        if (unbeaten == table.end())
            return TGameMove{TGameMove::Kind::EndTurn};
        std::vector<int> beaters;
        std::copy_if(hand.begin(), hand.end(), std::back_inserter(beaters),
            [&](int card) { return TVantGame::Beats(card, unbeaten->card, trumpSuit); });
        const int cheapest = Cheapest(beaters, trumpSuit);
        if (cheapest < 0)
            return TGameMove{TGameMove::Kind::EndTurn}; // picks the table up
        return TGameMove{TGameMove::Kind::Kill, cheapest, unbeaten->card};
    }

    if (table.empty())
        return FPlayerId == game.Sender() && !hand.empty()
            ? std::optional(TGameMove{TGameMove::Kind::Play, Cheapest(hand, trumpSuit)})
            : std::nullopt;

    if (static_cast<int>(table.size()) >= game.TableLimit())
        return std::nullopt;
    const std::uint16_t numbers = game.TableNumbers();
    std::vector<int> matching;
    std::copy_if(hand.begin(), hand.end(), std::back_inserter(matching),
        [numbers](int card) { return numbers & (1u << TVantGame::NumberOf(card)); });
    const int cheapest = Cheapest(matching, trumpSuit);
    // Trumps are kept back; other matching cards go in on one toss out of two.
    if (cheapest < 0 || TVantGame::SuitOf(cheapest) == trumpSuit)
        return std::nullopt;
    if (FCoinRevision != game.Revision()) {
        FCoinRevision = game.Revision();
        FCoinAdds = UniformBelow(FRandom, 2) == 0;
    }
    if (!FCoinAdds)
        return std::nullopt;
    return TGameMove{TGameMove::Kind::Play, cheapest};
}

bool TComputerPlayer::Act(TVantGame &game, Clock::time_point now)
{
    const std::optional<TGameMove> move = Choose(game);
    if (!move)
        return false;
    const bool holdingOut = move->kind == TGameMove::Kind::EndTurn && game.CurrentPlayer() != FPlayerId;
    if (holdingOut) {
        // Everything is beaten: give the others time to add before ending.
        if (FBeatenRevision != game.Revision()) {
            FBeatenRevision = game.Revision();
            FBeatenSince = now;
        }
        if (now - FBeatenSince < FEndTurnDelay)
            return false;
    }
    return Apply(game, FPlayerId, *move).isEmpty();
}

QString TComputerPlayer::Apply(TVantGame &game, int playerId, const TGameMove &move)
{
    switch (move.kind) {
    case TGameMove::Kind::Play:
        return game.PlayCard(playerId, move.card);
    case TGameMove::Kind::Kill:
        return game.KillCard(playerId, move.card, move.target);
    case TGameMove::Kind::EndTurn: {
        const TEndTurnResult result = game.EndTurn(playerId);
        return result ? QString() : result.reason;
    }
    }
    return QStringLiteral("Unknown move");
}
