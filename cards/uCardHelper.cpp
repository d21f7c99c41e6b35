#include "cards/uCardHelper.h"

#include <array>

TSuit SuitOfIndex(int index)
{
    return static_cast<TSuit>(index / 13);
}

int NumberOfIndex(int index)
{
    return index % 13;
}

QString SuitToName(TSuit suit)
{
    static const std::array<const char *, 4> names{"clubs", "diamonds", "hearts", "spades"};
    const auto ordinal = static_cast<std::size_t>(suit);
    return ordinal < names.size() ? QString::fromLatin1(names[ordinal]) : QString();
}

QString NumberToName(int number)
{
    static const std::array<const char *, 13> names{"two", "three", "four", "five", "six",
                                                    "seven", "eight", "nine", "ten", "jack",
                                                    "queen", "king", "ace"};
    if (number < 0 || number >= static_cast<int>(names.size()))
        return QStringLiteral("undefined");
    return QString::fromLatin1(names[static_cast<std::size_t>(number)]);
}

QString DescribeCard(int index)
{
    if (index < 0)
        return QStringLiteral("nil");
    return QStringLiteral("%1 of %2 [%3]")
        .arg(NumberToName(NumberOfIndex(index)), SuitToName(SuitOfIndex(index)))
        .arg(index);
}
