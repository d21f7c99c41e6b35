// A row of cards (the hand, or the cards in play). It keeps one card widget
// per card index, refills them by mark and sweep, lays them out left to right
// at a size derived from its own, and answers the hit tests of drag and drop.
// It fills its parent and takes pointer input anywhere in its area.
#pragma once

#include "cards/TParentFill.h"
#include "cards/UnitCardImage.h"

#include <QList>
#include <QPointF>
#include <QQuickItem>
#include <functional>

class TImageList;

class TCardHandLayout : public QQuickItem
{
    Q_OBJECT

public:
    using TMouseEvent = std::function<void(QObject *sender, Qt::MouseButton button,
                                           Qt::KeyboardModifiers shift, float x, float y)>;
    using TMouseMoveEvent = std::function<void(QObject *sender, Qt::KeyboardModifiers shift, float x, float y)>;

    explicit TCardHandLayout(QQuickItem *parent = nullptr);

    void AddCard(int ACardIndex);
    void AddDeadCard(int ACardIndex, int AKillCardIndex);
    // Cards leave a row only through EndDataUpdate.
    void RemoveCard(int ACardIndex);
    TCardLayout *FindCard(int ACardIndex) const;
    // A new widget owned by the row but not one of its children.
    TCardLayout *CreateCard(int CardIndex);
    QImage GetCardImage(int CardIndex) const;
    static int TranslateIndexForImage(int ACardIndex);

    void StartDataUpdate();
    void EndDataUpdate();
    void LayoutCards();

    // Throws std::out_of_range for a position outside the children.
    TCardLayout *CardAtIndex(int AIndex) const;
    // Positions of the widgets containing the point (row coordinates).
    QList<int> CardAtPoint(QPointF Point) const;
    // Positions of the widgets that a card placed in window coordinates overlaps.
    QList<int> CardTouches(const TCard *ACard) const;

    bool NamesVisible() const { return FNamesVisible; }
    void SetNamesVisible(bool value);
    TImageList *ImageListCards() const { return FImageListCards; }
    void SetImageListCards(TImageList *value) { FImageListCards = value; }
    float CardWidth() const { return FCardWidth; }
    void SetCardWidth(float value) { FCardWidth = value; }
    float CardHeight() const { return FCardHeight; }
    void SetCardHeight(float value) { FCardHeight = value; }

    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

protected:
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;
    void itemChange(ItemChange change, const ItemChangeData &value) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hoverMoveEvent(QHoverEvent *event) override;

private:
    QList<TCardLayout *> Cards() const;
    TCardLayout *EnsureCard(int ACardIndex);

    TImageList *FImageListCards = nullptr;
    float FCardHeight = 150.0f;
    float FCardWidth = 100.0f;
    bool FNamesVisible = false;
    TParentFill FParentFill;
};
