#include "cards/TImageList.h"

#include <QPainter>
#include <QSvgRenderer>

TImageList::TImageList(QStringList paths) : FPaths(std::move(paths)) {}

int TImageList::Count() const
{
    return static_cast<int>(FPaths.size());
}

QImage TImageList::Bitmap(int index, QSizeF size) const
{
    const QSize pixels = size.toSize();
    if (index < 0 || index >= Count() || pixels.isEmpty())
        return {};
    const Key key{index, pixels.width(), pixels.height()};
    if (const auto found = FCache.find(key); found != FCache.end())
        return found->second;

    QImage image;
    QSvgRenderer renderer(FPaths.at(index));
    if (renderer.isValid()) {
        image = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
    }
    FCache.emplace(key, image);
    return image;
}

QStringList CardImagePaths()
{
    QStringList paths;
    for (const QChar suit : QStringLiteral("cdhs"))
        for (int n = 1; n <= 13; ++n)
            paths << QStringLiteral(":/res/cards/%1%2.svg").arg(suit).arg(n, 2, 10, QLatin1Char('0'));
    return paths;
}

QStringList AvatarImagePaths()
{
    QStringList paths;
    for (int n = 0; n <= 18; ++n)
        paths << QStringLiteral(":/res/avatars/avatar%1.svg").arg(n, 2, 10, QLatin1Char('0'));
    return paths;
}
