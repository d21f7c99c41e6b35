#include "TDSRestCachedJSONValue.h"

#include "net/DSRestWire.h"
#include "net/TDSRestConnection.h"

#include <memory>

TJSONValuePtr TDSRestCachedJSONValue::GetValue()
{
    const TDSRestReply reply = FConnection.Get(dsrest::CachePath(FItemPath));
    return std::make_shared<const TJSONValue>(dsrest::ReadReplyMember(reply.Status, reply.Body, "result"));
}
