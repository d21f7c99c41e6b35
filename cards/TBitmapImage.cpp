#include "cards/TBitmapImage.h"

#include <QPainter>

TBitmapImage::TBitmapImage(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAcceptedMouseButtons(Qt::NoButton);
    setAcceptTouchEvents(false);
    setAcceptHoverEvents(false);
}

void TBitmapImage::SetBitmap(const QImage &image)
{
    FBitmap = image;
    update();
    emit bitmapChanged();
}

void TBitmapImage::paint(QPainter *painter)
{
    if (FBitmap.isNull() || width() <= 0 || height() <= 0)
        return;
    QSizeF fitted = QSizeF(FBitmap.size()).scaled(size(), Qt::KeepAspectRatio);
    const QRectF target(QPointF((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(target, FBitmap);
}
