// The application-wide exception event. Qt has no such thing: an exception
// must never unwind into the event loop or the QML engine, so every handler,
// timer tick and queued procedure runs its body through Run, which hands an
// escaping exception to the installed handler exactly once and returns.
#pragma once

#include <QObject>
#include <exception>
#include <functional>

class TExceptionGuard
{
public:
    // Receives the object on whose behalf the failing code ran (null for a
    // queued procedure) and the exception.
    using ExceptionHandler = std::function<void(QObject *Sender, const std::exception &E)>;

    TExceptionGuard() = delete;

    // Runs Body; nothing escapes. Without an installed handler the failure
    // is logged with a plain line, so it is never lost.
    static void Run(QObject *Sender, const std::function<void()> &Body) noexcept;

    // The class name a log line shows for Sender: the C++ class of the
    // object, or of the C++ type a QML component is built on (QML makes
    // unreadable names like "QQuickItem_QML_12" for its own types).
    static QString ClassNameOf(const QObject *Sender);

    // Installs a handler for the scope's lifetime and puts the previous one
    // back on every way out, so no handler outlives its owner.
    class THandlerScope
    {
    public:
        explicit THandlerScope(ExceptionHandler Handler);
        ~THandlerScope();
        THandlerScope(const THandlerScope &) = delete;
        THandlerScope &operator=(const THandlerScope &) = delete;

    private:
        ExceptionHandler FPrevious;
    };
};
