#include "log/LoggingUnit.h"
#include "log/TCodeSiteLogger.h"
#include "QtPrinters.h"
#include "TViewerSocket.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace {

QString TimeText(const QDateTime &t)
{
    const QLocale locale = QLocale::system();
    return locale.toString(t.date(), QLocale::ShortFormat) + u' '
        + locale.toString(t.time(), QLocale::LongFormat);
}

// Fresh logger state, debug output captured, CodeSite aimed at a test viewer.
class LoggingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TLogging::ResetForTests();
        FOldViewerPath = CodeSite().SocketPath();
        CodeSite().SetSocketPath(FViewer.Path());
        TLogging::SetDebugSink([this](const QString &text) {
            std::lock_guard lock(FDebugMutex);
            FDebug << text;
        });
    }
    void TearDown() override
    {
        TLogging::ResetForTests();
        CodeSite().SetSocketPath(FOldViewerPath);
    }

    QStringList Debug()
    {
        std::lock_guard lock(FDebugMutex);
        return FDebug;
    }
    QString NextViewerText()
    {
        const auto m = FViewer.Receive();
        return m ? m->text : QStringLiteral("<nothing>");
    }

    TViewerSocket FViewer;
    QString FOldViewerPath;
    std::mutex FDebugMutex;
    QStringList FDebug;
};

struct TFilterCase
{
    TLogSeverity level;
    TLogSeverity severity;
    const char *viewerTag; // nullptr: the message is dropped everywhere
    bool toDebug;
};

TEST_F(LoggingTest, SeverityFilterDecidesEveryOutput)
{
    const TFilterCase cases[] = {
        {TLogSeverity::info, TLogSeverity::fatal, "fatal:", true},
        {TLogSeverity::info, TLogSeverity::error, "error:", true},
        {TLogSeverity::info, TLogSeverity::info, "info:", true},
        {TLogSeverity::info, TLogSeverity::debug, nullptr, false},
        {TLogSeverity::info, TLogSeverity::debug2, nullptr, false},
        {TLogSeverity::debug2, TLogSeverity::debug, "debug:", true},
        {TLogSeverity::debug2, TLogSeverity::debug2, "debug2:", false},
        {TLogSeverity::fatal, TLogSeverity::error, nullptr, false},
    };
    for (const TFilterCase &c : cases) {
        SCOPED_TRACE(::testing::Message() << "level " << int(c.level) << " severity "
                                          << int(c.severity));
        TLogging::ResetForTests();
        TLogging::SetDebugSink([this](const QString &text) { FDebug << text; });
        FDebug.clear();
        TLogging::SetLogLevel(c.level);
        TLogging::SetPrefix(QStringLiteral("Anna"));

        TLogging::Send(QStringLiteral("m"), c.severity);
        // A fatal message always passes; it shows whether "m" reached the
        // viewer before it, without waiting for a message that never comes.
        TLogging::Send(QStringLiteral("end"), TLogSeverity::fatal);

        if (c.viewerTag) {
            EXPECT_EQ(NextViewerText(), QString::fromLatin1(c.viewerTag) + QStringLiteral("Anna:m"));
            EXPECT_EQ(TLogging::Lines().size(), 2);
        } else {
            EXPECT_EQ(TLogging::Lines().size(), 1);
        }
        EXPECT_EQ(NextViewerText(), QStringLiteral("fatal:Anna:end"));
        EXPECT_EQ(FDebug.contains(QStringLiteral("Anna:m")), c.toDebug);
    }
}

