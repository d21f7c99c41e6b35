#include "server/host/TResultCache.h"

#include <limits>

int TResultCache::Keep(TJSONValue value)
{
    const int id = FNextId;
    FNextId = FNextId == std::numeric_limits<int>::max() ? 0 : FNextId + 1;
    FEntries.emplace_back(id, std::move(value));
    if (FEntries.size() > Capacity)
        FEntries.pop_front();
    return id;
}

std::optional<TJSONValue> TResultCache::Find(const QString &path) const
{
    for (const auto &[id, value] : FEntries) {
        if (CachePath(id) == path)
            return value;
    }
    return std::nullopt;
}

QString TResultCache::CachePath(int id)
{
    return QStringLiteral("%1/0/0").arg(id);
}
