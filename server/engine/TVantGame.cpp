#include "server/engine/TVantGame.h"

#include "server/engine/DeckShuffle.h"

#include <QLocale>

#include <algorithm>
#include <array>

namespace {

bool IsNameTrimmable(QChar ch)
{
    return ch.isSpace() || ch.category() == QChar::Other_Control;
}

int Capped(std::size_t count, int cap)
{
    return static_cast<int>(std::min<std::size_t>(count, static_cast<std::size_t>(cap)));
}

} // namespace

TVantGame::TVantGame(std::uint64_t seed) : FRandom(seed) {}

bool TVantGame::Beats(int card, int target, int trumpSuit)
{
    if (!IsCard(card) || !IsCard(target))
        return false;
    if (SuitOf(card) == SuitOf(target))
        return NumberOf(card) > NumberOf(target);
    return SuitOf(card) == trumpSuit;
}

QString TVantGame::TrimName(const QString &name)
{
    qsizetype first = 0;
    qsizetype last = name.size();
    while (first < last && IsNameTrimmable(name[first]))
        ++first;
    while (last > first && IsNameTrimmable(name[last - 1]))
        --last;
    return name.mid(first, last - first);
}

QString TVantGame::NameKey(const QString &name)
{
    return QLocale().toUpper(name);
}

// --- Registration -----------------------------------------------------------

int TVantGame::AddPlayer(const QString &name)
{
    const QString trimmed = TrimName(name);
    if (trimmed.isEmpty() || FindPlayer(trimmed))
        return 0;
    const int id = FNextId++;
    FPlayers.push_back({id, trimmed});
    Changed();
    return id;
}

std::optional<int> TVantGame::FindPlayer(const QString &name) const
{
    const QString key = NameKey(TrimName(name));
    for (const TRegisteredPlayer &player : FPlayers)
        if (NameKey(player.name) == key)
            return player.id;
    return std::nullopt;
}

QString TVantGame::PlayerName(int playerId) const
{
    for (const TRegisteredPlayer &player : FPlayers)
        if (player.id == playerId)
            return player.name;
    return {};
}

bool TVantGame::RemovePlayer(int playerId)
{
    const auto registered = std::find_if(FPlayers.begin(), FPlayers.end(),
        [playerId](const TRegisteredPlayer &p) { return p.id == playerId; });
    if (registered == FPlayers.end())
        return false;
    FPlayers.erase(registered);

    const int index = SeatIndex(playerId);
    if (index >= 0) {
        // Its cards leave the game with it; the rest of the table stays whole.
        std::vector<int> &hand = FSeats[index].hand;
        FDiscard.insert(FDiscard.end(), hand.begin(), hand.end());
        FSeats.erase(FSeats.begin() + index);
        if (IsRunning() && (playerId == FSenderId || playerId == FDefenderId))
            CallOffExchange(playerId == FSenderId, index);
    }
    AssertCardsAccountedFor();
    Changed();
    return true;
}

void TVantGame::CallOffExchange(bool senderLeft, int leftSeat)
{
    for (const TTableCard &played : FTable) {
        FDiscard.push_back(played.card);
        if (played.killingCard >= 0)
            FDiscard.push_back(played.killingCard);
    }
    FTable.clear();
    // A leaving sender passes the lead to the seat that followed it; a
    // leaving defender leaves the lead with the sender.
    const int senderSeat = senderLeft ? leftSeat % static_cast<int>(FSeats.size()) : SeatIndex(FSenderId);
    const int defenderSeat = senderLeft ? SeatIndex(FDefenderId) : -1;
    EndExchange(senderSeat, senderSeat, defenderSeat);
}

// --- Game lifecycle ---------------------------------------------------------

void TVantGame::ClearGame()
{
    FDealt = false;
    FOver = false;
    FLoser.clear();
    FSeats.clear();
    FDeck.clear();
    FDiscard.clear();
    FTable.clear();
    FTrumpCard = -1;
    FSenderId = 0;
    FDefenderId = 0;
    FDefenderStartCount = 0;
}

