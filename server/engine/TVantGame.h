// The rules engine of the reference game server: the registered players, the
// deck, the hands, the cards on the table and the discard pile of one game,
// every move a player can make, and each player's game state document.
//
// Plain C++ with Qt Core for text only: no sockets, no GUI, no clock. Not
// thread-safe: the host serialises every call (one mutex around the object).
// Deterministic for a seed: the same seed and the same calls give the same game.
//
// Cards are card indexes: suit * 13 + number, 0 to 51, number 0 the two and
// 12 the ace; -1 means no card.
#pragma once

#include <QString>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <vector>

// A player's role in the current exchange; the numbers travel as `mode`.
enum class TPlayMode : int { Sending = 0, Defending = 1, Other = 2 };

// One card on the table and the card that beat it (-1 while unbeaten).
struct TTableCard
{
    int card = -1;
    int killingCard = -1;
    bool operator==(const TTableCard &) const = default;
};

// A registered player: the id the engine gave it and its display name
// (as registered, trimmed).
struct TRegisteredPlayer
{
    int id = 0;
    QString name;
};

// The answer to EndTurn: accepted, or refused with a reason for the player.
struct TEndTurnResult
{
    bool accepted = false;
    QString reason; // empty when accepted
    explicit operator bool() const { return accepted; }
};

// A game position set up directly instead of dealt, for scenario tests and
// for replaying a position. Seats are the first hands.size() registered players.
struct TGameArrangement
{
    std::vector<std::vector<int>> hands; // per seat, in seat order
    std::vector<int> deck;               // top (drawn next) first, bottom last
    int trumpCard = -1;                  // its suit is the trump suit
    std::vector<TTableCard> table;
    int senderSeat = 0;
    int defenderSeat = -1;       // -1: the next seat after the sender holding cards
    int defenderStartCount = -1; // -1: the defender's hand plus its beating cards on the table
};

class TVantGame
{
public:
    static constexpr int DeckSize = 52;
    static constexpr int HandSize = 6;
    static constexpr int MinPlayers = 2;
    static constexpr int MaxPlayers = 6;
    // The text over the table before the first deal (the document's "loser"
    // member, which is the table's announcement).
    static inline const QString NoGameText = QStringLiteral("Press Deal to start a game");

    using ChangeHandler = std::function<void()>;

    explicit TVantGame(std::uint64_t seed = 0);

    // --- Cards -----------------------------------------------------------
    static int SuitOf(int card) { return card / 13; }
    static int NumberOf(int card) { return card % 13; }
    static bool IsCard(int card) { return card >= 0 && card < DeckSize; }
    // True when `card` beats `target` under trump suit `trumpSuit` (-1: none):
    // same suit and higher number, or a trump against a non-trump.
    static bool Beats(int card, int target, int trumpSuit);

    // --- Registration ----------------------------------------------------
    // The name with leading and trailing blanks and control characters removed.
    static QString TrimName(const QString &name);
    // The name upper-cased as in document member names: QLocale().toUpper(name).
    static QString NameKey(const QString &name);

    // Registers a player at the end of the seat order. Returns its new id
    // (ids start at 1 and are never reused), or 0 when refused: the trimmed
    // name is empty or already registered (ignoring case, see NameKey).
    // A player registered while a game runs watches it (mode 2, no cards).
    int AddPlayer(const QString &name);
    // Unregisters the player at any time; false when the id is unknown.
    // In a running game its hand goes to the discard pile; if it was the
    // sender or the defender the exchange is called off (the table goes to
    // the discard pile, players draw, the next exchange starts); if fewer
    // than two players then hold cards the game is over.
    bool RemovePlayer(int playerId);
    // The id of the player registered under that name ignoring case, if any.
    std::optional<int> FindPlayer(const QString &name) const;
    // Registered players in seat order.
    const std::vector<TRegisteredPlayer> &Players() const { return FPlayers; }
    // The display name of a registered player; empty for an unknown id.
    QString PlayerName(int playerId) const;

    // --- Game lifecycle --------------------------------------------------
    // Abandons any game and deals a new one to the first six registered
    // players, in seat order. Returns empty text when dealt, otherwise the
    // reason ("At least two players are needed to deal"; the old game stays).
    QString Deal();
    // Sets up a position directly, abandoning any game. Cards named nowhere
    // go to the discard pile. Returns empty text, or the reason it is invalid
    // (a card twice or not a card, too few or too many seats or registered
    // players, a bad seat, a killing card that does not beat its card); an
    // invalid arrangement leaves the game as it was.
    QString Arrange(const TGameArrangement &arrangement);
    // Abandons any game: back to no game, as before the first deal.
    void NewGame();