TEST_F(LoggingTest, LineHoldsTimeMethodStackPrefixAndText)
{
    TLogging::SetPrefix(QStringLiteral("Anna"));
    const QDateTime before = QDateTime::currentDateTime();
    TLogging::LogI(QStringLiteral("hello"));
    const QDateTime after = QDateTime::currentDateTime();

    const QStringList lines = TLogging::Lines();
    ASSERT_EQ(lines.size(), 1);
    const QString tail = QStringLiteral(": Start->Anna:hello");
    ASSERT_TRUE(lines[0].endsWith(tail)) << lines[0].toStdString();
    const QString time = lines[0].chopped(tail.size());
    EXPECT_TRUE(time == TimeText(before) || time == TimeText(after)) << time.toStdString();
    EXPECT_EQ(NextViewerText(), QStringLiteral("info:Anna:hello"));
    EXPECT_EQ(Debug(), QStringList{QStringLiteral("Anna:hello")});
}

TEST_F(LoggingTest, EmptyPrefixStillWritesTheColon)
{
    TLogging::LogI(QStringLiteral("text"));
    EXPECT_EQ(NextViewerText(), QStringLiteral("info::text"));
    EXPECT_EQ(Debug(), QStringList{QStringLiteral(":text")});
    EXPECT_TRUE(TLogging::Lines().value(0).endsWith(QStringLiteral(": Start->:text")));
}

TEST_F(LoggingTest, CodeSiteSwitchedOffSilencesViewerAndDebugOnly)
{
    TLogging::SetCodeSiteEnabled(false);
    TLogging::LogI(QStringLiteral("quiet"));
    TLogging::EnterMethod(QStringLiteral("M"));
    TLogging::SetCodeSiteEnabled(true);
    TLogging::LogI(QStringLiteral("loud"));
    EXPECT_EQ(NextViewerText(), QStringLiteral("info::loud"));
    EXPECT_EQ(Debug(), QStringList{QStringLiteral(":loud")});
    EXPECT_EQ(TLogging::Lines().size(), 2);
}

class TRecordingListener : public TLogListener
{
public:
    void Log(const QString &line) override { FLines << line; }
    QStringList FLines;
};

TEST_F(LoggingTest, PercentPassesUnchangedToEveryOutput)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("log.txt"));
    TRecordingListener listener;
    TLogging::SetListener(&listener);
    TLogging::SetListenerEnabled(true);
    TLogging::SetFileName(file);
    TLogging::SetFileEnabled(true);

    const QString mess = QStringLiteral("100% %s %1 %d %%");
    TLogging::LogI(mess);

    EXPECT_EQ(NextViewerText(), QStringLiteral("info::") + mess);
    EXPECT_EQ(Debug(), QStringList{u':' + mess});
    EXPECT_TRUE(TLogging::Lines().value(0).endsWith(QStringLiteral("->:") + mess));
    EXPECT_TRUE(listener.FLines.value(0).endsWith(QStringLiteral("->:") + mess));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().endsWith((QStringLiteral("->:") + mess).toUtf8() + "\r\n"));
}

TEST_F(LoggingTest, LinesKeepTheNewestMaxLines)
{
    for (int i = 1; i <= 1001; ++i)
        TLogging::LogI(QString::number(i));
    QStringList lines = TLogging::Lines();
    ASSERT_EQ(lines.size(), 1000);
    EXPECT_TRUE(lines.first().endsWith(QStringLiteral("->:2")));
    EXPECT_TRUE(lines.last().endsWith(QStringLiteral("->:1001")));

    // Lowering the bound evicts one line per call, not all at once.
    TLogging::SetMaxLines(10);
    TLogging::LogI(QStringLiteral("x"));
    lines = TLogging::Lines();
    EXPECT_EQ(lines.size(), 1000);
    EXPECT_TRUE(lines.first().endsWith(QStringLiteral("->:3")));
}

