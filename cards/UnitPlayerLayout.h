// The row of the other players: a grid of equal cells ItemWidth x ItemHeight
// filled left to right from the top left, wrapping when the next cell would
// pass the right edge. It holds one TFramePlayer per player, refilled by mark
// and sweep, and fills its parent.
#pragma once

#include "cards/TParentFill.h"

#include <QQuickItem>
#include <QString>

class QQmlEngine;
class TFramePlayer;
class TImageList;

class TPlayerLayout : public QQuickItem
{
    Q_OBJECT

public:
    // The engine creates the frames' QML layout; it must outlive the row.
    explicit TPlayerLayout(QQmlEngine *engine, QQuickItem *parent = nullptr);

    void StartDataUpdate();
    void UpdatePlayer(const QString &AName, const QString &ANumCards);
    void EndDataUpdate();
    // The frame whose name matches ignoring case, or nullptr.
    TFramePlayer *FindPlayer(const QString &AName) const;

    QString CurrentPlayer() const { return FCurrentPlayer; }
    void SetCurrentPlayer(const QString &value) { FCurrentPlayer = value; }
    float ItemWidth() const { return FItemWidth; }
    void SetItemWidth(float value);
    float ItemHeight() const { return FItemHeight; }
    void SetItemHeight(float value);
    // The avatars given to new frames; by default the program's 19 avatars.
    const TImageList *ImageListIcons() const { return FImageListIcons; }
    void SetImageListIcons(const TImageList *value) { FImageListIcons = value; }

    QList<TFramePlayer *> Frames() const;

protected:
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;
    void itemChange(ItemChange change, const ItemChangeData &value) override;

private:
    void LayoutCells();
    QString UniqueFrameName(const QString &AName) const;

    QQmlEngine *FEngine;
    const TImageList *FImageListIcons;
    QString FCurrentPlayer;
    float FItemWidth = 0.0f;
    float FItemHeight = 0.0f;
    TParentFill FParentFill;
};
