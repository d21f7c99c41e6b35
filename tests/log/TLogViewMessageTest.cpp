#include "log/TLogViewMessage.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

TLogViewMessage Message(TLogViewMessage::TKind kind, const QString &text)
{
    TLogViewMessage m;
    m.pid = 123;
    m.kind = kind;
    m.text = text;
    return m;
}

TEST(TLogViewMessage, SurvivesTheDatagramAndDisplaysOnOneLine)
{
    TLogViewMessage withObject = Message(TLogViewMessage::TKind::send, QStringLiteral("info::x"));
    withObject.hasObject = true;
    withObject.objectClass = QStringLiteral("QTimer");
    withObject.objectName = QStringLiteral("clock");

    const struct
    {
        TLogViewMessage message;
        QString display;
    } cases[] = {
        {Message(TLogViewMessage::TKind::send, QStringLiteral("info::hello 100%")),
         QStringLiteral("[pid 123] info::hello 100%")},
        {Message(TLogViewMessage::TKind::enter, QStringLiteral("Click")),
         QStringLiteral("[pid 123] -> Click")},
        {Message(TLogViewMessage::TKind::exit, QStringLiteral("Click")),
         QStringLiteral("[pid 123] <- Click")},
        {withObject, QStringLiteral("[pid 123] info::x  (QTimer \"clock\")")},
        // Control characters from a message never reach the terminal raw.
        {Message(TLogViewMessage::TKind::send, QStringLiteral("a\nb\x1b[2J\\c\u00e9")),
         QStringLiteral("[pid 123] a\\nb\\x1b[2J\\\\c\u00e9")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.display.toStdString());
        const auto back = TLogViewMessage::FromDatagram(c.message.ToDatagram());
        ASSERT_TRUE(back);
        EXPECT_EQ(back->DisplayLine(), c.display);
        EXPECT_EQ(back->text, c.message.text);
    }
}

TEST(TLogViewMessage, RejectsMalformedDatagrams)
{
    const QByteArray bad[] = {
        "",
        "not json",
        "[1,2]",
        R"({"kind":"send","text":"x"})",
        R"({"pid":"1","kind":"send","text":"x"})",
        R"({"pid":1,"kind":"shout","text":"x"})",
        R"({"pid":1,"kind":"send","text":5})",
        R"({"pid":1,"kind":"send")",
    };
    for (const QByteArray &datagram : bad)
        EXPECT_FALSE(TLogViewMessage::FromDatagram(datagram)) << datagram.constData();
}

} // namespace
