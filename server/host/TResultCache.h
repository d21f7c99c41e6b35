// The values kept for the cached twins of the methods: each kept value gets a
// path ("<id>/0/0") that a later GET /datasnap/cache/<path> reads. Only the
// newest few are kept, so a client that never reads them cannot grow memory.
#pragma once

#include "platform/TJSONValue.h"

#include <QString>
#include <deque>
#include <optional>
#include <utility>

class TResultCache
{
public:
    static constexpr std::size_t Capacity = 8;

    // Keeps the value; returns its cache id (the path is CachePath(id)).
    int Keep(TJSONValue value);
    std::optional<TJSONValue> Find(const QString &path) const;
    static QString CachePath(int id);

private:
    std::deque<std::pair<int, TJSONValue>> FEntries;
    int FNextId = 0;
};
