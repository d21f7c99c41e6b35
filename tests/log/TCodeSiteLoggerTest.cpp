#include "log/TCodeSiteLogger.h"
#include "QtPrinters.h"
#include "TViewerSocket.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

TEST(TCodeSiteLogger, DeliversEachCallAsOneMessageWithThePid)
{
    TViewerSocket viewer;
    TCodeSiteLogger logger(viewer.Path());
    logger.Send(QStringLiteral("info::hello"));
    logger.EnterMethod(QStringLiteral("Click"));
    logger.ExitMethod(QStringLiteral("Click"));
    logger.Send(QStringLiteral("info::x"), nullptr);

    const auto sent = viewer.Receive();
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->pid, ::getpid());
    EXPECT_EQ(sent->text, QStringLiteral("info::hello"));
    EXPECT_FALSE(sent->hasObject);
    EXPECT_EQ(viewer.Receive()->kind, TLogViewMessage::TKind::enter);
    EXPECT_EQ(viewer.Receive()->kind, TLogViewMessage::TKind::exit);
    const auto noObject = viewer.Receive();
    ASSERT_TRUE(noObject);
    EXPECT_TRUE(noObject->hasObject);
    EXPECT_TRUE(noObject->objectClass.isEmpty());
}

// A viewer that is gone, never started, or too slow must never hold up the
// program: every call returns at once and the message is dropped.
TEST(TCodeSiteLogger, NeverBlocksWithoutAReadingViewer)
{
    QTemporaryDir dir;
    TCodeSiteLogger absent(dir.filePath(QStringLiteral("nobody.sock")));
    absent.Send(QStringLiteral("dropped"));

    TCodeSiteLogger tooLong(QString(200, u'x'));
    tooLong.Send(QStringLiteral("dropped"));

    TViewerSocket neverReads;
    TCodeSiteLogger flooding(neverReads.Path());
    for (int i = 0; i < 5000; ++i) // far beyond a datagram queue's length
        flooding.Send(QStringLiteral("message %1").arg(i));
    EXPECT_EQ(neverReads.Receive()->text, QStringLiteral("message 0"));
}

TEST(TCodeSiteLogger, CutsAHugeTextSoItStillArrives)
{
    TViewerSocket viewer;
    TCodeSiteLogger logger(viewer.Path());
    logger.Send(QString(1'000'000, u'\x01'));
    const auto m = viewer.Receive();
    ASSERT_TRUE(m);
    EXPECT_EQ(m->text.size(), TCodeSiteLogger::MaxTextLength + 6);
    EXPECT_TRUE(m->text.endsWith(QStringLiteral(" [cut]")));
}

TEST(TCodeSiteLogger, DefaultPathFollowsTheEnvironment)
{
    const QByteArray old = qgetenv("VANT_LOGVIEW_SOCKET");
    qputenv("VANT_LOGVIEW_SOCKET", "/tmp/custom.sock");
    EXPECT_EQ(TCodeSiteLogger::DefaultSocketPath(), QStringLiteral("/tmp/custom.sock"));
    qunsetenv("VANT_LOGVIEW_SOCKET");
    EXPECT_EQ(TCodeSiteLogger::DefaultSocketPath(),
              QStringLiteral("/tmp/vant-logview-%1.sock").arg(::getuid()));
    if (!old.isNull())
        qputenv("VANT_LOGVIEW_SOCKET", old);
}

} // namespace
