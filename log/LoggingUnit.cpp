#include "log/LoggingUnit.h"

#include "log/TCodeSiteLogger.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>

#include <cstdio>
#include <mutex>

namespace {

void WriteToStandardError(const QString &text)
{
    // Written as it is: no pattern expansion, so "%" passes unchanged.
    const QByteArray bytes = text.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

// The settings and state with the values the program starts with.
struct TLoggingValues
{
    QStringList methodStack{QStringLiteral("Start")};
    int maxLines = 1000;
    bool codeSiteEnabled = true;
    TLogSeverity logLevel = TLogSeverity::info;
    bool fileEnabled = false;
    bool listenerEnabled = false;
    QStringList lines;
    TLogListener *listener = nullptr;
    QString fileName;
    QString prefix;
    TLogging::DebugSink debugSink = WriteToStandardError;
};

struct TLoggingState
{
    std::mutex mutex; // guards v
    TLoggingValues v;
    // Only AppendStrToFile takes it, so lines from several threads stay whole
    // without holding the state lock during file input and output.
    std::mutex fileMutex;
};

TLoggingState &State()
{
    // Never destroyed: objects destroyed at program end may still log.
    static TLoggingState *const state = new TLoggingState;
    return *state;
}

QString SeverityTag(TLogSeverity severity)
{
    switch (severity) {
    case TLogSeverity::fatal: return QStringLiteral("fatal:");
    case TLogSeverity::error: return QStringLiteral("error:");
    case TLogSeverity::info: return QStringLiteral("info:");
    case TLogSeverity::debug: return QStringLiteral("debug:");
    case TLogSeverity::debug2: return QStringLiteral("debug2:");
    }
    return {};
}

bool NeedsQuotes(const QString &entry)
{
    for (QChar c : entry) {
        if (c <= QChar(u' ') || c == u',' || c == u'"')
            return true;
    }
    return false;
}

QString CommaText(const QStringList &entries)
{
    QStringList parts;
    parts.reserve(entries.size());
    for (const QString &entry : entries) {
        if (NeedsQuotes(entry)) {
            QString inner = entry;
            inner.replace(u'"', QStringLiteral("\"\""));
            parts << u'"' + inner + u'"';
        } else {
            parts << entry;
        }
    }
    return parts.join(u',');
}

QString NowText()
{
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    return locale.toString(now.date(), QLocale::ShortFormat) + u' '
        + locale.toString(now.time(), QLocale::LongFormat);
}

bool Passes(const TLoggingValues &v, TLogSeverity severity)
{
    return static_cast<int>(severity) <= static_cast<int>(v.logLevel);
}

} // namespace

// Both Send variants hold the lock only while the shared state changes; the
// listener, the file, CodeSite and the debug sink are called after it is
// released, so any of them may log again without deadlocking.
void TLogging::Send(const QString &mess, TLogSeverity severity)
{
    QString text;
    QString viewerText;
    bool codeSite = false;
    DebugSink sink;
    {
        TLoggingState &s = State();
        std::lock_guard lock(s.mutex);
        if (!Passes(s.v, severity))
            return;
        text = s.v.prefix + u':' + mess;
        viewerText = SeverityTag(severity) + text;
        codeSite = s.v.codeSiteEnabled;
        if (codeSite && severity != TLogSeverity::debug2)
            sink = s.v.debugSink;
    }
    WriteLine(text);
    if (codeSite)
        CodeSite().Send(viewerText);
    if (sink)
        sink(text);
}

// Filters and tags like the plain Send, so an object never carries a message
// past LogLevel; it writes no debug output.
void TLogging::Send(const QString &mess, const QObject *instance, TLogSeverity severity)
{
    QString text;
    bool codeSite = false;
    {
        TLoggingState &s = State();
        std::lock_guard lock(s.mutex);
        if (!Passes(s.v, severity))
            return;
        text = s.v.prefix + u':' + mess;
        codeSite = s.v.codeSiteEnabled;
    }
    WriteLine(text);
    if (codeSite)
        CodeSite().Send(SeverityTag(severity) + text, instance);
}

void TLogging::LogE(const QString &mess) { Send(mess, TLogSeverity::error); }
void TLogging::LogI(const QString &mess) { Send(mess, TLogSeverity::info); }
void TLogging::LogD(const QString &mess) { Send(mess, TLogSeverity::debug); }

void TLogging::EnterMethod(const QString &methodName)
{
    bool codeSite = false;
    {
        TLoggingState &s = State();
        std::lock_guard lock(s.mutex);
        s.v.methodStack.append(methodName);
        codeSite = s.v.codeSiteEnabled;
    }
    if (codeSite)
        CodeSite().EnterMethod(methodName);
}

void TLogging::ExitMethod(const QString &methodName)
{
    bool codeSite = false;
    {
        TLoggingState &s = State();
        std::lock_guard lock(s.mutex);
        // The name is not compared: an unmatched exit still pops.
        if (!s.v.methodStack.isEmpty())
            s.v.methodStack.removeLast();
        codeSite = s.v.codeSiteEnabled;
    }
    if (codeSite)
        CodeSite().ExitMethod(methodName);
}

void TLogging::AppendStrToFile(const QString &sourceString)
{
    TLoggingState &s = State();
    QString fileName;
    {
        std::lock_guard lock(s.mutex);
        if (!s.v.fileEnabled)
            return;
        fileName = s.v.fileName;
    }
    QString failure;
    {
        std::lock_guard fileLock(s.fileMutex);
        // Opened and closed for every line, so the file is complete after
        // each call; the folder is not created.
        QFile file(fileName);
        const QByteArray bytes = sourceString.toLocal8Bit() + "\r\n";
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
            failure = file.errorString();
        else if (file.write(bytes) != bytes.size() || !file.flush())
            failure = file.errorString();
    }
    if (failure.isEmpty())
        return;
    // A log file that cannot be written must not break the caller, and must
    // not log through Send again (that would try the same file).
    DebugSink sink;
    {
        std::lock_guard lock(s.mutex);
        sink = s.v.debugSink;
    }
    if (sink)
        sink(QStringLiteral("LoggingUnit: cannot append to log file \"%1\": %2")
                 .arg(fileName, failure));
}

void TLogging::WriteLine(const QString &text)
{
    TLoggingState &s = State();
    QString line;
    TLogListener *listener = nullptr;
    bool toFile = false;
    const QString now = NowText();
    {
        std::lock_guard lock(s.mutex);
        line = now + QStringLiteral(": ") + CommaText(s.v.methodStack) + QStringLiteral("->")
            + text;
        s.v.lines.append(line);
        if (s.v.listenerEnabled)
            listener = s.v.listener;
        toFile = s.v.fileEnabled && !s.v.fileName.isEmpty();
        // One eviction per call: lowering MaxLines shrinks the list gradually.
        if (s.v.lines.size() > s.v.maxLines)
            s.v.lines.removeFirst();
    }
    if (listener)
        listener->Log(line);
    if (toFile)
        AppendStrToFile(line);
}

namespace {

template <typename T>
T Get(T TLoggingValues::*member)
{
    TLoggingState &s = State();
    std::lock_guard lock(s.mutex);
    return s.v.*member;
}

template <typename T>
void Set(T TLoggingValues::*member, T value)
{
    TLoggingState &s = State();
    std::lock_guard lock(s.mutex);
    s.v.*member = std::move(value);
}

} // namespace

QString TLogging::Prefix() { return Get(&TLoggingValues::prefix); }
void TLogging::SetPrefix(const QString &prefix) { Set(&TLoggingValues::prefix, prefix); }
TLogSeverity TLogging::LogLevel() { return Get(&TLoggingValues::logLevel); }
void TLogging::SetLogLevel(TLogSeverity level) { Set(&TLoggingValues::logLevel, level); }
int TLogging::MaxLines() { return Get(&TLoggingValues::maxLines); }
void TLogging::SetMaxLines(int maxLines) { Set(&TLoggingValues::maxLines, maxLines); }
bool TLogging::CodeSiteEnabled() { return Get(&TLoggingValues::codeSiteEnabled); }
void TLogging::SetCodeSiteEnabled(bool enabled) { Set(&TLoggingValues::codeSiteEnabled, enabled); }
bool TLogging::FileEnabled() { return Get(&TLoggingValues::fileEnabled); }
void TLogging::SetFileEnabled(bool enabled) { Set(&TLoggingValues::fileEnabled, enabled); }
QString TLogging::FileName() { return Get(&TLoggingValues::fileName); }
void TLogging::SetFileName(const QString &fileName) { Set(&TLoggingValues::fileName, fileName); }
bool TLogging::ListenerEnabled() { return Get(&TLoggingValues::listenerEnabled); }
void TLogging::SetListenerEnabled(bool enabled) { Set(&TLoggingValues::listenerEnabled, enabled); }
TLogListener *TLogging::Listener() { return Get(&TLoggingValues::listener); }
void TLogging::SetListener(TLogListener *listener) { Set(&TLoggingValues::listener, listener); }
QStringList TLogging::Lines() { return Get(&TLoggingValues::lines); }
QStringList TLogging::MethodStack() { return Get(&TLoggingValues::methodStack); }

void TLogging::SetDebugSink(DebugSink sink)
{
    Set(&TLoggingValues::debugSink, std::move(sink));
}

void TLogging::ResetForTests()
{
    TLoggingState &s = State();
    std::lock_guard lock(s.mutex);
    s.v = TLoggingValues{};
}
