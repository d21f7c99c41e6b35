#include "log/TCodeSiteLogger.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The real viewer program on a socket path; stopped on every way out.
class TViewerProcess
{
public:
    explicit TViewerProcess(const QString &socketPath)
    {
        FProcess.start(QStringLiteral(VANT_LOGVIEW_PROGRAM),
                       {QStringLiteral("--socket"), socketPath});
    }
    ~TViewerProcess()
    {
        if (FProcess.state() != QProcess::NotRunning) {
            FProcess.terminate();
            if (!FProcess.waitForFinished(5000))
                FProcess.kill();
        }
    }
    bool WaitUntilListening()
    {
        // waitForReadyRead watches the current read channel only.
        FProcess.setReadChannel(QProcess::StandardError);
        bool listening = false;
        while (!(listening = FProcess.readAll().contains("listening"))) {
            if (!FProcess.waitForReadyRead(5000))
                break;
        }
        FProcess.setReadChannel(QProcess::StandardOutput);
        return listening;
    }
    QByteArray ReadLine()
    {
        while (!FProcess.canReadLine()) {
            if (!FProcess.waitForReadyRead(5000))
                return {};
        }
        return FProcess.readLine();
    }

    QProcess FProcess;
};

// Leaves a socket file behind, as a viewer that died would.
void MakeStaleSocket(const QString &path)
{
    const QByteArray bytes = path.toLocal8Bit();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, bytes.constData(), static_cast<size_t>(bytes.size()));
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof(address)), 0);
    ::close(fd);
}

TEST(LogViewTool, ReplacesAStaleSocketPrintsEachMessageAndCleansUp)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("view.sock"));
    MakeStaleSocket(path);
    TViewerProcess viewer(path);
    ASSERT_TRUE(viewer.WaitUntilListening());

    TCodeSiteLogger logger(path);
    logger.Send(QStringLiteral("info::hello 100%"));
    logger.EnterMethod(QStringLiteral("Click"));
    const QByteArray pid = QByteArray::number(::getpid());
    EXPECT_EQ(viewer.ReadLine(), "[pid " + pid + "] info::hello 100%\n");
    EXPECT_EQ(viewer.ReadLine(), "[pid " + pid + "] -> Click\n");

    viewer.FProcess.terminate();
    ASSERT_TRUE(viewer.FProcess.waitForFinished(5000));
    EXPECT_EQ(viewer.FProcess.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(viewer.FProcess.exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(LogViewTool, LeavesALiveViewerAndOtherFilesAlone)
{
    QTemporaryDir dir;
    const QString live = dir.filePath(QStringLiteral("view.sock"));
    TViewerProcess first(live);
    ASSERT_TRUE(first.WaitUntilListening());

    const QString plain = dir.filePath(QStringLiteral("notes.txt"));
    {
        QFile f(plain);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep me");
    }
    for (const QString &path : {live, plain}) {
        SCOPED_TRACE(path.toStdString());
        TViewerProcess second(path);
        ASSERT_TRUE(second.FProcess.waitForFinished(5000));
        EXPECT_EQ(second.FProcess.exitCode(), 1);
        EXPECT_TRUE(QFileInfo::exists(path));
    }

    TCodeSiteLogger(live).Send(QStringLiteral("still here"));
    EXPECT_TRUE(first.ReadLine().endsWith("] still here\n"));
}

} // namespace
