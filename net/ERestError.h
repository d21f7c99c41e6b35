// A server method call that failed: an error reply, a reply that is not a
// method result, or a connection that could not be made or broke.
#pragma once

#include <stdexcept>
#include <string>

class ERestError : public std::runtime_error
{
public:
    explicit ERestError(const std::string &AMessage, int AStatus = 0)
        : std::runtime_error(AMessage), FStatus(AStatus)
    {
    }

    // The HTTP status of the reply; 0 when no reply was read.
    int Status() const noexcept { return FStatus; }

private:
    int FStatus;
};
