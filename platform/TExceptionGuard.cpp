#include "platform/TExceptionGuard.h"

#include "log/LoggingUnit.h"

#include <QMetaObject>
#include <QPointer>
#include <stdexcept>

namespace {

TExceptionGuard::ExceptionHandler &InstalledHandler()
{
    static TExceptionGuard::ExceptionHandler handler;
    return handler;
}

void Deliver(QObject *Sender, const std::exception &E) noexcept
{
    try {
        if (const auto &handler = InstalledHandler())
            handler(Sender, E);
        else if (Sender)
            TLogging::Send(QStringLiteral("Unhandled exception in %1: %2")
                               .arg(TExceptionGuard::ClassNameOf(Sender), QString::fromUtf8(E.what())),
                           TLogSeverity::info);
        else
            TLogging::Send(QStringLiteral("Unhandled exception: %1").arg(QString::fromUtf8(E.what())),
                           TLogSeverity::info);
    } catch (...) {
        // The handler itself failed; there is nobody left to tell.
    }
}

} // namespace

void TExceptionGuard::Run(QObject *Sender, const std::function<void()> &Body) noexcept
{
    // The sender may be destroyed by the body (a control freed by its own
    // click); only a live one is reported.
    QPointer<QObject> sender(Sender);
    try {
        Body();
    } catch (const std::exception &e) {
        Deliver(sender.data(), e);
    } catch (...) {
        Deliver(sender.data(), std::runtime_error("unknown exception"));
    }
}

QString TExceptionGuard::ClassNameOf(const QObject *Sender)
{
    if (!Sender)
        return {};
    const QMetaObject *meta = Sender->metaObject();
    while (meta->superClass() && QByteArray(meta->className()).contains("_QML"))
        meta = meta->superClass();
    return QString::fromLatin1(meta->className());
}

TExceptionGuard::THandlerScope::THandlerScope(ExceptionHandler Handler)
    : FPrevious(std::exchange(InstalledHandler(), std::move(Handler)))
{
}

TExceptionGuard::THandlerScope::~THandlerScope()
{
    InstalledHandler() = std::move(FPrevious);
}