QString TVantGame::Deal()
{
    if (FPlayers.size() < MinPlayers)
        return QStringLiteral("At least two players are needed to deal");
    ClearGame();
    const int seats = Capped(FPlayers.size(), MaxPlayers);
    for (int i = 0; i < seats; ++i)
        FSeats.push_back({FPlayers[i].id, {}});

    std::vector<int> shuffled = ShuffledDeck(FRandom);
    auto next = shuffled.begin();
    for (int round = 0; round < HandSize; ++round)
        for (TSeat &seat : FSeats)
            seat.hand.push_back(*next++);
    // The card turned up names the trump and is drawn last.
    FTrumpCard = *next++;
    FDeck.assign(next, shuffled.end());
    FDeck.push_back(FTrumpCard);
    FDealt = true;

    int firstSender = 0;
    int lowestTrump = DeckSize;
    for (int i = 0; i < seats; ++i)
        for (int card : FSeats[i].hand)
            if (SuitOf(card) == TrumpSuit() && card < lowestTrump) {
                lowestTrump = card;
                firstSender = i;
            }
    StartExchange(firstSender);
    AssertCardsAccountedFor();
    Changed();
    return {};
}

QString TVantGame::Arrange(const TGameArrangement &arrangement)
{
    const int seats = static_cast<int>(arrangement.hands.size());
    if (seats < MinPlayers || seats > MaxPlayers || seats > static_cast<int>(FPlayers.size()))
        return QStringLiteral("Two to six seats of registered players are needed");
    if (arrangement.trumpCard != -1 && !IsCard(arrangement.trumpCard))
        return QStringLiteral("The trump card is not a card");

    std::array<bool, DeckSize> placed{};
    const auto place = [&placed](int card) {
        if (!IsCard(card) || placed[card])
            return false;
        placed[card] = true;
        return true;
    };
    for (const std::vector<int> &hand : arrangement.hands)
        for (int card : hand)
            if (!place(card))
                return QStringLiteral("Card %1 is not a card or is placed twice").arg(card);
    for (int card : arrangement.deck)
        if (!place(card))
            return QStringLiteral("Card %1 is not a card or is placed twice").arg(card);
    const int trumpSuit = arrangement.trumpCard < 0 ? -1 : SuitOf(arrangement.trumpCard);
    for (const TTableCard &played : arrangement.table) {
        if (!place(played.card))
            return QStringLiteral("Card %1 is not a card or is placed twice").arg(played.card);
        if (played.killingCard == -1)
            continue;
        if (!place(played.killingCard))
            return QStringLiteral("Card %1 is not a card or is placed twice").arg(played.killingCard);
        if (!Beats(played.killingCard, played.card, trumpSuit))
            return QStringLiteral("Card %1 does not beat card %2").arg(played.killingCard).arg(played.card);
    }

    const int sender = arrangement.senderSeat;
    if (sender < 0 || sender >= seats)
        return QStringLiteral("The sender's seat is not taken");
    int defender = arrangement.defenderSeat;
    if (defender == -1)
        for (int step = 1; step < seats && defender == -1; ++step)
            if (!arrangement.hands[(sender + step) % seats].empty())
                defender = (sender + step) % seats;
    if (defender < 0 || defender >= seats || defender == sender)
        return QStringLiteral("The defender's seat is not valid");

    ClearGame();
    for (int i = 0; i < seats; ++i)
        FSeats.push_back({FPlayers[i].id, arrangement.hands[i]});
    FDeck = arrangement.deck;
    FTable = arrangement.table;
    FTrumpCard = arrangement.trumpCard;
    for (int card = 0; card < DeckSize; ++card)
        if (!placed[card])
            FDiscard.push_back(card);
    FSenderId = FSeats[sender].id;
    FDefenderId = FSeats[defender].id;
    const auto beaten = std::count_if(FTable.begin(), FTable.end(),
        [](const TTableCard &played) { return played.killingCard >= 0; });
    FDefenderStartCount = arrangement.defenderStartCount >= 0
        ? arrangement.defenderStartCount
        : static_cast<int>(FSeats[defender].hand.size() + beaten);
    FDealt = true;
    AssertCardsAccountedFor();
    Changed();
    return {};
}

