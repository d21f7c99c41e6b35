// Every test of this binary opens sockets; they must stay inside the private
// network namespace that scripts/in-netns makes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

class TNetnsGuard : public ::testing::Environment
{
public:
    void SetUp() override
    {
        const char *inNetns = std::getenv("VANT_IN_NETNS");
        if (inNetns == nullptr || std::strcmp(inNetns, "1") != 0)
            FAIL() << "Run this test binary inside scripts/in-netns: it opens sockets.";
    }
};

const auto *const Guard = ::testing::AddGlobalTestEnvironment(new TNetnsGuard);

} // namespace
