// A method result the server keeps in its cache, by its path there
// ("0/0/0"); what the cached twins of the proxy's methods return.
#pragma once

#include "platform/TJSONValue.h"

#include <QString>
#include <utility>

class TDSRestConnection;

class IDSRestCachedJSONValue
{
public:
    virtual ~IDSRestCachedJSONValue() = default;
    virtual const QString &ItemPath() const = 0;
    // Fetches the kept value from the server; throws ERestError on failure.
    virtual TJSONValuePtr GetValue() = 0;
};

// Fetches through the connection it was made with, which must outlive it.
class TDSRestCachedJSONValue : public IDSRestCachedJSONValue
{
public:
    TDSRestCachedJSONValue(TDSRestConnection &AConnection, QString AItemPath)
        : FConnection(AConnection), FItemPath(std::move(AItemPath))
    {
    }

    const QString &ItemPath() const override { return FItemPath; }
    TJSONValuePtr GetValue() override;

private:
    TDSRestConnection &FConnection;
    QString FItemPath;
};