void TVantGame::NewGame()
{
    ClearGame();
    Changed();
}

// --- Exchanges --------------------------------------------------------------

void TVantGame::StartExchange(int senderSeat)
{
    const int defenderSeat = FirstActiveSeat(senderSeat + 1);
    FSenderId = FSeats[senderSeat].id;
    FDefenderId = FSeats[defenderSeat].id;
    FDefenderStartCount = static_cast<int>(FSeats[defenderSeat].hand.size());
    FTable.clear();
}

void TVantGame::EndExchange(int nextSenderFrom, int drawFrom, int defenderSeat)
{
    DrawUp(drawFrom, defenderSeat);
    if (CheckGameOver())
        return;
    StartExchange(FirstActiveSeat(nextSenderFrom));
}

void TVantGame::DrawUp(int firstSeat, int defenderSeat)
{
    const int seats = static_cast<int>(FSeats.size());
    const auto drawFor = [this](TSeat &seat) {
        const std::size_t wanted = seat.hand.size() < HandSize ? HandSize - seat.hand.size() : 0;
        const std::size_t taken = std::min(wanted, FDeck.size());
        seat.hand.insert(seat.hand.end(), FDeck.begin(), FDeck.begin() + taken);
        FDeck.erase(FDeck.begin(), FDeck.begin() + taken);
    };
    for (int step = 0; step < seats; ++step) {
        const int seat = (firstSeat + step) % seats;
        if (seat != defenderSeat)
            drawFor(FSeats[seat]);
    }
    if (defenderSeat >= 0)
        drawFor(FSeats[defenderSeat]);
}

bool TVantGame::CheckGameOver()
{
    const auto holding = std::count_if(FSeats.begin(), FSeats.end(),
        [](const TSeat &seat) { return !seat.hand.empty(); });
    if (holding >= MinPlayers)
        return false;
    FOver = true;
    if (!FDeck.empty())
        FLoser = QStringLiteral("Nobody lost: too few players left");
    else if (holding == 1)
        FLoser = QStringLiteral("%1 lost the game").arg(PlayerName(
            std::find_if(FSeats.begin(), FSeats.end(), [](const TSeat &s) { return !s.hand.empty(); })->id));
    else
        FLoser = QStringLiteral("Nobody lost: a draw");
    return true;
}

// --- Moves ------------------------------------------------------------------

QString TVantGame::CheckRunning() const
{
    if (!FDealt)
        return QStringLiteral("There is no game running");
    if (FOver)
        return QStringLiteral("The game is over");
    return {};
}

bool TVantGame::TakeFromHand(TSeat &seat, int card)
{
    const auto found = std::find(seat.hand.begin(), seat.hand.end(), card);
    if (found == seat.hand.end())
        return false;
    seat.hand.erase(found);
    return true;
}

QString TVantGame::PlayCard(int playerId, int card)
{
    if (QString refusal = CheckRunning(); !refusal.isEmpty())
        return refusal;
    TSeat *seat = SeatOf(playerId);
    if (!seat)
        return QStringLiteral("You are not playing in this game");
    if (FTable.empty() && playerId != FSenderId)
        return QStringLiteral("It is not your turn");
    if (playerId == FDefenderId)
        return QStringLiteral("The defender cannot add cards");
    if (std::find(seat->hand.begin(), seat->hand.end(), card) == seat->hand.end())
        return QStringLiteral("You do not hold that card");
    if (!FTable.empty() && !(TableNumbers() & (1u << NumberOf(card))))
        return QStringLiteral("Only cards of a value already on the table can be added");
    if (static_cast<int>(FTable.size()) >= TableLimit())
        return QStringLiteral("The defender cannot take more cards");
    TakeFromHand(*seat, card);
    FTable.push_back({card, -1});
    AssertCardsAccountedFor();
    Changed();
    return {};
}

