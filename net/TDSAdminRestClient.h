// The base of generated method proxies: the REST connection they call
// through and whether the proxy owns the results it hands back.
#pragma once

class TDSRestConnection;

class TDSAdminRestClient
{
public:
    // The connection must outlive the client.
    explicit TDSAdminRestClient(TDSRestConnection &ARestConnection, bool AInstanceOwner = true)
        : FConnection(ARestConnection), FInstanceOwner(AInstanceOwner)
    {
    }
    virtual ~TDSAdminRestClient() = default;
    TDSAdminRestClient(const TDSAdminRestClient &) = delete;
    TDSAdminRestClient &operator=(const TDSAdminRestClient &) = delete;

    TDSRestConnection &Connection() const { return FConnection; }
    bool InstanceOwner() const { return FInstanceOwner; }

private:
    TDSRestConnection &FConnection;
    bool FInstanceOwner;
};