TEST_F(LoggingTest, ExitMethodPopsWithoutComparingUntilEmpty)
{
    TLogging::EnterMethod(QStringLiteral("Outer"));
    TLogging::ExitMethod(QStringLiteral("NotOuter"));
    EXPECT_EQ(TLogging::MethodStack(), QStringList{QStringLiteral("Start")});
    TLogging::ExitMethod(QStringLiteral("Start"));
    TLogging::ExitMethod(QStringLiteral("again"));
    EXPECT_TRUE(TLogging::MethodStack().isEmpty());

    TLogging::LogI(QStringLiteral("text"));
    const QString line = TLogging::Lines().value(0);
    EXPECT_TRUE(line.endsWith(QStringLiteral(": ->:text"))) << line.toStdString();

    const QString expected[] = {QStringLiteral("Outer"), QStringLiteral("NotOuter"),
                                QStringLiteral("Start"), QStringLiteral("again")};
    const TLogViewMessage::TKind kinds[] = {
        TLogViewMessage::TKind::enter, TLogViewMessage::TKind::exit,
        TLogViewMessage::TKind::exit, TLogViewMessage::TKind::exit};
    for (int i = 0; i < 4; ++i) {
        const auto m = FViewer.Receive();
        ASSERT_TRUE(m);
        EXPECT_EQ(m->kind, kinds[i]);
        EXPECT_EQ(m->text, expected[i]);
    }
}

TEST_F(LoggingTest, MethodStackIsWrittenAsCommaText)
{
    const struct
    {
        QString entry;
        QString written;
    } cases[] = {
        {QStringLiteral("Click"), QStringLiteral("Click")},
        {QStringLiteral("Form Show"), QStringLiteral("\"Form Show\"")},
        {QStringLiteral("a,b"), QStringLiteral("\"a,b\"")},
        {QStringLiteral("say \"hi\""), QStringLiteral("\"say \"\"hi\"\"\"")},
        {QStringLiteral("tab\there"), QStringLiteral("\"tab\there\"")},
        {QString(), QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.entry.toStdString());
        TLogging::EnterMethod(c.entry);
        TLogging::LogI(QStringLiteral("x"));
        TLogging::ExitMethod(c.entry);
        const QString line = TLogging::Lines().last();
        EXPECT_TRUE(line.endsWith(QStringLiteral(": Start,") + c.written + QStringLiteral("->:x")))
            << line.toStdString();
    }
}

// Logs again from inside the listener: the logger must not hold its lock
// while it calls out.
class TReenteringListener : public TLogListener
{
public:
    void Log(const QString &line) override
    {
        FLines << line;
        if (FLines.size() == 1)
            TLogging::LogI(QStringLiteral("from listener"));
    }
    QStringList FLines;
};

TEST_F(LoggingTest, ListenerGetsEachLineAndMayLogAgain)
{
    TReenteringListener listener;
    TLogging::SetListener(&listener);
    TLogging::LogI(QStringLiteral("off"));
    EXPECT_TRUE(listener.FLines.isEmpty());

    TLogging::SetListenerEnabled(true);
    TLogging::LogI(QStringLiteral("on"));
    ASSERT_EQ(listener.FLines.size(), 2);
    EXPECT_TRUE(listener.FLines[0].endsWith(QStringLiteral("->:on")));
    EXPECT_TRUE(listener.FLines[1].endsWith(QStringLiteral("->:from listener")));

    TLogging::SetListener(nullptr);
    TLogging::LogI(QStringLiteral("no listener set"));
    EXPECT_EQ(TLogging::Lines().size(), 4);
}

TEST_F(LoggingTest, DebugSinkMayLogAgain)
{
    bool inner = false;
    TLogging::SetDebugSink([&](const QString &) {
        if (!std::exchange(inner, true))
            TLogging::LogI(QStringLiteral("from sink"));
    });
    TLogging::LogI(QStringLiteral("outer"));
    EXPECT_EQ(TLogging::Lines().size(), 2);
}