QString TVantGame::KillCard(int playerId, int card, int target)
{
    if (QString refusal = CheckRunning(); !refusal.isEmpty())
        return refusal;
    if (playerId != FDefenderId)
        return QStringLiteral("Only the defender can beat cards");
    TSeat *seat = SeatOf(playerId);
    if (std::find(seat->hand.begin(), seat->hand.end(), card) == seat->hand.end())
        return QStringLiteral("You do not hold that card");
    const auto played = std::find_if(FTable.begin(), FTable.end(),
        [target](const TTableCard &p) { return p.card == target; });
    if (played == FTable.end())
        return QStringLiteral("That card is not on the table");
    if (played->killingCard >= 0)
        return QStringLiteral("That card is already beaten");
    if (!Beats(card, target, TrumpSuit()))
        return QStringLiteral("That card does not beat it");
    TakeFromHand(*seat, card);
    played->killingCard = card;
    AssertCardsAccountedFor();
    Changed();
    return {};
}

TEndTurnResult TVantGame::EndTurn(int playerId)
{
    if (QString refusal = CheckRunning(); !refusal.isEmpty())
        return {false, refusal};
    if (playerId != FDefenderId)
        return {false, QStringLiteral("Only the defender can end the turn")};
    if (FTable.empty())
        return {false, QStringLiteral("There are no cards on the table")};

    const int senderSeat = SeatIndex(FSenderId);
    const int defenderSeat = SeatIndex(FDefenderId);
    const bool allBeaten = std::all_of(FTable.begin(), FTable.end(),
        [](const TTableCard &p) { return p.killingCard >= 0; });
    std::vector<int> &pile = allBeaten ? FDiscard : FSeats[defenderSeat].hand;
    for (const TTableCard &played : FTable) {
        pile.push_back(played.card);
        if (played.killingCard >= 0)
            pile.push_back(played.killingCard);
    }
    FTable.clear();
    // A defender that held out sends next; one that picked up is skipped.
    EndExchange(allBeaten ? defenderSeat : defenderSeat + 1, senderSeat, defenderSeat);
    AssertCardsAccountedFor();
    Changed();
    return {true, {}};
}

// --- Queries ----------------------------------------------------------------

const TVantGame::TSeat *TVantGame::SeatOf(int playerId) const
{
    const int index = SeatIndex(playerId);
    return index < 0 ? nullptr : &FSeats[index];
}

TVantGame::TSeat *TVantGame::SeatOf(int playerId)
{
    const int index = SeatIndex(playerId);
    return index < 0 ? nullptr : &FSeats[index];
}

int TVantGame::SeatIndex(int playerId) const
{
    for (std::size_t i = 0; i < FSeats.size(); ++i)
        if (FSeats[i].id == playerId)
            return static_cast<int>(i);
    return -1;
}

int TVantGame::FirstActiveSeat(int from) const
{
    const int seats = static_cast<int>(FSeats.size());
    for (int step = 0; step < seats; ++step) {
        const int seat = (from + step) % seats;
        if (!FSeats[seat].hand.empty())
            return seat;
    }
    return -1;
}

std::vector<int> TVantGame::Seats() const
{
    std::vector<int> ids;
    for (const TSeat &seat : FSeats)
        ids.push_back(seat.id);
    return ids;
}

bool TVantGame::IsActive(int playerId) const
{
    const TSeat *seat = SeatOf(playerId);
    if (!seat || !IsRunning())
        return false;
    return !seat->hand.empty() || !FDeck.empty() || playerId == FSenderId || playerId == FDefenderId;
}

