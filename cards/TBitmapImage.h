// An image control: draws its Bitmap fitted into its bounds, keeping the
// picture's proportions and centred. Takes no pointer input, so presses fall
// through to the item beneath.
#pragma once

#include <QImage>
#include <QQuickPaintedItem>

class TBitmapImage : public QQuickPaintedItem
{
    Q_OBJECT
    Q_PROPERTY(QImage bitmap READ Bitmap WRITE SetBitmap NOTIFY bitmapChanged)

public:
    explicit TBitmapImage(QQuickItem *parent = nullptr);

    QImage Bitmap() const { return FBitmap; }
    void SetBitmap(const QImage &image);

    void paint(QPainter *painter) override;

signals:
    void bitmapChanged();

private:
    QImage FBitmap;
};
