// Drives a QML NumberAnimation of the window (FloatAnimationRotateCards,
// FloatAnimationShowStatus): start it forwards, or backwards when Inverse
// is set, as the toolkit's float animation does.
#pragma once

#include <QObject>
#include <QPointer>
#include <QVariant>

class TFloatAnimation
{
public:
    TFloatAnimation() = default;
    // Remembers the animation's design start and stop values.
    explicit TFloatAnimation(QObject *Animation);

    bool Inverse() const { return FInverse; }
    void SetInverse(bool Inverse) { FInverse = Inverse; }

    // Runs from start to stop value (stop to start when inverse).
    void Start();
    void Stop();
    // Stops a running animation at its end value, as if it had run out.
    void Complete();
    bool Running() const;
    QObject *Animation() const { return FAnimation; }

private:
    QPointer<QObject> FAnimation;
    QVariant FStartValue;
    QVariant FStopValue;
    bool FInverse = false;
};
