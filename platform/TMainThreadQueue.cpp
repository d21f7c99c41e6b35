#include "platform/TMainThreadQueue.h"

#include "platform/TExceptionGuard.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

void TMainThreadQueue::Queue(Procedure Proc)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    // Posted events to one receiver are delivered in posting order.
    QMetaObject::invokeMethod(
        app, [proc = std::move(Proc)] { TExceptionGuard::Run(nullptr, proc); }, Qt::QueuedConnection);
}

bool TMainThreadQueue::IsMainThread()
{
    const QCoreApplication *app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}