TEST_F(LoggingTest, FileGetsEachLineAppendedWithCrLf)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("client.log"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("earlier\r\n");
    }
    TLogging::SetFileName(file);
    TLogging::LogI(QStringLiteral("not yet"));
    TLogging::SetFileEnabled(true);
    TLogging::LogI(QStringLiteral("één"));
    TLogging::LogI(QStringLiteral("two"));

    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> parts = f.readAll().split('\n');
    ASSERT_EQ(parts.size(), 4); // three lines and the empty rest after the last
    EXPECT_EQ(parts[0], "earlier\r");
    const QStringList lines = TLogging::Lines();
    EXPECT_EQ(parts[1], lines[1].toLocal8Bit() + '\r');
    EXPECT_EQ(parts[2], lines[2].toLocal8Bit() + '\r');
    EXPECT_TRUE(parts[3].isEmpty());
}

TEST_F(LoggingTest, FileFailureIsOneDebugLineNotAnException)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("missing-folder/client.log"));
    TLogging::SetFileName(file);
    TLogging::SetFileEnabled(true);

    EXPECT_NO_THROW(TLogging::LogI(QStringLiteral("x")));

    EXPECT_EQ(TLogging::Lines().size(), 1);
    const QStringList debug = Debug();
    // The failure comes first: the line is written before the debug output.
    ASSERT_EQ(debug.size(), 2);
    EXPECT_TRUE(debug[0].contains(file)) << debug[0].toStdString();
    EXPECT_EQ(debug[1], QStringLiteral(":x"));
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(LoggingTest, AppendStrToFileDoesNothingWhileFileIsOff)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("client.log"));
    TLogging::SetFileName(file);
    TLogging::AppendStrToFile(QStringLiteral("line"));
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(LoggingTest, ObjectSendShowsObjectHonoursFilterAndSkipsDebug)
{
    QTimer timer;
    timer.setObjectName(QStringLiteral("clock"));
    TLogging::SetPrefix(QStringLiteral("Anna"));
    TLogging::Send(QStringLiteral("dropped"), &timer, TLogSeverity::debug);
    TLogging::Send(QStringLiteral("tick"), &timer, TLogSeverity::info);

    const auto m = FViewer.Receive();
    ASSERT_TRUE(m);
    EXPECT_EQ(m->text, QStringLiteral("info:Anna:tick"));
    EXPECT_TRUE(m->hasObject);
    EXPECT_EQ(m->objectClass, QStringLiteral("QTimer"));
    EXPECT_EQ(m->objectName, QStringLiteral("clock"));
    EXPECT_TRUE(Debug().isEmpty());
    ASSERT_EQ(TLogging::Lines().size(), 1);
    EXPECT_TRUE(TLogging::Lines()[0].endsWith(QStringLiteral("->Anna:tick")));
}

TEST_F(LoggingTest, SeveralThreadsLogWithoutLoss)
{
    constexpr int Threads = 8;
    constexpr int PerThread = 300;
    TLogging::SetMaxLines(Threads * PerThread);
    std::atomic<int> debugCount{0};
    TLogging::SetDebugSink([&](const QString &) { ++debugCount; });
    std::vector<std::thread> threads;
    for (int t = 0; t < Threads; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < PerThread; ++i) {
                TLogging::EnterMethod(QStringLiteral("T%1").arg(t));
                TLogging::LogI(QStringLiteral("%1/%2").arg(t).arg(i));
                TLogging::SetPrefix(QStringLiteral("P%1").arg(t));
                TLogging::ExitMethod(QString());
            }
        });
    }
    for (std::thread &t : threads)
        t.join();

    const QStringList lines = TLogging::Lines();
    EXPECT_EQ(lines.size(), Threads * PerThread);
    EXPECT_EQ(debugCount.load(), Threads * PerThread);
    EXPECT_EQ(TLogging::MethodStack(), QStringList{QStringLiteral("Start")});
    for (int t = 0; t < Threads; ++t) {
        const QString last = QStringLiteral(":%1/%2").arg(t).arg(PerThread - 1);
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                [&](const QString &l) { return l.endsWith(last); }),
                  1);
    }
}

} // namespace