TPlayMode TVantGame::Mode(int playerId) const
{
    if (IsRunning() && playerId == FSenderId)
        return TPlayMode::Sending;
    if (IsRunning() && playerId == FDefenderId)
        return TPlayMode::Defending;
    return TPlayMode::Other;
}

int TVantGame::CurrentPlayer() const
{
    if (!IsRunning())
        return 0;
    const bool unbeaten = std::any_of(FTable.begin(), FTable.end(),
        [](const TTableCard &p) { return p.killingCard < 0; });
    return unbeaten ? FDefenderId : FSenderId;
}

std::vector<int> TVantGame::Hand(int playerId) const
{
    const TSeat *seat = SeatOf(playerId);
    return seat ? seat->hand : std::vector<int>{};
}

int TVantGame::TableLimit() const
{
    return std::min(FDefenderStartCount, HandSize);
}

std::uint16_t TVantGame::TableNumbers() const
{
    std::uint16_t numbers = 0;
    for (const TTableCard &played : FTable) {
        numbers |= static_cast<std::uint16_t>(1u << NumberOf(played.card));
        if (played.killingCard >= 0)
            numbers |= static_cast<std::uint16_t>(1u << NumberOf(played.killingCard));
    }
    return numbers;
}

// --- Documents --------------------------------------------------------------

nlohmann::ordered_json TVantGame::Document(const QString &name) const
{
    using json = nlohmann::ordered_json;
    const std::optional<int> askerId = FindPlayer(name);
    json document = json::object();
    for (const TRegisteredPlayer &player : FPlayers) {
        const TSeat *seat = SeatOf(player.id);
        const std::size_t count = seat ? seat->hand.size() : 0;
        json entry = json::object();
        if (askerId == player.id) {
            entry["id"] = player.id;
            entry["displayname"] = player.name.toStdString();
            // Before the first deal nobody has a role yet: -1 shows no panel.
            entry["mode"] = HasGame() ? static_cast<int>(Mode(player.id)) : -1;
            json cards = json::array();
            if (seat)
                for (int card : seat->hand)
                    cards.push_back({{"card", card}});
            entry["hand"] = {{"count", count}, {"cards", std::move(cards)}};
        } else {
            entry["displayname"] = player.name.toStdString();
            entry["hand"] = {{"count", count}};
        }
        document["player" + NameKey(player.name).toStdString()] = std::move(entry);
    }
    if (IsRunning())
        document["currentplayer"] = PlayerName(CurrentPlayer()).toStdString();
    json table = json::array();
    for (const TTableCard &played : FTable)
        table.push_back({{"card", played.card}, {"killingcard", played.killingCard}});
    document["inplay"] = {{"cards", std::move(table)}};
    document["cardsremaining"] = FDeck.size();
    document["cardsdead"] = FDiscard.size();
    // Without a deal there is no trump card to show on the deck; the text
    // over the table tells the players how to begin instead.
    if (HasGame())
        document["trumpcard"] = FTrumpCard;
    if (IsOver())
        document["loser"] = FLoser.toStdString();
    else if (!HasGame())
        document["loser"] = NoGameText.toStdString();
    return document;
}

// --- Bookkeeping ------------------------------------------------------------

void TVantGame::Changed()
{
    ++FRevision;
    if (FOnChange)
        FOnChange();
}

void TVantGame::AssertCardsAccountedFor() const
{
#ifndef QT_NO_DEBUG
    if (!FDealt)
        return;
    std::array<int, DeckSize> seen{};
    for (const TSeat &seat : FSeats)
        for (int card : seat.hand)
            ++seen[card];
    for (int card : FDeck)
        ++seen[card];
    for (int card : FDiscard)
        ++seen[card];
    for (const TTableCard &played : FTable) {
        ++seen[played.card];
        if (played.killingCard >= 0)
            ++seen[played.killingCard];
    }
    for (int count : seen)
        Q_ASSERT(count == 1);
#endif
}
