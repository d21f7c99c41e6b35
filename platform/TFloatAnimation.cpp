#include "platform/TFloatAnimation.h"

#include <QMetaObject>

TFloatAnimation::TFloatAnimation(QObject *Animation)
    : FAnimation(Animation), FStartValue(Animation->property("from")), FStopValue(Animation->property("to"))
{
}

void TFloatAnimation::Start()
{
    if (!FAnimation)
        return;
    FAnimation->setProperty("from", FInverse ? FStopValue : FStartValue);
    FAnimation->setProperty("to", FInverse ? FStartValue : FStopValue);
    QMetaObject::invokeMethod(FAnimation, "restart");
}

void TFloatAnimation::Stop()
{
    if (FAnimation)
        QMetaObject::invokeMethod(FAnimation, "stop");
}

bool TFloatAnimation::Running() const
{
    return FAnimation && FAnimation->property("running").toBool();
}

void TFloatAnimation::Complete()
{
    if (Running())
        QMetaObject::invokeMethod(FAnimation, "complete");
}
