// The wire's text layers: path segments and the ASCII JSON writer.
#include "server/host/TAddressKey.h"
#include "server/host/TAsciiJson.h"
#include "server/host/TRestPath.h"

#include <QHostAddress>
#include <gtest/gtest.h>

namespace {

TEST(RestPath, DecodesEachSegmentAlone)
{
    const struct
    {
        QByteArray segment;
        std::optional<QString> decoded;
    } cases[] = {
        {"Ann", QStringLiteral("Ann")},
        {"A%2Fb", QStringLiteral("A/b")},
        {"a+b", QStringLiteral("a+b")},
        {"a%20b", QStringLiteral("a b")},
        {"%c3%a9%C3%A9", QStringLiteral("\u00e9\u00e9")},
        {"", QString()},
        {"%", std::nullopt},
        {"%4", std::nullopt},
        {"%ZZ", std::nullopt},
        {"abc%G1", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DecodeSegment(c.segment), c.decoded) << c.segment.constData();
}

TEST(RestPath, SplitsOnRawSlashesWithOneTrailingSlashAllowed)
{
    using L = QList<QByteArray>;
    EXPECT_EQ(SplitRawPath("/datasnap/rest/C/M/"), (L{"datasnap", "rest", "C", "M"}));
    EXPECT_EQ(SplitRawPath("/datasnap/rest/C/M"), (L{"datasnap", "rest", "C", "M"}));
    EXPECT_EQ(SplitRawPath("/C/M//"), (L{"C", "M", ""}));
    EXPECT_EQ(SplitRawPath("/C/M/a%2Fb/"), (L{"C", "M", "a%2Fb"}));
    EXPECT_TRUE(SplitRawPath("/").isEmpty());
}

TEST(AsciiJson, WritesPureAsciiWithEscapedSlashes)
{
    const TJSONValue value = {{"name", "J\u00f6rg/\U0001F600\x01\x7f"}, {"id", 7}};
    EXPECT_EQ(AsciiJson(value), QByteArray(R"({"name":"J\u00f6rg\/\ud83d\ude00\u0001\u007f","id":7})"));
}

TEST(AsciiJson, InvalidUtf8NeverThrows)
{
    EXPECT_EQ(AsciiJson(TJSONValue(std::string("a\xff"))), QByteArray(R"("a\ufffd")"));
}

TEST(AddressKey, LoopbackIsOneMachineAndMappedIPv4IsPlainIPv4)
{
    EXPECT_EQ(AddressKey(QHostAddress("127.0.0.1")), AddressKey(QHostAddress("127.0.0.2")));
    EXPECT_EQ(AddressKey(QHostAddress("::1")), AddressKey(QHostAddress("127.0.0.1")));
    EXPECT_EQ(AddressKey(QHostAddress("::ffff:127.0.0.1")), AddressKey(QHostAddress("127.0.0.1")));
    EXPECT_EQ(AddressKey(QHostAddress("::ffff:192.168.1.20")), "192.168.1.20");
    EXPECT_NE(AddressKey(QHostAddress("192.168.1.20")), AddressKey(QHostAddress("192.168.1.21")));
    EXPECT_NE(AddressKey(QHostAddress("127.0.0.1")), ServerAddressKey());
}

} // namespace
