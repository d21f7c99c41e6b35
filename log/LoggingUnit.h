// The one logger of the client: class-level state, never instantiated.
// Every message that passes the severity filter becomes a formatted line in
// the bounded Lines list (and, when switched on, goes to a listener and a
// file), a message for the live log viewer, and a line of debug output.
// Calls may come from any thread; they are serialised.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

class QObject;

enum class TLogSeverity : std::uint8_t { fatal, error, info, debug, debug2 };

// Receives every formatted log line while the listener is switched on.
class TLogListener
{
public:
    virtual ~TLogListener() = default;
    virtual void Log(const QString &line) = 0;
};

class TLogging
{
public:
    TLogging() = delete;

    static void Send(const QString &mess, TLogSeverity severity);
    static void Send(const QString &mess, const QObject *instance, TLogSeverity severity);
    static void LogE(const QString &mess);
    static void LogI(const QString &mess);
    static void LogD(const QString &mess);
    static void EnterMethod(const QString &methodName);
    static void ExitMethod(const QString &methodName);
    static void AppendStrToFile(const QString &sourceString);

    // Class-level settings and state (copies are returned: the state is shared
    // between threads).
    static QString Prefix();
    static void SetPrefix(const QString &prefix);
    static TLogSeverity LogLevel();
    static void SetLogLevel(TLogSeverity level);
    static int MaxLines();
    static void SetMaxLines(int maxLines);
    static bool CodeSiteEnabled();
    static void SetCodeSiteEnabled(bool enabled);
    static bool FileEnabled();
    static void SetFileEnabled(bool enabled);
    static QString FileName();
    static void SetFileName(const QString &fileName);
    static bool ListenerEnabled();
    static void SetListenerEnabled(bool enabled);
    static TLogListener *Listener();
    // The listener is called after the logger's lock is released (it may
    // log again); it must outlive its registration and any call in flight.
    static void SetListener(TLogListener *listener);
    static QStringList Lines();
    static QStringList MethodStack();

    // The debug log: per-process diagnostic output (standard error by
    // default). Tests replace it to see what is written there.
    using DebugSink = std::function<void(const QString &)>;
    static void SetDebugSink(DebugSink sink);

    // Back to the state the program starts with (tests use it between cases).
    static void ResetForTests();

private:
    static void WriteLine(const QString &text);
};
