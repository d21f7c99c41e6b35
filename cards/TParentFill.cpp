#include "cards/TParentFill.h"

#include <QObject>
#include <QQuickItem>

TParentFill::~TParentFill()
{
    Stop();
}

void TParentFill::Stop()
{
    QObject::disconnect(FWidth);
    QObject::disconnect(FHeight);
}

void TParentFill::Follow(QQuickItem *item, QQuickItem *parent)
{
    Stop();
    if (parent == nullptr)
        return;
    FWidth = QObject::connect(parent, &QQuickItem::widthChanged, item, [item, parent] { item->setWidth(parent->width()); });
    FHeight = QObject::connect(parent, &QQuickItem::heightChanged, item, [item, parent] { item->setHeight(parent->height()); });
    item->setPosition(QPointF(0, 0));
    item->setSize(parent->size());
}
