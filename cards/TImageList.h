// A list of SVG pictures rendered on request at an exact pixel size. It serves
// the 52 card faces and the 19 avatars.
#pragma once

#include <map>
#include <QImage>
#include <QSizeF>
#include <QStringList>
#include <tuple>

class TImageList
{
public:
    explicit TImageList(QStringList paths);

    int Count() const;
    // The entry rendered at the size rounded to whole pixels, cached per
    // (index, size). A null image for an index without a picture, an empty
    // size or a file that does not render.
    QImage Bitmap(int index, QSizeF size) const;

private:
    using Key = std::tuple<int, int, int>;
    QStringList FPaths;
    mutable std::map<Key, QImage> FCache;
};

// The card faces, in the order c01..c13, d01..d13, h01..h13, s01..s13.
QStringList CardImagePaths();
// The avatars avatar00..avatar18.
QStringList AvatarImagePaths();