    // --- Moves (answers are empty text when accepted, else the reason) ----
    // Opens the exchange (the sender, empty table) or adds a card of a
    // number already on the table (the sender or an other player).
    QString PlayCard(int playerId, int card);
    // The defender beats `target`, an unbeaten card on the table, with `card`.
    QString KillCard(int playerId, int card, int target);
    // The defender ends the exchange: discards a fully beaten table and sends
    // next, or picks the table up. Then the players draw.
    TEndTurnResult EndTurn(int playerId);

    // --- Queries ---------------------------------------------------------
    bool HasGame() const { return FDealt; }            // dealt or arranged, maybe over
    bool IsRunning() const { return FDealt && !FOver; } // moves are possible
    bool IsOver() const { return FDealt && FOver; }
    // "<name> lost the game", "Nobody lost: a draw", ... once the game is over;
    // empty otherwise.
    const QString &Loser() const { return FLoser; }
    // Ids of the players dealt into the game, in seat order (finished ones too).
    std::vector<int> Seats() const;
    // True for a seated player that still takes part (not finished).
    bool IsActive(int playerId) const;
    TPlayMode Mode(int playerId) const; // Other for everyone without a role
    int Sender() const { return IsRunning() ? FSenderId : 0; }     // 0 when none
    int Defender() const { return IsRunning() ? FDefenderId : 0; } // 0 when none
    // The player the table waits for: the defender while a card on the table
    // is unbeaten, the sender otherwise; 0 when no game runs.
    int CurrentPlayer() const;
    // The hand of a seated player in the order the cards came; empty otherwise.
    std::vector<int> Hand(int playerId) const;
    const std::vector<TTableCard> &Table() const { return FTable; }
    // Deck, top (drawn next) first; the trump card is its bottom card until drawn.
    const std::vector<int> &Deck() const { return FDeck; }
    const std::vector<int> &Discard() const { return FDiscard; }
    int TrumpCard() const { return FTrumpCard; }
    int TrumpSuit() const { return FTrumpCard < 0 ? -1 : SuitOf(FTrumpCard); }
    // How many cards this exchange may put on the table in all.
    int TableLimit() const;
    // Every number (0..12) on the table, played or beating, as a bit set.
    std::uint16_t TableNumbers() const;

    // --- Documents -------------------------------------------------------
    // The game state document for the player registered under `name`
    // (ignoring case). Members in order: one "player" + NameKey(name) member
    // per registered player in seat order (the asker's with id, displayname,
    // mode, hand.count, hand.cards; the others with displayname and
    // hand.count), then currentplayer (display name; present only while a
    // game runs), inplay.cards, cardsremaining, cardsdead, trumpcard (-1
    // before a deal), and loser once the game is over. For a name nobody
    // registered the document has no member for it.
    nlohmann::ordered_json Document(const QString &name) const;

    // --- Change notification ----------------------------------------------
    // Grows by one with every change of state (registration, deal, accepted
    // move, removal), never otherwise: the host pushes when it moved.
    std::uint64_t Revision() const { return FRevision; }
    // Called after every change, synchronously, inside the changing call.
    void SetChangeHandler(ChangeHandler handler) { FOnChange = std::move(handler); }

private:
    struct TSeat
    {
        int id = 0;
        std::vector<int> hand;
    };

    const TSeat *SeatOf(int playerId) const;
    TSeat *SeatOf(int playerId);
    int SeatIndex(int playerId) const;
    // The first seat holding cards at or after seat index `from` (wrapping), or -1.
    int FirstActiveSeat(int from) const;
    QString CheckRunning() const;
    void ClearGame();
    void StartExchange(int senderSeat);
    // Players draw (from `drawFrom` on, the defender last), then the game
    // ends or the next exchange starts at the first seat holding cards from
    // `nextSenderFrom` on.
    void EndExchange(int nextSenderFrom, int drawFrom, int defenderSeat);
    void DrawUp(int firstSeat, int defenderSeat);
    void CallOffExchange(bool senderLeft, int leftSeat);
    bool CheckGameOver();
    static bool TakeFromHand(TSeat &seat, int card);
    void Changed();
    void AssertCardsAccountedFor() const;

    std::mt19937_64 FRandom;
    std::vector<TRegisteredPlayer> FPlayers;
    int FNextId = 1;

    bool FDealt = false;
    bool FOver = false;
    QString FLoser;
    std::vector<TSeat> FSeats;
    std::vector<int> FDeck; // top first
    std::vector<int> FDiscard;
    std::vector<TTableCard> FTable;
    int FTrumpCard = -1;
    int FSenderId = 0;
    int FDefenderId = 0;
    int FDefenderStartCount = 0;

    std::uint64_t FRevision = 0;
    ChangeHandler FOnChange;
};
