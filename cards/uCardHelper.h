// Card identity: a card is one integer, suit * 13 + number; -1 means no card.
#pragma once

#include <QString>
#include <cstdint>

enum class TSuit : std::uint8_t { Clubs, Diamonds, Hearts, Spades };

// Truncating division, as the wire's integers are read: -1 gives Clubs.
TSuit SuitOfIndex(int index);
// Remainder with the sign of the index: -1 gives -1.
int NumberOfIndex(int index);
// "clubs" ... "spades"; empty for a value outside the four suits.
QString SuitToName(TSuit suit);
// "two" ... "ace"; "undefined" outside 0..12.
QString NumberToName(int number);
// "<number> of <suit> [<index>]", or "nil" for a negative index.
QString DescribeCard(int index);
