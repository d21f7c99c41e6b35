// A push callback that carries a name: the name is its id on the channel
// manager that owns it (see TDSClientCallbackChannelManager).
#pragma once

#include "platform/TJSONValue.h"

#include <QString>

class TDBXNamedCallback
{
public:
    explicit TDBXNamedCallback(const QString &AName) : FName(AName) {}
    virtual ~TDBXNamedCallback() = default;
    TDBXNamedCallback(const TDBXNamedCallback &) = delete;
    TDBXNamedCallback &operator=(const TDBXNamedCallback &) = delete;

    const QString &Name() const { return FName; }

    // Called on the channel manager's own thread for each push that reaches
    // this callback; the returned value is sent back to the server as the
    // answer to that push.
    virtual TJSONValue Execute(const TJSONValue &Arg) = 0;

private:
    const QString FName;
};
