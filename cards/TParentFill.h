// Keeps an item at its parent's top left corner and at its parent's size,
// following the parent's later width and height changes.
#pragma once

#include <QMetaObject>

class QQuickItem;

class TParentFill
{
public:
    TParentFill() = default;
    TParentFill(const TParentFill &) = delete;
    TParentFill &operator=(const TParentFill &) = delete;
    ~TParentFill();

    // Stops following the previous parent; a null parent stops following.
    void Follow(QQuickItem *item, QQuickItem *parent);

private:
    void Stop();

    QMetaObject::Connection FWidth;
    QMetaObject::Connection FHeight;
};
